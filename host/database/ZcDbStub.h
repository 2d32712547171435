#pragma once
// Internal: the stub behind an object id. The database owns its stubs (stable addresses for
// the whole life of the database, so ids never dangle) and the objects they point at.
#include "zcad/db/ZcDbObject.h"

class ZcDbStub {
 public:
  ZcDbDatabase* database = nullptr;
  // The resident object; null for a handle the reader has referenced but not filled yet, or
  // for an object whose adding command was undone and whose redo was dropped.
  ZcDbObject* object = nullptr;
  ZcDbObjectId owner;
  ZcDbHandle handle;
  bool erased = false;
  // Added by a command that has been undone: unreachable (not openable) until redo.
  bool dead = false;

  // The stub's object when it can be opened or notified: resident and not undone.
  ZcDbObject* live() const { return dead ? nullptr : object; }
};

// The database implementation of an object (null for an object outside any database).
class ZcDbDatabaseImpl;
ZcDbDatabaseImpl* zcdbImplOf(const ZcDbStub* stub);
