#include "formula/FormulaCurve.h"

#include <optional>

#include "formula/CurveThroughPoints.h"
#include "formula/FormulaGenerators.h"
#include "frame/SystemVariables.h"

namespace veltrace {

std::vector<ZcDbObjectId> generateFormulaCurve(int entryIndex, int p1, int p2, int p3, int p4,
                                               const ZcGePoint3d& origin) {
  if (entryIndex < 0 || entryIndex >= kFormulaCurveCount) return {};
  // Only the parabola reads it; an unreadable variable (a negative answer) gives no points.
  const int surftab1 = entryIndex == 6 ? getSysVarIntOr(L"SURFTAB1") : 0;
  FormulaSamples samples = formulaCurveSamples(entryIndex, FormulaParameters{p1, p2, p3, p4}, surftab1);
  const ZcGeVector3d offset = origin.asVector();
  for (ZcGePoint3d& point : samples.points) point += offset;
  // No formula curve asks for end tangents: the builder estimates them.
  const std::optional<ZcDbObjectId> id =
      buildCurveThroughPoints(samples.points, colourForIndex(samples.colourIndex), samples.closed,
                              /*startTangent=*/ZcGeVector3d(), /*endTangent=*/ZcGeVector3d());
  if (!id) return {};
  return {*id};
}

}  // namespace veltrace
