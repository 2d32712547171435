// LIST: prints what the selected entities are: type, layer, space, handle, colour and
// linetype when they are not BYLAYER, then the geometry of the kind (points, lengths, areas,
// angles in degrees). Kinds the command does not know show the common part only.
#include <cmath>
#include <string>

#include "commands/EditCommandSupport.h"
#include "commands/EditCommands.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDb2dVertex.h"
#include "zcad/db/ZcDb3dPolyline.h"
#include "zcad/db/ZcDb3dPolylineVertex.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbHatch.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbMText.h"
#include "zcad/db/ZcDbPoint.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/db/ZcDbText.h"

namespace vtcad::commands {
namespace {

// The listing of one entity, a line at a time (two spaces in front of each detail).
class Listing {
 public:
  void line(const std::wstring& text) { text_ += L"  " + text + L"\n"; }
  void header(const std::wstring& text) { text_ += text + L"\n"; }
  const std::wstring& text() const { return text_; }

 private:
  std::wstring text_;
};

std::wstring lowerHandle(ZcDbObjectId id) {
  std::wstring text = id.handle().getIntoAsciiBuffer();
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

// The name of a symbol table record (block, text style), empty when it cannot be read.
std::wstring recordName(ZcDbObjectId id) {
  ZcDbSymbolTableRecord* record = nullptr;
  if (zcdbOpenObject(record, id, ZcDb::kForRead) != Zcad::eOk) return {};
  const std::wstring name = record->name().str();
  record->close();
  return name;
}

std::wstring spaceOf(const ZcDbEntity& entity) {
  const ZcDbDatabase* db = entity.database();
  const ZcDbObjectId owner = entity.ownerId();
  if (db && owner == db->modelSpaceId()) return L"Model space";
  if (db && owner == db->paperSpaceId()) return L"Paper space";
  return L"Block " + recordName(owner);
}

std::wstring colorText(const ZcCmColor& color) {
  if (color.isByBlock()) return L"BYBLOCK";
  if (color.isByColor()) {
    return L"RGB " + std::to_wstring(color.red()) + L"," + std::to_wstring(color.green()) + L"," +
           std::to_wstring(color.blue());
  }
  return std::to_wstring(color.colorIndex());
}

void listNormal(Listing& out, const ZcGeVector3d& normal) {
  // Entities in the XY plane (nearly all) do not mention their normal.
  if (normal.isCodirectionalTo(ZcGeVector3d::kZAxis)) return;
  out.line(L"Extrusion direction: " + formatPoint(ZcGePoint3d::kOrigin + normal));
}

void listThickness(Listing& out, double thickness) {
  if (thickness != 0.0) out.line(L"Thickness = " + formatReal(thickness));
}

double curveLength(const ZcDbCurve& curve) {
  double endParam = 0.0, length = 0.0;
  if (curve.getEndParam(endParam) != Zcad::eOk || curve.getDistAtParam(endParam, length) != Zcad::eOk)
    return 0.0;
  return length;
}

void listLengthAndArea(Listing& out, const ZcDbCurve& curve) {
  const double length = curveLength(curve);
  if (curve.isClosed()) {
    double area = 0.0;
    if (curve.getArea(area) == Zcad::eOk) out.line(L"Area = " + formatReal(std::abs(area)));
    out.line(L"Perimeter = " + formatReal(length));
  } else {
    out.line(L"Length = " + formatReal(length));
  }
}

void listLine(Listing& out, const ZcDbLine& line) {
  const ZcGePoint3d start = line.startPoint(), end = line.endPoint();
  const ZcGeVector3d delta = end - start;
  out.line(L"from point, " + formatPoint(start));
  out.line(L"to point,   " + formatPoint(end));
  out.line(L"Length = " + formatReal(delta.length()) + L",  Angle in XY Plane = " +
           formatAngle(std::atan2(delta.y, delta.x)));
  out.line(L"Delta X = " + formatReal(delta.x) + L", Delta Y = " + formatReal(delta.y) + L", Delta Z = " +
           formatReal(delta.z));
  listThickness(out, line.thickness());
  listNormal(out, line.normal());
}

void listCircle(Listing& out, const ZcDbCircle& circle) {
  out.line(L"center point, " + formatPoint(circle.center()));
  out.line(L"radius " + formatReal(circle.radius()));
  out.line(L"circumference " + formatReal(circle.circumference()));
  double area = 0.0;
  (void)circle.getArea(area);
  out.line(L"area " + formatReal(area));
  listThickness(out, circle.thickness());
  listNormal(out, circle.normal());
}

void listArc(Listing& out, const ZcDbArc& arc) {
  out.line(L"center point, " + formatPoint(arc.center()));
  out.line(L"radius " + formatReal(arc.radius()));
  out.line(L"start angle " + formatAngle(arc.startAngle()));
  out.line(L"end angle " + formatAngle(arc.endAngle()));
  out.line(L"total angle " + formatAngle(arc.totalAngle()));
  out.line(L"length " + formatReal(arc.length()));
  listThickness(out, arc.thickness());
  listNormal(out, arc.normal());
}

void listEllipse(Listing& out, const ZcDbEllipse& ellipse) {
  out.line(L"Center: " + formatPoint(ellipse.center()));
  out.line(L"Major Axis: " + formatPoint(ZcGePoint3d::kOrigin + ellipse.majorAxis()));
  out.line(L"Minor Axis: " + formatPoint(ZcGePoint3d::kOrigin + ellipse.minorAxis()));
  out.line(L"Radius Ratio: " + formatReal(ellipse.radiusRatio()));
  if (!ellipse.isClosed()) {
    out.line(L"Start Angle: " + formatAngle(ellipse.startAngle()));
    out.line(L"End Angle: " + formatAngle(ellipse.endAngle()));
  }
  listLengthAndArea(out, ellipse);
}

void listLightweightPolyline(Listing& out, const ZcDbPolyline& polyline) {
  out.line(polyline.isClosed() ? L"Closed" : L"Open");
  double width = 0.0;
  if (polyline.getConstantWidth(width) == Zcad::eOk) out.line(L"Constant width " + formatReal(width));
  if (polyline.elevation() != 0.0) out.line(L"Elevation " + formatReal(polyline.elevation()));
  listLengthAndArea(out, polyline);
  const bool varyingWidth = polyline.getConstantWidth(width) != Zcad::eOk;
  for (unsigned int i = 0; i < polyline.numVerts(); ++i) {
    ZcGePoint3d point;
    (void)polyline.getPointAt(i, point);
    out.line(L"at point " + formatPoint(point));
    double bulge = 0.0;
    (void)polyline.getBulgeAt(i, bulge);
    if (bulge != 0.0) out.line(L"  bulge " + formatReal(bulge));
    double startWidth = 0.0, endWidth = 0.0;
    if (varyingWidth && polyline.getWidthsAt(i, startWidth, endWidth) == Zcad::eOk) {
      out.line(L"  starting width " + formatReal(startWidth) + L", ending width " + formatReal(endWidth));
    }
  }
  listThickness(out, polyline.thickness());
  listNormal(out, polyline.normal());
}

const wchar_t* typeText(ZcDb::Poly2dType type) {
  switch (type) {
    case ZcDb::k2dFitCurvePoly:
      return L"Curve-fit";
    case ZcDb::k2dQuadSplinePoly:
      return L"Quadratic B-spline";
    case ZcDb::k2dCubicSplinePoly:
      return L"Cubic B-spline";
    case ZcDb::k2dSimplePoly:
      break;
  }
  return L"Simple";
}

void list2dPolyline(Listing& out, const ZcDb2dPolyline& polyline) {
  out.line(std::wstring(typeText(polyline.polyType())) + L", " + (polyline.isClosed() ? L"Closed" : L"Open"));
  if (polyline.defaultStartWidth() != 0.0 || polyline.defaultEndWidth() != 0.0) {
    out.line(L"Default widths " + formatReal(polyline.defaultStartWidth()) + L", " +
             formatReal(polyline.defaultEndWidth()));
  }
  listLengthAndArea(out, polyline);
  ZcDbObjectIterator* vertices = polyline.vertexIterator();
  for (vertices->start(); !vertices->done(); vertices->step()) {
    const ZcDb2dVertex* vertex = ZcDb2dVertex::cast(vertices->entity());
    if (!vertex) continue;
    // The frame of a spline-fit polyline is not on the curve: say which points are which.
    const bool control = vertex->vertexType() == ZcDb::k2dSplineCtlVertex;
    out.line(std::wstring(control ? L"control point " : L"at point ") +
             formatPoint(polyline.vertexPosition(*vertex)));
    if (vertex->bulge() != 0.0) out.line(L"  bulge " + formatReal(vertex->bulge()));
    if (vertex->startWidth() != 0.0 || vertex->endWidth() != 0.0) {
      out.line(L"  starting width " + formatReal(vertex->startWidth()) + L", ending width " +
               formatReal(vertex->endWidth()));
    }
  }
  delete vertices;
  listThickness(out, polyline.thickness());
  listNormal(out, polyline.normal());
}

void list3dPolyline(Listing& out, const ZcDb3dPolyline& polyline) {
  const ZcDb::Poly3dType type = polyline.polyType();
  out.line(std::wstring(L"3D polyline, ") +
           (type == ZcDb::k3dQuadSplinePoly    ? L"Quadratic B-spline, "
            : type == ZcDb::k3dCubicSplinePoly ? L"Cubic B-spline, "
                                               : L"") +
           (polyline.isClosed() ? L"Closed" : L"Open"));
  listLengthAndArea(out, polyline);
  ZcDbObjectIterator* vertices = polyline.vertexIterator();
  for (vertices->start(); !vertices->done(); vertices->step()) {
    const ZcDb3dPolylineVertex* vertex = ZcDb3dPolylineVertex::cast(vertices->entity());
    if (!vertex) continue;
    const bool control = vertex->vertexType() == ZcDb::k3dControlVertex;
    out.line(std::wstring(control ? L"control point " : L"at point ") + formatPoint(vertex->position()));
  }
  delete vertices;
}

void listSpline(Listing& out, const ZcDbSpline& spline) {
  out.line(L"Degree: " + std::to_wstring(spline.degree()) + L", " +
           (spline.isClosed() ? L"Closed" : L"Open") + (spline.isPeriodic() ? L", Periodic" : L"") +
           (spline.isRational() ? L", Rational" : L""));
  listLengthAndArea(out, spline);
  out.line(L"Number of control points: " + std::to_wstring(spline.numControlPoints()));
  for (int i = 0; i < spline.numControlPoints(); ++i) {
    ZcGePoint3d point;
    if (spline.getControlPointAt(i, point) == Zcad::eOk) out.line(L"Control point " + formatPoint(point));
  }
  if (spline.hasFitData()) {
    out.line(L"Number of fit points: " + std::to_wstring(spline.numFitPoints()));
    for (int i = 0; i < spline.numFitPoints(); ++i) {
      ZcGePoint3d point;
      if (spline.getFitPointAt(i, point) == Zcad::eOk) out.line(L"Fit point " + formatPoint(point));
    }
  }
}

void listText(Listing& out, const ZcDbText& text) {
  out.line(L"Style = \"" + recordName(text.textStyle()) + L"\"");
  out.line(L"start point, " + formatPoint(text.position()));
  if (!text.isDefaultAlignment()) out.line(L"alignment point, " + formatPoint(text.alignmentPoint()));
  out.line(L"height " + formatReal(text.height()));
  out.line(L"text " + text.textString().str());
  out.line(L"rotation angle " + formatAngle(text.rotation()));
  out.line(L"width scale factor " + formatReal(text.widthFactor()));
  out.line(L"obliquing angle " + formatAngle(text.oblique()));
  std::wstring generation = L"normal";
  if (text.isMirroredInX() && text.isMirroredInY()) {
    generation = L"backward, upside down";
  } else if (text.isMirroredInX()) {
    generation = L"backward";
  } else if (text.isMirroredInY()) {
    generation = L"upside down";
  }
  out.line(L"generation " + generation);
  listThickness(out, text.thickness());
  listNormal(out, text.normal());
}

void listMText(Listing& out, const ZcDbMText& text) {
  static constexpr const wchar_t* kAttachments[] = {L"TopLeft",    L"TopCenter",    L"TopRight",
                                                    L"MiddleLeft", L"MiddleCenter", L"MiddleRight",
                                                    L"BottomLeft", L"BottomCenter", L"BottomRight"};
  const int attachment = static_cast<int>(text.attachment());
  out.line(L"Location: " + formatPoint(text.location()));
  out.line(L"Width: " + formatReal(text.width()));
  out.line(L"Rotation: " + formatAngle(text.rotation()));
  out.line(L"Text style: \"" + recordName(text.textStyle()) + L"\"");
  out.line(L"Text height: " + formatReal(text.textHeight()));
  if (attachment >= 1 && attachment <= 9)
    out.line(std::wstring(L"Attachment: ") + kAttachments[attachment - 1]);
  out.line(L"Contents: " + text.contents().str());
  listNormal(out, text.normal());
}

void listInsert(Listing& out, const ZcDbBlockReference& insert) {
  const ZcGeScale3d scale = insert.scaleFactors();
  out.line(L"Block name: \"" + recordName(insert.blockTableRecord()) + L"\"");
  out.line(L"at point, " + formatPoint(insert.position()));
  out.line(L"X scale factor: " + formatReal(scale.sx));
  out.line(L"Y scale factor: " + formatReal(scale.sy));
  out.line(L"Z scale factor: " + formatReal(scale.sz));
  out.line(L"rotation angle: " + formatAngle(insert.rotation()));
  listNormal(out, insert.normal());
}

void listPoint(Listing& out, const ZcDbPoint& point) {
  out.line(L"at point, " + formatPoint(point.position()));
  listThickness(out, point.thickness());
  listNormal(out, point.normal());
}

void listHatch(Listing& out, const ZcDbHatch& hatch) {
  out.line(L"Pattern: " + hatch.patternName().str() +
           (hatch.isSolidFill() ? L""
                                : L", scale " + formatReal(hatch.patternScale()) + L", angle " +
                                      formatAngle(hatch.patternAngle())));
  out.line(L"Loops: " + std::to_wstring(hatch.numLoops()));
  double area = 0.0;
  if (hatch.getArea(area) == Zcad::eOk) out.line(L"Area = " + formatReal(area));
  listNormal(out, hatch.normal());
}

void listGeometry(Listing& out, const ZcDbEntity& entity) {
  if (const auto* line = ZcDbLine::cast(&entity)) return listLine(out, *line);
  if (const auto* circle = ZcDbCircle::cast(&entity)) return listCircle(out, *circle);
  if (const auto* arc = ZcDbArc::cast(&entity)) return listArc(out, *arc);
  if (const auto* ellipse = ZcDbEllipse::cast(&entity)) return listEllipse(out, *ellipse);
  if (const auto* light = ZcDbPolyline::cast(&entity)) return listLightweightPolyline(out, *light);
  if (const auto* flat = ZcDb2dPolyline::cast(&entity)) return list2dPolyline(out, *flat);
  if (const auto* spatial = ZcDb3dPolyline::cast(&entity)) return list3dPolyline(out, *spatial);
  if (const auto* spline = ZcDbSpline::cast(&entity)) return listSpline(out, *spline);
  if (const auto* text = ZcDbText::cast(&entity)) return listText(out, *text);
  if (const auto* mtext = ZcDbMText::cast(&entity)) return listMText(out, *mtext);
  if (const auto* insert = ZcDbBlockReference::cast(&entity)) return listInsert(out, *insert);
  if (const auto* point = ZcDbPoint::cast(&entity)) return listPoint(out, *point);
  if (const auto* hatch = ZcDbHatch::cast(&entity)) return listHatch(out, *hatch);
}

std::wstring typeName(const ZcDbEntity& entity) {
  const ZcRxClass* cls = entity.isA();
  if (!cls) return L"ENTITY";
  if (cls->dxfName() && *cls->dxfName()) return cls->dxfName();
  return cls->name() ? cls->name() : L"ENTITY";
}

std::wstring listingOf(const ZcDbEntity& entity) {
  Listing out;
  out.header(typeName(entity) + L"  Layer: \"" + entity.layer().str() + L"\"");
  out.line(L"Space: " + spaceOf(entity));
  if (!entity.color().isByLayer()) out.line(L"Color: " + colorText(entity.color()));
  const std::wstring linetype = entity.linetype().str();
  if (!linetype.empty() && ZcString(linetype).compareNoCase(L"ByLayer") != 0) {
    out.line(L"Linetype: \"" + linetype + L"\"");
  }
  out.line(L"Handle = " + lowerHandle(entity.objectId()));
  listGeometry(out, entity);
  return out.text();
}

}  // namespace

void listCommand() {
  if (!workingDrawing()) return;
  std::vector<ZcDbObjectId> ids;
  if (!selectEntities(ids, SelectFor::kReading)) return;
  for (ZcDbObjectId id : ids) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) continue;
    const std::wstring text = listingOf(*entity);
    entity->close();
    print(L"\n" + text);
  }
}

}  // namespace vtcad::commands
