#include "zcad/db/ZcDb3dPolylineVertex.h"

namespace {
ZcRxObject* new3dVertex() { return new ZcDb3dPolylineVertex(); }
}  // namespace

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDb3dPolylineVertex, ZcDbVertex, L"AcDb3dPolylineVertex", L"VERTEX",
                               &new3dVertex)

ZcDb3dPolylineVertex::ZcDb3dPolylineVertex() = default;

ZcDb3dPolylineVertex::ZcDb3dPolylineVertex(const ZcGePoint3d& position)
    : position_(zcgeIsFinite(position) ? position : ZcGePoint3d::kOrigin) {}

ZcDb3dPolylineVertex::~ZcDb3dPolylineVertex() = default;

ZcDb::Vertex3dType ZcDb3dPolylineVertex::vertexType() const {
  assertReadEnabled();
  return type_;
}

ZcGePoint3d ZcDb3dPolylineVertex::position() const {
  assertReadEnabled();
  return position_;
}

Zcad::ErrorStatus ZcDb3dPolylineVertex::setPosition(const ZcGePoint3d& position) {
  if (!zcgeIsFinite(position)) return Zcad::eInvalidInput;
  assertWriteEnabled();
  position_ = position;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDb3dPolylineVertex::dwgOutFields(ZcDbDwgFiler* filer) const {
  const Zcad::ErrorStatus es = ZcDbVertex::dwgOutFields(filer);
  if (es != Zcad::eOk) return es;
  filer->writePoint3d(position_);
  filer->writeInt16(static_cast<Zdesk::Int16>(type_));
  return filer->filerStatus();
}

Zcad::ErrorStatus ZcDb3dPolylineVertex::dwgInFields(ZcDbDwgFiler* filer) {
  const Zcad::ErrorStatus es = ZcDbVertex::dwgInFields(filer);
  if (es != Zcad::eOk) return es;
  Zdesk::Int16 type = 0;
  filer->readPoint3d(&position_);
  filer->readInt16(&type);
  if (type < ZcDb::k3dSimpleVertex || type > ZcDb::k3dFitVertex) return Zcad::eFilerError;
  type_ = static_cast<ZcDb::Vertex3dType>(type);
  return filer->filerStatus();
}
