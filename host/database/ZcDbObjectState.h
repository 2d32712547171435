#pragma once
// Internal: everything undo and cancel() need to put an object back as it was: a copy of its
// fields and extended data (clone()), and the parts a copy does not carry: owner, extension
// dictionary, persistent reactors and erase flag. Transient reactors are not part of it
// (they are observers of this session, not contents).
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "zcad/db/ZcDbObject.h"

class ZcDbObjectState {
 public:
  // The current state of a database-resident object.
  static std::unique_ptr<ZcDbObjectState> capture(const ZcDbObject* obj);
  // The state cancel() needs, taken at every first change after an open for write. As
  // capture(), except for a block table record: its entity list only grows while the block is
  // open (appendZcDbEntity), so the list's length is kept instead of a copy of the list. A
  // block of a million entities opened for write once per appended entity would otherwise
  // copy the whole list each time.
  static std::unique_ptr<ZcDbObjectState> captureForCancel(const ZcDbObject* obj);

  // Puts this state into obj and keeps obj's state of a moment ago in its place, so that the
  // same call undoes itself (undo, then redo).
  void swapWith(ZcDbObject* obj);
  // Puts this state into obj (cancel).
  void restoreInto(ZcDbObject* obj) const;

  // A detached object (not in a database) with this state's fields, extension dictionary
  // and persistent reactors: what handOverTo leaves behind, for undo to give back.
  ZcDbObject* takeCopy();

 private:
  std::unique_ptr<ZcDbObject> copy_;  // null when the class cannot be copied
  ZcDbObjectId owner_;
  ZcDbObjectId extensionDictionary_;
  std::vector<ZcDbObjectId> persistentReactors_;
  bool erased_ = false;
  // Set by captureForCancel for a block table record: how many entities it held.
  std::optional<std::size_t> blockEntityCount_;
};
