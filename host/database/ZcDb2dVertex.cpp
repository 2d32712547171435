#include "zcad/db/ZcDb2dVertex.h"

#include <cmath>

namespace {

ZcRxObject* new2dVertex() { return new ZcDb2dVertex(); }

double finiteOrZero(double v) { return std::isfinite(v) ? v : 0.0; }

}  // namespace

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDb2dVertex, ZcDbVertex, L"AcDb2dVertex", L"VERTEX", &new2dVertex)

ZcDb2dVertex::ZcDb2dVertex() = default;

ZcDb2dVertex::ZcDb2dVertex(const ZcGePoint3d& position, double bulge, double startWidth, double endWidth,
                           double tangent, Zdesk::Int32 vertexIdentifier)
    : position_(zcgeIsFinite(position) ? position : ZcGePoint3d::kOrigin),
      bulge_(finiteOrZero(bulge)),
      startWidth_(std::fabs(finiteOrZero(startWidth))),
      endWidth_(std::fabs(finiteOrZero(endWidth))),
      tangent_(finiteOrZero(tangent)),
      vertexIdentifier_(vertexIdentifier) {}

ZcDb2dVertex::~ZcDb2dVertex() = default;

ZcDb::Vertex2dType ZcDb2dVertex::vertexType() const {
  assertReadEnabled();
  return type_;
}

ZcGePoint3d ZcDb2dVertex::position() const {
  assertReadEnabled();
  return position_;
}

Zcad::ErrorStatus ZcDb2dVertex::setPosition(const ZcGePoint3d& position) {
  if (!zcgeIsFinite(position)) return Zcad::eInvalidInput;
  assertWriteEnabled();
  position_ = position;
  return Zcad::eOk;
}

double ZcDb2dVertex::bulge() const {
  assertReadEnabled();
  return bulge_;
}

Zcad::ErrorStatus ZcDb2dVertex::setBulge(double bulge) {
  if (!std::isfinite(bulge)) return Zcad::eInvalidInput;
  assertWriteEnabled();
  bulge_ = bulge;
  return Zcad::eOk;
}

double ZcDb2dVertex::startWidth() const {
  assertReadEnabled();
  return startWidth_;
}

Zcad::ErrorStatus ZcDb2dVertex::setStartWidth(double width) {
  if (!std::isfinite(width)) return Zcad::eInvalidInput;
  if (width < 0.0) return Zcad::eNegativeValueNotAllowed;
  assertWriteEnabled();
  startWidth_ = width;
  return Zcad::eOk;
}

double ZcDb2dVertex::endWidth() const {
  assertReadEnabled();
  return endWidth_;
}

Zcad::ErrorStatus ZcDb2dVertex::setEndWidth(double width) {
  if (!std::isfinite(width)) return Zcad::eInvalidInput;
  if (width < 0.0) return Zcad::eNegativeValueNotAllowed;
  assertWriteEnabled();
  endWidth_ = width;
  return Zcad::eOk;
}

double ZcDb2dVertex::tangent() const {
  assertReadEnabled();
  return tangent_;
}

Zcad::ErrorStatus ZcDb2dVertex::setTangent(double tangent) {
  if (!std::isfinite(tangent)) return Zcad::eInvalidInput;
  assertWriteEnabled();
  tangent_ = tangent;
  tangentUsed_ = true;
  return Zcad::eOk;
}

bool ZcDb2dVertex::isTangentUsed() const {
  assertReadEnabled();
  return tangentUsed_;
}

Zcad::ErrorStatus ZcDb2dVertex::useTangent() {
  assertWriteEnabled();
  tangentUsed_ = true;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDb2dVertex::ignoreTangent() {
  assertWriteEnabled();
  tangentUsed_ = false;
  return Zcad::eOk;
}

Zdesk::Int32 ZcDb2dVertex::vertexIdentifier() const {
  assertReadEnabled();
  return vertexIdentifier_;
}

Zcad::ErrorStatus ZcDb2dVertex::setVertexIdentifier(Zdesk::Int32 identifier) {
  assertWriteEnabled();
  vertexIdentifier_ = identifier;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDb2dVertex::dwgOutFields(ZcDbDwgFiler* filer) const {
  const Zcad::ErrorStatus es = ZcDbVertex::dwgOutFields(filer);
  if (es != Zcad::eOk) return es;
  filer->writePoint3d(position_);
  filer->writeDouble(bulge_);
  filer->writeDouble(startWidth_);
  filer->writeDouble(endWidth_);
  filer->writeDouble(tangent_);
  filer->writeInt32(vertexIdentifier_);
  filer->writeInt16(static_cast<Zdesk::Int16>(type_));
  filer->writeBool(tangentUsed_);
  return filer->filerStatus();
}

Zcad::ErrorStatus ZcDb2dVertex::dwgInFields(ZcDbDwgFiler* filer) {
  const Zcad::ErrorStatus es = ZcDbVertex::dwgInFields(filer);
  if (es != Zcad::eOk) return es;
  Zdesk::Int16 type = 0;
  filer->readPoint3d(&position_);
  filer->readDouble(&bulge_);
  filer->readDouble(&startWidth_);
  filer->readDouble(&endWidth_);
  filer->readDouble(&tangent_);
  filer->readInt32(&vertexIdentifier_);
  filer->readInt16(&type);
  filer->readBool(&tangentUsed_);
  if (type < ZcDb::k2dVertex || type > ZcDb::k2dCurveFitVertex) return Zcad::eFilerError;
  type_ = static_cast<ZcDb::Vertex2dType>(type);
  return filer->filerStatus();
}
