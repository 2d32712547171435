#pragma once
// Internal: what a ZcDbDatabase holds. Stubs live in a deque (their addresses never change,
// so ids stay valid for the whole life of the database); objects are owned through their
// stubs and freed with the database.
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "HandleIndex.h"
#include "ZcDbKeptGroup.h"
#include "ZcDbObjectState.h"
#include "ZcDbStub.h"
#include "ZcDbUndo.h"
#include "zcad/db/ZcCmColor.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/ge/ZcGePoint3d.h"

// Header variables that have a typed accessor; the others are kept as given (`other`).
struct ZcDbHeaderVars {
  ZcDbObjectId clayer;
  ZcDbObjectId celtype;
  ZcDbObjectId textstyle;
  ZcCmColor cecolor;
  double celtscale = 1.0;
  double textsize = 2.5;
  double pdsize = 0.0;
  ZcDb::LineWeight celweight = ZcDb::kLnWtByLayer;
  Zdesk::Int16 pdmode = 0;
  Zdesk::Int16 surftab1 = 6;
  Zdesk::Int16 splinesegs = 8;
  Zdesk::Int16 insunits = 4;  // millimetres, like the default A3 view
  bool mirrtext = false;
  // An empty drawing's extents, as drawing files write them.
  ZcGePoint3d extmin{1e20, 1e20, 1e20};
  ZcGePoint3d extmax{-1e20, -1e20, -1e20};
  // Upper-case name without '$' -> owned chain.
  std::map<std::wstring, resbuf*> other;

  ZcDbHeaderVars() = default;
  ZcDbHeaderVars(const ZcDbHeaderVars&) = delete;
  ZcDbHeaderVars& operator=(const ZcDbHeaderVars&) = delete;
  ~ZcDbHeaderVars();
};

class ZcDbDatabaseImpl {
 public:
  explicit ZcDbDatabaseImpl(ZcDbDatabase* db);
  ~ZcDbDatabaseImpl();
  ZcDbDatabaseImpl(const ZcDbDatabaseImpl&) = delete;
  ZcDbDatabaseImpl& operator=(const ZcDbDatabaseImpl&) = delete;

  static ZcDbDatabaseImpl* of(const ZcDbDatabase* db) { return db ? db->impl() : nullptr; }

  // Puts a new object (not in a database) into this one with the given owner; a null
  // handle takes the next free one. The object is left open for write, as new.
  Zcad::ErrorStatus addObject(ZcDbObject* obj, ZcDbObjectId owner, ZcDbObjectId& id,
                              ZcDbHandle handle = ZcDbHandle());
  // The stub for a handle, made (empty) when missing and `create`.
  ZcDbStub* stubForHandle(ZcDbHandle handle, bool create);
  // A new, empty stub for a handle that has none yet (the caller has looked).
  ZcDbStub* newStub(ZcDbHandle handle);
  // The live object of an id of this database, without opening it (internal reads).
  ZcDbObject* peek(ZcDbObjectId id) const;
  // The live, not erased record named `name` of the table `tableId` (null if none).
  ZcDbObjectId findRecord(ZcDbObjectId tableId, const ZTCHAR* name) const;
  // Objects the drawing cannot do without (tables, spaces, layer "0", ...).
  bool cannotBeErased(ZcDbObjectId id) const;
  // Notes well-known objects a reader adds to an empty database (tables, spaces).
  void noteWellKnown(ZcDbObject* obj);
  // Grows the drawing extents by a model-space entity that was added or changed.
  void growExtents(const ZcDbObject* obj);
  void buildDefaultDrawing();
  // Adds what a drawing cannot do without and a file left out (tables, the named-objects
  // dictionary, layer "0", the standard linetypes, text style and application, the spaces),
  // with the next free handles. Answers the names of what it added.
  std::vector<std::wstring> completeDrawing(bool withNamedObjects = true);

  ZcDbDatabase* db;
  std::deque<ZcDbStub> stubs;
  vtcad::db::HandleIndex byHandle{stubs};
  Zdesk::UInt64 handseed = 1;

  ZcDbObjectId blockTable, layerTable, linetypeTable, textStyleTable, viewportTable, regAppTable,
      dimStyleTable, ucsTable, viewTable, namedObjects;
  ZcDbObjectId modelSpace, paperSpace, currentSpace;
  ZcDbHeaderVars vars;
  ZcDbFileKept fileKept;

  // Objects open now (each open counts; undo refuses to run while any is open).
  int openCount = 0;
  // Counts changes of any object: each close or downgrade of a write open, each cancel, each
  // undo or redo step, each id swap. What is worked out from the drawing and kept
  // (`derived`) stays valid while this number stays the same.
  Zdesk::UInt64 changes = 0;
  // Which object each recent change was of, oldest first: changeLog[i] is change number
  // changeLogStart + i + 1. Kept data that follows single objects (the editor's selection
  // index) catches up from here instead of starting again; data older than the log does.
  // The log is emptied when it reaches kChangeLogLimit.
  static constexpr std::size_t kChangeLogLimit = 1 << 16;
  std::vector<ZcDbStub*> changeLog;
  Zdesk::UInt64 changeLogStart = 0;
  void noteChange(ZcDbStub* stub) {
    if (changeLog.size() >= kChangeLogLimit) {
      changeLog.clear();
      changeLogStart = changes;
    }
    ++changes;
    changeLog.push_back(stub);
  }
  // Whether every change after change number `since` was of a view or viewport record (a pan
  // or zoom writes the current view; nothing drawn depends on it). False when the log no
  // longer reaches back that far.
  bool onlyViewsChangedSince(Zdesk::UInt64 since) const;
  // Data worked out from the drawing by other modules (the renderer's box tree of a space),
  // by a name of their choosing; freed with the database.
  struct Derived {
    virtual ~Derived() = default;
  };
  std::unordered_map<std::string, std::unique_ptr<Derived>> derived;
  // Nesting of notifications being sent (bounded, see ZcDbNotifier).
  int notifyDepth = 0;
  bool destroying = false;
  // Pre-change copies for cancel(), from the first change of an open until close.
  std::unordered_map<ZcDbStub*, std::unique_ptr<ZcDbObjectState>> cancelStates;
  ZcDbUndoManager undo{*this};
};
