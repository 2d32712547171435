#pragma once
// Transient object reactor: an in-memory observer of one object (not saved in drawings).
class ZcDbObject;

class ZcDbObjectReactor {
 public:
  virtual ~ZcDbObjectReactor() = default;
  virtual void openedForModify(const ZcDbObject* /*dbObj*/) {}
  virtual void modified(const ZcDbObject* /*dbObj*/) {}
  virtual void erased(const ZcDbObject* /*dbObj*/, bool /*erasing*/) {}
  virtual void copied(const ZcDbObject* /*dbObj*/, const ZcDbObject* /*newObj*/) {}
  virtual void goodbye(const ZcDbObject* /*dbObj*/) {}
};
