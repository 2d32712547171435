// CIRCLE: a center and a radius (or Diameter); 2P, the two ends of a diameter; 3P, three
// points on the circle (in their own plane); Ttr, tangent to two lines, circles or arcs with a
// given radius. The radius is remembered for the session and offered as the default.
//
// Circles from a center or 2P lie parallel to the XY plane at the height of the first point;
// Ttr circles at the height of the first object. No circle is drawn for degenerate input
// (coincident or collinear points, objects no circle of that radius touches).
#include <memory>
#include <optional>

#include "commands/DrawCommandSupport.h"
#include "commands/DrawCommands.h"
#include "commands/DrawGeometry.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/ge/ZcGeCircArc3d.h"
#include "zcad/zced.h"

namespace vtcad::commands {

namespace {

using namespace draw;

// The radius of the last circle drawn (0: none yet, so there is no default).
double lastRadius = 0.0;

void drawCircle(ZcDbDatabase* db, const ZcGePoint3d& center, const ZcGeVector3d& normal, double radius) {
  if (!inRange({center.x, center.y, center.z, radius})) return;
  if (!addEntity(db, std::make_unique<ZcDbCircle>(center, normal, radius)).isNull()) lastRadius = radius;
}

// A positive length from `center`; Enter takes `fallback`, shown as the default (without one,
// Enter is refused). Keywords and a cancel come back as they are.
Answer<double> askLength(const ZcGePoint3d& center, const std::wstring& prompt, double fallback,
                         const wchar_t* keywords) {
  int bits = RSG_NOZERO | RSG_NONEG | (fallback > 0.0 ? 0 : RSG_NONULL);
  std::wstring shown = fallback > 0.0 ? prompt + L" <" + formatLength(fallback) + L">: " : prompt + L": ";
  Answer<double> answer = getDist(&center, shown, {.bits = bits, .keywords = keywords});
  if (answer.isNone()) {
    answer.reply = Reply::kValue;
    answer.value = fallback;
  }
  return answer;
}

void centerRadius(ZcDbDatabase* db, const ZcGePoint3d& center) {
  Answer<double> radius =
      askLength(center, L"\nSpecify radius of circle or [Diameter]", lastRadius, L"Diameter");
  if (radius.is(L"Diameter")) {
    Answer<double> diameter = askLength(center, L"\nSpecify diameter of circle", 2.0 * lastRadius, nullptr);
    if (!diameter.isValue()) return;
    radius.reply = Reply::kValue;
    radius.value = diameter.value / 2.0;
  }
  if (radius.isValue()) drawCircle(db, center, ZcGeVector3d::kZAxis, radius.value);
}

void twoPoints(ZcDbDatabase* db) {
  Answer<ZcGePoint3d> first =
      getPoint(nullptr, L"\nSpecify first end point of circle's diameter: ", {.bits = RSG_NONULL});
  if (!first.isValue()) return;
  Answer<ZcGePoint3d> second =
      getPoint(&first.value, L"\nSpecify second end point of circle's diameter: ", {.bits = RSG_NONULL});
  if (!second.isValue()) return;
  ZcGePoint2d a = flat(first.value), b = flat(second.value);
  if (a.isEqualTo(b)) {
    say(L"\nThe two points coincide; no circle was drawn.");
    return;
  }
  drawCircle(db, raised(a + (b - a) * 0.5, first.value.z), ZcGeVector3d::kZAxis, a.distanceTo(b) / 2.0);
}

void threePoints(ZcDbDatabase* db) {
  Answer<ZcGePoint3d> p1 = getPoint(nullptr, L"\nSpecify first point on circle: ", {.bits = RSG_NONULL});
  if (!p1.isValue()) return;
  Answer<ZcGePoint3d> p2 = getPoint(&p1.value, L"\nSpecify second point on circle: ", {.bits = RSG_NONULL});
  if (!p2.isValue()) return;
  Answer<ZcGePoint3d> p3 = getPoint(&p2.value, L"\nSpecify third point on circle: ", {.bits = RSG_NONULL});
  if (!p3.isValue()) return;
  ZcGeCircArc3d arc(p1.value, p2.value, p3.value);
  if (!arc.isValid()) {
    say(L"\nNo circle passes through those points (two coincide or all lie on a line).");
    return;
  }
  // Points given clockwise give the plane's other normal; a circle is the same either way,
  // and drawings expect the normal of the XY plane to point up.
  ZcGeVector3d normal = arc.normal();
  if (normal.z < 0.0) normal = -normal;
  drawCircle(db, arc.center(), normal, arc.radius());
}

// A line, circle or arc parallel to the XY plane, as Ttr touches it; false after a cancel.
bool pickTangentObject(const std::wstring& prompt, TangentObject& object, double& height) {
  for (;;) {
    zds_name name = {0, 0};
    zds_point picked = {0.0, 0.0, 0.0};
    int status = zcedEntSel(prompt.c_str(), name, picked);
    if (status == RTERROR) {
      say(L"\nNo object found there.");
      continue;
    }
    if (status != RTNORM) return false;
    ZcDbObjectId id;
    ZcDbEntity* entity = nullptr;
    if (zcdbGetObjectId(id, name) != Zcad::eOk || zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) {
      say(L"\nThat object cannot be read now.");
      continue;
    }
    bool usable = false;
    object.pick = {picked[0], picked[1]};
    if (ZcDbLine* line = ZcDbLine::cast(entity)) {
      // Degenerate case: a zero-length line has no direction to be tangent to.
      usable = !flat(line->startPoint()).isEqualTo(flat(line->endPoint()));
      object.kind = TangentObject::Kind::kLine;
      object.lineFrom = flat(line->startPoint());
      object.lineTo = flat(line->endPoint());
      height = line->startPoint().z;
    } else if (ZcDbCircle* circle = ZcDbCircle::cast(entity)) {
      usable = circle->normal().isParallelTo(ZcGeVector3d::kZAxis) && circle->radius() > 0.0;
      object.kind = TangentObject::Kind::kCircle;
      object.circle = {flat(circle->center()), circle->radius()};
      height = circle->center().z;
    } else if (ZcDbArc* arc = ZcDbArc::cast(entity)) {
      // An arc counts with its whole circle, as a line counts with its whole length.
      usable = arc->normal().isParallelTo(ZcGeVector3d::kZAxis) && arc->radius() > 0.0;
      object.kind = TangentObject::Kind::kCircle;
      object.circle = {flat(arc->center()), arc->radius()};
      height = arc->center().z;
    }
    entity->close();
    if (usable) return true;
    say(L"\nPick a line, circle or arc lying parallel to the XY plane.");
  }
}

void tangentTangentRadius(ZcDbDatabase* db) {
  TangentObject first, second;
  double height = 0.0, ignored = 0.0;
  if (!pickTangentObject(L"\nSpecify point on object for first tangent of circle: ", first, height)) return;
  if (!pickTangentObject(L"\nSpecify point on object for second tangent of circle: ", second, ignored))
    return;
  ZcGePoint3d pick = raised(second.pick, height);
  Answer<double> radius = askLength(pick, L"\nSpecify radius of circle", lastRadius, nullptr);
  if (!radius.isValue()) return;
  std::optional<Circle2d> circle = circleTangentToBoth(first, second, radius.value);
  if (!circle) {
    say(L"\nCircle does not exist: no circle of that radius touches both objects.");
    return;
  }
  drawCircle(db, raised(circle->center, height), ZcGeVector3d::kZAxis, circle->radius);
}

}  // namespace

void circleCommand() {
  ZcDbDatabase* db = drawingDatabase();
  if (!db) return;
  Answer<ZcGePoint3d> first =
      getPoint(nullptr, L"\nSpecify center point for circle or [3P/2P/Ttr (tan tan radius)]: ",
               {.bits = RSG_NONULL, .keywords = L"3P 2P Ttr"});
  if (first.isValue()) {
    centerRadius(db, first.value);
  } else if (first.is(L"3P")) {
    threePoints(db);
  } else if (first.is(L"2P")) {
    twoPoints(db);
  } else if (first.is(L"Ttr")) {
    tangentTangentRadius(db);
  }
}

}  // namespace vtcad::commands
