// ZcDbEntity: the properties every entity has (layer, colour, linetype, line weight,
// visibility) and the defaults of the geometric interface.
#include "zcad/db/ZcDbEntity.h"

#include "ZcDbDatabaseImpl.h"
#include "ZcDbStub.h"
#include "ZcDbValidate.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/db/ZcDbLinetypeTable.h"

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbEntity, ZcDbObject, L"AcDbEntity", nullptr, nullptr)

ZcDbEntity::ZcDbEntity() = default;
ZcDbEntity::~ZcDbEntity() = default;

namespace {

// The database whose tables an entity's properties refer to.
ZcDbDatabase* tablesOf(const ZcDbEntity* entity) {
  return entity->database() ? entity->database() : zcdbHostApplicationServices()->workingDatabase();
}

ZcString recordName(ZcDbObjectId id, const wchar_t* fallback) {
  ZcDbStub* stub = id.stub();
  auto* record = ZcDbSymbolTableRecord::cast(stub ? stub->live() : nullptr);
  return record ? record->name() : ZcString(fallback);
}

// A live record of class `cls` usable by an entity of `entity`'s database.
Zcad::ErrorStatus checkRecord(const ZcDbEntity* entity, ZcDbObjectId id, ZcRxClass* cls) {
  if (id.isNull()) return Zcad::eNullObjectId;
  if (entity->database() && id.database() != entity->database()) return Zcad::eWrongDatabase;
  ZcRxClass* actual = id.objectClass();
  if (!actual || !actual->isDerivedFrom(cls)) return Zcad::eWrongObjectType;
  if (id.isErased()) return Zcad::eWasErased;
  return Zcad::eOk;
}

ZcDbObjectId findRecordIn(ZcDbDatabase* db, ZcDbObjectId tableId, const ZTCHAR* name) {
  return db ? db->impl()->findRecord(tableId, name) : ZcDbObjectId();
}

}  // namespace

ZcString ZcDbEntity::layer() const { return recordName(layerId_, L"0"); }
ZcString ZcDbEntity::linetype() const { return recordName(linetypeId_, L"ByLayer"); }

Zcad::ErrorStatus ZcDbEntity::setLayer(const ZTCHAR* layerName, bool /*doSubents*/) {
  if (!layerName || !*layerName) return Zcad::eInvalidInput;
  ZcDbDatabase* db = tablesOf(this);
  if (!db) return Zcad::eNoDatabase;
  ZcDbObjectId id = findRecordIn(db, db->layerTableId(), layerName);
  if (id.isNull()) return Zcad::eKeyNotFound;
  return setLayer(id);
}

Zcad::ErrorStatus ZcDbEntity::setLayer(ZcDbObjectId layerId, bool /*doSubents*/) {
  if (Zcad::ErrorStatus es = checkRecord(this, layerId, ZcDbLayerTableRecord::desc()); es != Zcad::eOk) {
    return es == Zcad::eWrongObjectType ? Zcad::eInvalidInput : es;
  }
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  layerId_ = layerId;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEntity::setColor(const ZcCmColor& color, bool /*doSubents*/) {
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  color_ = color;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEntity::setColorIndex(Zdesk::UInt16 colorIndex, bool doSubents) {
  ZcCmColor color;
  if (!color.setColorIndex(colorIndex)) return Zcad::eInvalidInput;
  return setColor(color, doSubents);
}

Zcad::ErrorStatus ZcDbEntity::setLinetype(ZcDbObjectId linetypeId, bool /*doSubents*/) {
  if (Zcad::ErrorStatus es = checkRecord(this, linetypeId, ZcDbLinetypeTableRecord::desc());
      es != Zcad::eOk) {
    return es == Zcad::eWrongObjectType ? Zcad::eInvalidInput : es;
  }
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  linetypeId_ = linetypeId;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEntity::setLinetype(const ZTCHAR* linetypeName, bool doSubents) {
  if (!linetypeName || !*linetypeName) return Zcad::eInvalidInput;
  ZcDbDatabase* db = tablesOf(this);
  if (!db) return Zcad::eNoDatabase;
  ZcDbObjectId id = findRecordIn(db, db->linetypeTableId(), linetypeName);
  if (id.isNull()) return Zcad::eKeyNotFound;
  return setLinetype(id, doSubents);
}

Zcad::ErrorStatus ZcDbEntity::setLinetypeScale(double scale, bool /*doSubents*/) {
  if (!zcdbFinite(scale) || scale <= 0.0) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  linetypeScale_ = scale;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEntity::setLineWeight(ZcDb::LineWeight weight, bool /*doSubents*/) {
  if (!zcdbIsValidLineWeight(weight)) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  lineWeight_ = static_cast<Zdesk::Int16>(weight);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEntity::setVisibility(ZcDb::Visibility visibility, bool /*doSubents*/) {
  if (visibility != ZcDb::kVisible && visibility != ZcDb::kInvisible) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  visibility_ = static_cast<Zdesk::UInt8>(visibility);
  return Zcad::eOk;
}

void ZcDbEntity::setDatabaseDefaults(ZcDbDatabase* db) {
  if (!db) db = tablesOf(this);
  if (!db || checkedAssertWriteEnabled() != Zcad::eOk) return;
  // Ids of another database would dangle once this entity joins its own: only this one's.
  if (!database() || database() == db) {
    layerId_ = db->clayer();
    linetypeId_ = db->celtype();
  }
  color_ = db->cecolor();
  linetypeScale_ = db->celtscale();
  lineWeight_ = static_cast<Zdesk::Int16>(db->celweight());
}

Zcad::ErrorStatus ZcDbEntity::setPropertiesFrom(const ZcDbEntity* entity, bool /*doSubents*/) {
  if (!entity) return Zcad::eNullEntityPointer;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  bool sameTables = !database() || !entity->database() || database() == entity->database();
  if (sameTables) {
    layerId_ = entity->layerId_;
    linetypeId_ = entity->linetypeId_;
  }
  color_ = entity->color_;
  linetypeScale_ = entity->linetypeScale_;
  lineWeight_ = entity->lineWeight_;
  visibility_ = entity->visibility_;
  return Zcad::eOk;
}

// Entities know their own geometry; the base has none to give.
Zcad::ErrorStatus ZcDbEntity::getGeomExtents(ZcDbExtents& /*extents*/) const { return Zcad::eNotApplicable; }
Zcad::ErrorStatus ZcDbEntity::transformBy(const ZcGeMatrix3d& /*xform*/) { return Zcad::eNotApplicable; }

Zcad::ErrorStatus ZcDbEntity::getTransformedCopy(const ZcGeMatrix3d& xform, ZcDbEntity*& entity) const {
  entity = nullptr;
  ZcRxObject* copy = clone();
  auto* copied = ZcDbEntity::cast(copy);
  if (!copied) {
    delete copy;
    return Zcad::eNotApplicable;
  }
  Zcad::ErrorStatus es = copied->transformBy(xform);
  if (es != Zcad::eOk) {
    delete copied;
    return es;
  }
  entity = copied;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEntity::getPlane(ZcGePlane& plane, bool& isPlanar) const {
  plane = ZcGePlane::kXYPlane;
  isPlanar = false;
  return Zcad::eNotApplicable;
}

bool ZcDbEntity::isPlanar() const {
  ZcGePlane plane;
  bool planar = false;
  return getPlane(plane, planar) == Zcad::eOk && planar;
}

Zcad::ErrorStatus ZcDbEntity::dwgOutFields(ZcDbDwgFiler* filer) const {
  Zcad::ErrorStatus es = ZcDbObject::dwgOutFields(filer);
  if (es != Zcad::eOk) return es;
  filer->writeSoftPointerId(layerId_);
  filer->writeSoftPointerId(linetypeId_);
  filer->writeInt16(static_cast<Zdesk::Int16>(color_.colorMethod()));
  filer->writeInt16(static_cast<Zdesk::Int16>(color_.colorIndex()));
  filer->writeInt32(static_cast<Zdesk::Int32>(color_.trueColorValue()));
  filer->writeDouble(linetypeScale_);
  filer->writeInt16(lineWeight_);
  filer->writeInt16(visibility_);
  return filer->filerStatus();
}

Zcad::ErrorStatus ZcDbEntity::dwgInFields(ZcDbDwgFiler* filer) {
  Zcad::ErrorStatus es = ZcDbObject::dwgInFields(filer);
  if (es != Zcad::eOk) return es;
  Zdesk::Int16 method = 0, index = 0, weight = 0, visibility = 0;
  Zdesk::Int32 rgb = 0;
  double scale = 1.0;
  filer->readSoftPointerId(&layerId_);
  filer->readSoftPointerId(&linetypeId_);
  filer->readInt16(&method);
  filer->readInt16(&index);
  filer->readInt32(&rgb);
  filer->readDouble(&scale);
  filer->readInt16(&weight);
  filer->readInt16(&visibility);
  if (filer->filerStatus() != Zcad::eOk) return filer->filerStatus();
  ZcCmColor color;
  if (method == ZcCmEntityColor::kByColor) {
    auto c = static_cast<Zdesk::UInt32>(rgb);
    color.setRGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
  } else {
    color.setColorIndex(static_cast<Zdesk::UInt16>(index));
  }
  color_ = color;
  linetypeScale_ = zcdbFinite(scale) && scale > 0.0 ? scale : 1.0;
  lineWeight_ = zcdbIsValidLineWeight(weight) ? weight : static_cast<Zdesk::Int16>(ZcDb::kLnWtByLayer);
  visibility_ = visibility == ZcDb::kInvisible ? ZcDb::kInvisible : ZcDb::kVisible;
  return Zcad::eOk;
}
