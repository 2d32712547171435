#pragma once
// Internal: undo of whole commands (see docs/database.md).
//
// A group holds records in the order the changes happened. Every record is its own
// inverse: applying it exchanges the database's present with the state it holds. Undo
// applies a group's records last to first, redo first to last, and each leaves the record
// ready for the other direction.
#include <memory>
#include <string>
#include <vector>

#include "ZcDbObjectState.h"
#include "ZcDbStub.h"

class ZcDbDatabaseImpl;

class ZcDbUndoManager {
 public:
  explicit ZcDbUndoManager(ZcDbDatabaseImpl& impl) : impl_(impl) {}
  ~ZcDbUndoManager();
  ZcDbUndoManager(const ZcDbUndoManager&) = delete;
  ZcDbUndoManager& operator=(const ZcDbUndoManager&) = delete;

  void beginGroup(const ZTCHAR* name);
  void endGroup();
  // Ends the outermost group by taking back what it recorded, for good: it is left neither to
  // undo nor to redo (a cancelled command). An inner group only ends. When the changes cannot
  // be taken back (objects still open) the group stays as endGroup would leave it.
  Zcad::ErrorStatus cancelGroup();
  bool isRecording() const { return depth_ > 0 && !disabled_ && !running_; }
  bool isRunning() const { return running_; }
  bool isInGroup() const { return depth_ > 0; }
  void setDisabled(bool disabled) { disabled_ = disabled; }

  // Called at the first change of an object: keeps its state once per group.
  void recordModified(ZcDbObject* obj);
  void recordAdded(ZcDbObject* obj);
  // oldState is the state of the object that handed over, captured before it left.
  void recordHandOver(ZcDbStub* stub, std::unique_ptr<ZcDbObjectState> oldState);
  void recordSwap(ZcDbStub* first, ZcDbStub* second, bool swapXdata, bool swapExtDict);
  // A change outside undo's control happened after undo: redo is no longer possible.
  void dropRedo() {
    if (!undone_.empty()) clearRedo();
  }

  Zcad::ErrorStatus undo(int groups);
  Zcad::ErrorStatus redo(int groups);
  int groupCount() const { return static_cast<int>(done_.size()); }
  int redoCount() const { return static_cast<int>(undone_.size()); }
  // Records kept in all groups (tests use it to see that nothing was recorded).
  size_t recordCount() const;

 private:
  struct Record {
    enum class Kind { kModified, kAdded, kHandOver, kSwap };
    Record(Kind k, ZcDbStub* s, ZcDbStub* o = nullptr, std::unique_ptr<ZcDbObjectState> st = nullptr)
        : kind(k), stub(s), other(o), state(std::move(st)) {}
    Kind kind;
    ZcDbStub* stub;
    ZcDbStub* other = nullptr;
    std::unique_ptr<ZcDbObjectState> state;
    // kHandOver: the object that is out of the database at the moment (owned here).
    ZcDbObject* detached = nullptr;
    bool swapXdata = false;
    bool swapExtDict = false;
  };
  struct Group {
    std::wstring name;
    std::vector<Record> records;
  };

  void apply(Record& record);
  // Frees what a group's records own; objects whose adding is undone for good are freed too.
  void discard(Group& group, bool undone);
  void clearRedo();
  Zcad::ErrorStatus checkCanRun() const;

  ZcDbDatabaseImpl& impl_;
  std::vector<Group> done_;
  std::vector<Group> undone_;
  Group current_;
  int depth_ = 0;
  bool disabled_ = false;
  bool running_ = false;
  Zdesk::UInt32 serial_ = 0;
};

// Exchanges the ids of two resident objects (and, per flags, their extended data and
// extension dictionaries); applying it twice gives the start back.
void zcdbSwapObjects(ZcDbStub* first, ZcDbStub* second, bool swapXdata, bool swapExtDict);
