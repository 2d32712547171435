#pragma once
// Objects and entities of record types the host does not understand (a dimension, an image,
// a layout, a proxy, an object of a plug-in that is not loaded). Every group of the record
// is kept (ZcDbObject's kept groups) and written back as it was; the head groups (handle,
// owner, reactors, extension dictionary), the AcDbEntity groups of an entity and extended
// data are taken as for any object, so that the drawing stays consistent around it: owners
// and reactors follow handle changes, layers can be renamed, entities erased or moved
// between blocks.
#include <string>

#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbObject.h"

namespace vtcad::dxf {

class DxfUnknownObject : public ZcDbObject {
 public:
  ZCRX_DECLARE_MEMBERS(DxfUnknownObject)
  ZCDB_DECLARE_VALUE_COPY(DxfUnknownObject)
  DxfUnknownObject() = default;
  explicit DxfUnknownObject(std::string recordType) : recordType_(std::move(recordType)) {}

  // The (0, TYPE) of the record, as read (UTF-8).
  const std::string& recordType() const { return recordType_; }

 protected:
  DxfUnknownObject(const DxfUnknownObject&) = default;
  DxfUnknownObject& operator=(const DxfUnknownObject&) = default;

 private:
  std::string recordType_;
};

class DxfUnknownEntity : public ZcDbEntity {
 public:
  ZCRX_DECLARE_MEMBERS(DxfUnknownEntity)
  ZCDB_DECLARE_VALUE_COPY(DxfUnknownEntity)
  DxfUnknownEntity() = default;
  explicit DxfUnknownEntity(std::string recordType) : recordType_(std::move(recordType)) {}

  const std::string& recordType() const { return recordType_; }

 protected:
  DxfUnknownEntity(const DxfUnknownEntity&) = default;
  DxfUnknownEntity& operator=(const DxfUnknownEntity&) = default;

 private:
  std::string recordType_;
};

}  // namespace vtcad::dxf
