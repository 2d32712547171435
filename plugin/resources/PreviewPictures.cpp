#include "resources/PreviewPictures.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

#include "formula/FormulaGenerators.h"
#include "resources/ResourceIds.h"
#include "zcad/ui/ZcUiSketch.h"

namespace veltrace::resources {

namespace {

constexpr double kMargin = 24.0;
// The SURFTAB1 the pictures are drawn with (the host's default).
constexpr int kPictureSurftab1 = 6;
// Curves that rise out of the plane are drawn in an oblique view: z goes up and to the right.
constexpr double kObliqueX = 0.35;
constexpr double kObliqueY = 0.5;

ZcUiSketch curveSketch(int entryIndex) {
  ZcUiSketch sketch;
  sketch.width = kPreviewPictureSize;
  sketch.height = kPreviewPictureSize;
  const FormulaSamples samples =
      formulaCurveSamples(entryIndex, formulaDefaultParameters(entryIndex), kPictureSurftab1);
  std::vector<ZcGePoint2d> plane;
  for (const ZcGePoint3d& p : samples.points)
    plane.emplace_back(p.x + kObliqueX * p.z, p.y + kObliqueY * p.z);
  if (samples.closed && !plane.empty()) plane.push_back(plane.front());
  if (plane.empty()) return sketch;
  double xmin = plane[0].x, xmax = xmin, ymin = plane[0].y, ymax = ymin;
  for (const ZcGePoint2d& p : plane) {
    xmin = std::min(xmin, p.x);
    xmax = std::max(xmax, p.x);
    ymin = std::min(ymin, p.y);
    ymax = std::max(ymax, p.y);
  }
  const double span = std::max(xmax - xmin, ymax - ymin);
  // A curve of a single point (no span) sits in the middle at scale 1.
  const double scale = span > 0.0 ? (kPreviewPictureSize - 2.0 * kMargin) / span : 1.0;
  const double cx = (xmin + xmax) / 2.0;
  const double cy = (ymin + ymax) / 2.0;
  ZcUiSketchStroke stroke;
  stroke.width = 2.0;
  for (const ZcGePoint2d& p : plane) {
    stroke.points.emplace_back(kPreviewPictureSize / 2.0 + (p.x - cx) * scale,
                               kPreviewPictureSize / 2.0 - (p.y - cy) * scale);
  }
  sketch.strokes.push_back(std::move(stroke));
  return sketch;
}

ZcUiSketch noticeSketch() {
  ZcUiSketch sketch;
  sketch.width = kPreviewPictureSize;
  sketch.height = kPreviewPictureSize;
  sketch.texts.push_back({L"更多曲线，敬请期待", {256.0, 236.0}, 34.0, RGB(255, 255, 255)});
  sketch.texts.push_back({L"More curves are coming", {256.0, 296.0}, 24.0, RGB(255, 255, 255)});
  return sketch;
}

bool copyPicture(const CImage& from, CImage& to) {
  CImage copy;
  if (from.IsNull() || !copy.Create(from.GetWidth(), from.GetHeight(), from.GetBPP())) return false;
  for (int y = 0; y < from.GetHeight(); ++y) {
    std::memcpy(copy.GetPixelAddress(0, y), from.GetPixelAddress(0, y),
                static_cast<std::size_t>(from.GetPitch()));
  }
  to = std::move(copy);
  return true;
}

}  // namespace

bool loadPreviewPicture(unsigned id, CImage& picture) {
  int entryIndex = -1;
  if (id >= kFirstFormulaPicture && id <= kLastFormulaPicture)
    entryIndex = static_cast<int>(id - kFirstFormulaPicture);
  if (id != kFormulaNoticePicture && entryIndex < 0) return false;
  // Made once per process; the dialog asks for the picture at every repaint.
  static std::map<unsigned, CImage> made;
  auto found = made.find(id);
  if (found == made.end()) {
    CImage painted;
    if (!zcuiPaintSketch(entryIndex < 0 ? noticeSketch() : curveSketch(entryIndex), painted)) return false;
    found = made.emplace(id, std::move(painted)).first;
  }
  return copyPicture(found->second, picture);
}

}  // namespace veltrace::resources
