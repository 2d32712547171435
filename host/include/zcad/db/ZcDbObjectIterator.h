#pragma once
// ZcDbObjectIterator: walks a list of object ids (the vertices an old-style polyline owns,
// for instance). It does not open what it walks: entity() answers the resident object,
// which the caller may read only while the owner is open.
#include "zcad/db/ZcDbObjectId.h"

class ZcDbEntity;

class ZcDbObjectIterator {
 public:
  ZcDbObjectIterator() = default;
  explicit ZcDbObjectIterator(const ZcDbObjectIdArray& ids);
  virtual ~ZcDbObjectIterator();

  virtual bool done() const;
  // One step forward (or backward); erased objects are passed over with skipDeleted.
  virtual void step(bool backwards = false, bool skipDeleted = true);
  virtual ZcDbObjectId objectId() const;
  // The resident entity at the position (not opened), or nullptr.
  virtual ZcDbEntity* entity();
  // To the first (or, atEnd, the last) object.
  virtual void start(bool atEnd = false);
  // To the given object; false (position unchanged) when it is not in the list.
  virtual bool setPosition(ZcDbObjectId id);
  virtual bool setPosition(ZcDbEntity* entity);

 private:
  ZcDbObjectIdArray ids_;
  long pos_ = 0;
};
