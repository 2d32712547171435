#include "zcad/db/ZcDbHelix.h"

#include <cmath>

#include "database/ConicGeometry.h"
#include "database/CurveQueryRules.h"
#include "database/HelixNurbs.h"

using namespace vtcad::db;

namespace {

ZcRxObject* newZcDbHelix() { return new ZcDbHelix(); }

// As CAD hosts limit it: a helix of more turns is a drawing mistake, and its spline would
// carry 64 control points per turn.
constexpr double kMaxTurns = 500.0;

bool validTurns(double turns) { return std::isfinite(turns) && turns > 0.0 && turns <= kMaxTurns; }

}  // namespace

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbHelix, ZcDbSpline, L"AcDbHelix", L"HELIX", newZcDbHelix)

namespace {
// Registered when the library loads, so that readers find the class by its drawing names.
[[maybe_unused]] const bool registered = (ZcDbHelix::desc(), true);
}  // namespace

ZcDbHelix::ZcDbHelix() { regenerate(); }

ZcDbHelix::~ZcDbHelix() = default;

HelixShape ZcDbHelix::shapeOf(const Params& params) {
  HelixShape shape;
  shape.axisPoint = params.axisPoint;
  shape.axis = params.axis;
  shape.startDir = params.startDir;
  shape.baseRadius = params.baseRadius;
  shape.topRadius = params.topRadius;
  shape.turns = params.turns;
  shape.height = params.turns * params.turnHeight;
  shape.ccw = params.ccw;
  return shape;
}

void ZcDbHelix::regenerate() { replaceCurve(helixNurbs(shapeOf(params_))); }

Zcad::ErrorStatus ZcDbHelix::change(const Params& params) {
  const bool valid = zcgeIsFinite(params.axisPoint) && params.axis.isUnitLength() &&
                     params.startDir.isUnitLength() && std::isfinite(params.baseRadius) &&
                     params.baseRadius >= 0.0 && std::isfinite(params.topRadius) && params.topRadius >= 0.0 &&
                     validTurns(params.turns) && std::isfinite(params.turnHeight) &&
                     std::isfinite(params.turns * params.turnHeight);
  if (!valid) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  params_ = params;
  regenerate();
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbHelix::createHelix() { return change(params_); }

ZcGePoint3d ZcDbHelix::axisPoint() const {
  assertReadEnabled();
  return params_.axisPoint;
}

Zcad::ErrorStatus ZcDbHelix::setAxisPoint(const ZcGePoint3d& axisPoint, bool moveStartPoint) {
  if (!zcgeIsFinite(axisPoint)) return Zcad::eInvalidInput;
  const ZcGePoint3d start = startPoint();
  Params params = params_;
  params.axisPoint = axisPoint;
  if (moveStartPoint) return change(params);
  // The start point stays: the base radius and direction follow from it.
  const ZcGeVector3d offset = (start - axisPoint).orthoProject(params.axis);
  const double radius = offset.length();
  if (radius > 0.0) params.startDir = offset / radius;
  params.baseRadius = radius;
  return change(params);
}

ZcGePoint3d ZcDbHelix::startPoint() const {
  assertReadEnabled();
  return params_.axisPoint + params_.startDir * params_.baseRadius;
}

Zcad::ErrorStatus ZcDbHelix::setStartPoint(const ZcGePoint3d& startPoint) {
  if (!zcgeIsFinite(startPoint)) return Zcad::eInvalidInput;
  Params params = params_;
  const ZcGeVector3d offset = (startPoint - params.axisPoint).orthoProject(params.axis);
  const double radius = offset.length();
  // On the axis the start keeps its direction (radius 0 has none).
  if (radius > 0.0) params.startDir = offset / radius;
  params.baseRadius = radius;
  return change(params);
}

ZcGeVector3d ZcDbHelix::axisVector() const {
  assertReadEnabled();
  return params_.axis;
}

Zcad::ErrorStatus ZcDbHelix::setAxisVector(const ZcGeVector3d& axisVector) {
  const double length = axisVector.length();
  if (!std::isfinite(length) || !(length > 0.0)) return Zcad::eInvalidInput;
  Params params = params_;
  params.axis = axisVector / length;
  // Turn the start direction by the rotation that takes the old axis to the new one. A
  // reversed axis turns a half turn about the start direction, which keeps it.
  const ZcGeVector3d turnAxis = params_.axis.crossProduct(params.axis);
  const double sinAngle = turnAxis.length(), cosAngle = params_.axis.dotProduct(params.axis);
  if (sinAngle > 0.0) params.startDir.rotateBy(std::atan2(sinAngle, cosAngle), turnAxis / sinAngle);
  // Rounding may leave the rotated direction a hair off perpendicular.
  params.startDir = params.startDir.orthoProject(params.axis).normal();
  if (params.startDir.isZeroLength()) {
    ZcGeVector3d y;
    ocsAxes(params.axis, params.startDir, y);
  }
  return change(params);
}

double ZcDbHelix::height() const {
  assertReadEnabled();
  return params_.turns * params_.turnHeight;
}

Zcad::ErrorStatus ZcDbHelix::setHeight(double height) {
  if (!std::isfinite(height)) return Zcad::eInvalidInput;
  Params params = params_;
  if (params.constrain == kTurnHeight) {
    // The turn height stays: the number of turns follows.
    if (params.turnHeight == 0.0) return Zcad::eInvalidInput;
    params.turns = height / params.turnHeight;
  } else {
    params.turnHeight = height / params.turns;
  }
  return change(params);
}

double ZcDbHelix::baseRadius() const {
  assertReadEnabled();
  return params_.baseRadius;
}

Zcad::ErrorStatus ZcDbHelix::setBaseRadius(double radius) {
  if (!std::isfinite(radius) || radius < 0.0) return Zcad::eInvalidInput;
  Params params = params_;
  params.baseRadius = radius;
  return change(params);
}

double ZcDbHelix::topRadius() const {
  assertReadEnabled();
  return params_.topRadius;
}

Zcad::ErrorStatus ZcDbHelix::setTopRadius(double radius) {
  if (!std::isfinite(radius) || radius < 0.0) return Zcad::eInvalidInput;
  Params params = params_;
  params.topRadius = radius;
  return change(params);
}

double ZcDbHelix::turns() const {
  assertReadEnabled();
  return params_.turns;
}

Zcad::ErrorStatus ZcDbHelix::setTurns(double turns) {
  if (!validTurns(turns)) return Zcad::eInvalidInput;
  Params params = params_;
  // With the height constrained the turn height follows; otherwise it stays.
  if (params.constrain == kHeight) params.turnHeight = params.turns * params.turnHeight / turns;
  params.turns = turns;
  return change(params);
}

double ZcDbHelix::turnHeight() const {
  assertReadEnabled();
  return params_.turnHeight;
}

Zcad::ErrorStatus ZcDbHelix::setTurnHeight(double turnHeight) {
  if (!std::isfinite(turnHeight)) return Zcad::eInvalidInput;
  Params params = params_;
  if (params.constrain == kHeight) {
    // The height stays: the number of turns follows.
    if (turnHeight == 0.0) return Zcad::eInvalidInput;
    params.turns = params.turns * params.turnHeight / turnHeight;
  }
  params.turnHeight = turnHeight;
  return change(params);
}

bool ZcDbHelix::twist() const {
  assertReadEnabled();
  return params_.ccw;
}

Zcad::ErrorStatus ZcDbHelix::setTwist(bool counterClockwise) {
  Params params = params_;
  params.ccw = counterClockwise;
  return change(params);
}

ZcDbHelix::ConstrainType ZcDbHelix::constrain() const {
  assertReadEnabled();
  return params_.constrain;
}

Zcad::ErrorStatus ZcDbHelix::setConstrain(ConstrainType constrain) {
  if (constrain != kTurnHeight && constrain != kTurns && constrain != kHeight) return Zcad::eInvalidInput;
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  // Only the editing rule changes, not the curve.
  params_.constrain = constrain;
  return Zcad::eOk;
}

double ZcDbHelix::turnSlope() const {
  assertReadEnabled();
  const HelixShape shape = shapeOf(params_);
  const ZcGeVector3d tangent = helixDerivative(shape, 0.0);
  const double along = tangent.dotProduct(shape.axis);
  return std::atan2(along, (tangent - shape.axis * along).length());
}

double ZcDbHelix::totalLength() const {
  assertReadEnabled();
  return helixLength(shapeOf(params_));
}

Zcad::ErrorStatus ZcDbHelix::reverseCurve() {
  Params params = params_;
  const double endAngle = ZcGe::kTwoPi * params_.turns;
  const ZcGeVector3d quarter =
      params_.ccw ? params_.axis.crossProduct(params_.startDir) : params_.startDir.crossProduct(params_.axis);
  params.axisPoint = params_.axisPoint + params_.axis * (params_.turns * params_.turnHeight);
  params.axis = -params_.axis;
  params.startDir = (std::cos(endAngle) * params_.startDir + std::sin(endAngle) * quarter).normal();
  params.baseRadius = params_.topRadius;
  params.topRadius = params_.baseRadius;
  return change(params);
}

Zcad::ErrorStatus ZcDbHelix::transformBy(const ZcGeMatrix3d& xform) {
  double scale = 0.0;
  if (!isAffine(xform) || !isConformalMatrix(xform, scale)) return Zcad::eNotApplicable;
  Params params = params_;
  params.axisPoint = xform * params_.axisPoint;
  params.axis = (xform * params_.axis).normal();
  params.startDir = (xform * params_.startDir).normal();
  params.baseRadius *= scale;
  params.topRadius *= scale;
  params.turnHeight *= scale;
  if (isMirroring(xform)) params.ccw = !params.ccw;
  return change(params);
}

Zcad::ErrorStatus ZcDbHelix::getTransformedCopy(const ZcGeMatrix3d& xform, ZcDbEntity*& entity) const {
  assertReadEnabled();
  entity = nullptr;
  if (!isAffine(xform)) return Zcad::eNotApplicable;
  auto* copy = static_cast<ZcDbHelix*>(clone());
  if (copy->transformBy(xform) == Zcad::eOk) {
    entity = copy;
    return Zcad::eOk;
  }
  delete copy;
  // A stretched helix is no helix: its spline, stretched.
  ZcDbSpline* spline = nullptr;
  const Zcad::ErrorStatus es = getSpline(spline);
  if (es != Zcad::eOk) return es;
  spline->transformBy(xform);
  entity = spline;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbHelix::dwgOutFields(ZcDbDwgFiler* filer) const {
  assertReadEnabled();
  Zcad::ErrorStatus es = ZcDbSpline::dwgOutFields(filer);
  if (es != Zcad::eOk) return es;
  filer->writePoint3d(params_.axisPoint);
  filer->writeVector3d(params_.axis);
  filer->writeVector3d(params_.startDir);
  filer->writeDouble(params_.baseRadius);
  filer->writeDouble(params_.topRadius);
  filer->writeDouble(params_.turns);
  filer->writeDouble(params_.turnHeight);
  filer->writeBool(params_.ccw);
  filer->writeInt16(static_cast<Zdesk::Int16>(params_.constrain));
  return filer->filerStatus();
}

Zcad::ErrorStatus ZcDbHelix::dwgInFields(ZcDbDwgFiler* filer) {
  if (const Zcad::ErrorStatus open = checkedAssertWriteEnabled(); open != Zcad::eOk) return open;
  Zcad::ErrorStatus es = ZcDbSpline::dwgInFields(filer);
  if (es != Zcad::eOk) return es;
  Params params;
  Zdesk::Int16 constrain = 0;
  filer->readPoint3d(&params.axisPoint);
  filer->readVector3d(&params.axis);
  filer->readVector3d(&params.startDir);
  filer->readDouble(&params.baseRadius);
  filer->readDouble(&params.topRadius);
  filer->readDouble(&params.turns);
  filer->readDouble(&params.turnHeight);
  filer->readBool(&params.ccw);
  filer->readInt16(&constrain);
  if ((es = filer->filerStatus()) != Zcad::eOk) return es;
  if (constrain < kTurnHeight || constrain > kHeight || !zcgeIsFinite(params.axisPoint) ||
      !zcgeIsFinite(params.axis) || !zcgeIsFinite(params.startDir) || !std::isfinite(params.baseRadius) ||
      !std::isfinite(params.topRadius) || !validTurns(params.turns) || !std::isfinite(params.turnHeight))
    return Zcad::eFilerError;
  params.constrain = static_cast<ConstrainType>(constrain);
  // The spline was read as it was written: no regeneration.
  params_ = params;
  return Zcad::eOk;
}
