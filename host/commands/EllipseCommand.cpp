// ELLIPSE: both ends of one axis (or Center and one end), then the distance from the center
// to the other axis (or Rotation: the angle the ellipse is a circle seen under, turned about
// the first axis). Arc draws an elliptical arc: the same, then a start angle and an end angle
// (or Included angle), measured counter-clockwise from the first axis as given (from the
// center towards its first endpoint).
//
// The ellipse lies parallel to the XY plane at the height of its center. No ellipse is drawn
// for an axis of zero length; a rotation of 89.4 degrees or more (a flat ellipse) is refused.
#include <cmath>
#include <memory>
#include <optional>
#include <utility>

#include "commands/DrawCommandSupport.h"
#include "commands/DrawCommands.h"
#include "commands/DrawGeometry.h"
#include "editor/InputParsing.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/ge/ZcGe.h"
#include "zcad/zced.h"

namespace vtcad::commands {

namespace {

using namespace draw;

// The steepest rotation a CAD host takes: beyond it the ellipse is too flat to be drawn.
constexpr double kMaxRotationDegrees = 89.4;

struct EllipseShape {
  ZcGePoint3d center;
  ZcGeVector3d firstAxis;  // from the center to the axis's first endpoint, in the XY plane
  double otherRadius = 0.0;
  bool arc = false;  // an elliptical arc was asked for
};

// The first axis; nothing after a cancel.
std::optional<EllipseShape> askFirstAxis(bool arc) {
  EllipseShape shape;
  shape.arc = arc;
  Answer<ZcGePoint3d> first =
      arc ? getPoint(nullptr, L"\nSpecify axis endpoint of elliptical arc or [Center]: ",
                     {.bits = RSG_NONULL, .keywords = L"Center"})
          : getPoint(nullptr, L"\nSpecify axis endpoint of ellipse or [Arc/Center]: ",
                     {.bits = RSG_NONULL, .keywords = L"Arc Center"});
  if (first.is(L"Arc")) return askFirstAxis(/*arc=*/true);
  bool fromCenter = first.is(L"Center");
  if (fromCenter) {
    first = getPoint(nullptr, L"\nSpecify center of ellipse: ", {.bits = RSG_NONULL});
  }
  if (!first.isValue()) return std::nullopt;
  for (;;) {
    Answer<ZcGePoint3d> second = getPoint(
        &first.value, fromCenter ? L"\nSpecify endpoint of axis: " : L"\nSpecify other endpoint of axis: ",
        {.bits = RSG_NONULL});
    if (!second.isValue()) return std::nullopt;
    ZcGeVector3d along = second.value - first.value;
    along.z = 0.0;
    if (along.isZeroLength()) {
      // Degenerate case: an axis of zero length has no direction.
      say(L"\nThe axis has no length; give another endpoint.");
      continue;
    }
    if (fromCenter) {
      shape.center = first.value;
      shape.firstAxis = along;
    } else {
      shape.center = first.value + along * 0.5;
      shape.firstAxis = -along * 0.5;
    }
    return shape;
  }
}

// The distance to the other axis, or the rotation that gives it; false after a cancel.
bool askOtherAxis(EllipseShape& shape) {
  double firstRadius = shape.firstAxis.length();
  Answer<double> distance = getDist(&shape.center, L"\nSpecify distance to other axis or [Rotation]: ",
                                    {.bits = RSG_NONULL | RSG_NOZERO | RSG_NONEG, .keywords = L"Rotation"});
  if (distance.isValue()) {
    shape.otherRadius = distance.value;
    return true;
  }
  if (!distance.is(L"Rotation")) return false;
  for (;;) {
    Answer<double> rotation =
        getAngle(&shape.center, L"\nSpecify rotation around major axis: ", {.bits = RSG_NONULL});
    if (!rotation.isValue()) return false;
    double seen = std::abs(std::cos(rotation.value));
    if (seen < std::cos(kMaxRotationDegrees * ZcGe::kPi / 180.0)) {
      say(L"\nRequires an angle from 0 to 89.4 degrees.");
      continue;
    }
    shape.otherRadius = firstRadius * seen;
    return true;
  }
}

// An angle of the elliptical arc, counter-clockwise from the first axis: typed in degrees, or
// the direction from the center to a point.
Answer<double> askArcAngle(const EllipseShape& shape, const std::wstring& prompt, const wchar_t* keywords) {
  double axisAngle = std::atan2(shape.firstAxis.y, shape.firstAxis.x);
  for (;;) {
    Answer<ZcGePoint3d> answer =
        getPoint(&shape.center, prompt, {.bits = RSG_NONULL | RSG_OTHER, .keywords = keywords});
    Answer<double> angle;
    angle.reply = answer.reply;
    angle.keyword = answer.keyword;
    if (answer.isValue()) {
      ZcGeVector3d to = answer.value - shape.center;
      angle.value = std::atan2(to.y, to.x) - axisAngle;
      return angle;
    }
    if (answer.reply != Reply::kKeyword) return angle;
    if (keywords && sameText(answer.keyword, keywords)) return angle;
    if (std::optional<double> degrees = editor::parseReal(answer.keyword)) {
      angle.reply = Reply::kValue;
      angle.value = *degrees * ZcGe::kPi / 180.0;
      return angle;
    }
    say(L"\nRequires a numeric angle or a point.");
  }
}

}  // namespace

void ellipseCommand() {
  ZcDbDatabase* db = drawingDatabase();
  if (!db) return;
  std::optional<EllipseShape> shape = askFirstAxis(/*arc=*/false);
  if (!shape || !askOtherAxis(*shape)) return;
  // The longer axis is the major one, whichever was given first.
  double firstRadius = shape->firstAxis.length();
  ZcGeVector3d major = shape->firstAxis;
  double ratio = shape->otherRadius / firstRadius;
  if (ratio > 1.0) {
    major = ZcGeVector3d::kZAxis.crossProduct(shape->firstAxis) * (shape->otherRadius / firstRadius);
    ratio = 1.0 / ratio;
  }
  if (ratio < 1e-6) {
    // Degenerate case: the database keeps no ellipse flatter than this.
    say(L"\nThe ellipse would be flat; nothing was drawn.");
    return;
  }
  if (!inRange({shape->center.x, shape->center.y, major.x, major.y})) return;
  if (!shape->arc) {
    addEntity(db, std::make_unique<ZcDbEllipse>(shape->center, ZcGeVector3d::kZAxis, major, ratio));
    return;
  }

  Answer<double> start = askArcAngle(*shape, L"\nSpecify start angle: ", nullptr);
  if (!start.isValue()) return;
  double startAngle = start.value, endAngle = 0.0;
  for (;;) {
    Answer<double> end = askArcAngle(*shape, L"\nSpecify end angle or [Included angle]: ", L"Included");
    if (end.isCancel()) return;
    if (end.isValue()) {
      endAngle = end.value;
    } else {
      Answer<double> included = getIncludedAngle(shape->center, L"\nSpecify included angle for arc <180>: ");
      if (included.isCancel()) return;
      double sweep = included.isValue() ? included.value : ZcGe::kPi;
      endAngle = startAngle + sweep;
      // A clockwise sweep is the counter-clockwise arc the other way round.
      if (sweep < 0.0) std::swap(startAngle, endAngle);
    }
    double turns = (endAngle - startAngle) / ZcGe::kTwoPi;
    if (std::abs(turns - std::round(turns)) > 1e-9) break;
    // Degenerate case: equal angles would make the database draw the whole ellipse.
    say(L"\nThe arc would be empty; give another end angle.");
    startAngle = start.value;
  }
  // The database measures from the major axis.
  double offset = std::atan2(shape->firstAxis.y, shape->firstAxis.x) - std::atan2(major.y, major.x);
  addEntity(db, std::make_unique<ZcDbEllipse>(shape->center, ZcGeVector3d::kZAxis, major, ratio,
                                              startAngle + offset, endAngle + offset));
}

}  // namespace vtcad::commands
