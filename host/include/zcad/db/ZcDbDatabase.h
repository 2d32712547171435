#pragma once
// ZcDbDatabase: one drawing. It owns every object of the drawing (the tables and their
// records, the named-objects dictionary, the blocks and their entities) and hands them out
// by id. A new database holds what every drawing has: model space "*Model_Space", paper space
// "*Paper_Space", layer "0", linetypes "ByBlock", "ByLayer", "Continuous", text style
// "Standard", viewport "*Active", application "ACAD", and the named-objects dictionary.
#include <memory>
#include <string>

#include "zcad/ZcString.h"
#include "zcad/db/ZcCmColor.h"
#include "zcad/db/ZcDbObject.h"
#include "zcad/ge/ZcGePoint2d.h"
#include "zcad/ge/ZcGePoint3d.h"

class ZcDbBlockTable;
class ZcDbLayerTable;
class ZcDbLinetypeTable;
class ZcDbTextStyleTable;
class ZcDbViewportTable;
class ZcDbRegAppTable;
class ZcDbDimStyleTable;
class ZcDbUCSTable;
class ZcDbViewTable;
class ZcDbSymbolTable;
class ZcDbDictionary;
class ZcDbDatabaseImpl;

class ZcDbDatabase {
 public:
  // buildDefaultDrawing false gives an empty database for a file reader to fill.
  explicit ZcDbDatabase(bool buildDefaultDrawing = true, bool noDocument = false);
  ~ZcDbDatabase();
  ZcDbDatabase(const ZcDbDatabase&) = delete;
  ZcDbDatabase& operator=(const ZcDbDatabase&) = delete;

  // Tables and the named-objects dictionary.
  ZcDbObjectId blockTableId() const;
  ZcDbObjectId layerTableId() const;
  ZcDbObjectId linetypeTableId() const;
  ZcDbObjectId textStyleTableId() const;
  ZcDbObjectId viewportTableId() const;
  ZcDbObjectId regAppTableId() const;
  ZcDbObjectId dimStyleTableId() const;
  ZcDbObjectId UCSTableId() const;
  ZcDbObjectId viewTableId() const;
  ZcDbObjectId namedObjectsDictionaryId() const;
  Zcad::ErrorStatus getBlockTable(ZcDbBlockTable*& table, ZcDb::OpenMode mode);
  Zcad::ErrorStatus getLayerTable(ZcDbLayerTable*& table, ZcDb::OpenMode mode);
  Zcad::ErrorStatus getLinetypeTable(ZcDbLinetypeTable*& table, ZcDb::OpenMode mode);
  Zcad::ErrorStatus getTextStyleTable(ZcDbTextStyleTable*& table, ZcDb::OpenMode mode);
  Zcad::ErrorStatus getViewportTable(ZcDbViewportTable*& table, ZcDb::OpenMode mode);
  Zcad::ErrorStatus getRegAppTable(ZcDbRegAppTable*& table, ZcDb::OpenMode mode);
  Zcad::ErrorStatus getDimStyleTable(ZcDbDimStyleTable*& table, ZcDb::OpenMode mode);
  Zcad::ErrorStatus getUCSTable(ZcDbUCSTable*& table, ZcDb::OpenMode mode);
  Zcad::ErrorStatus getViewTable(ZcDbViewTable*& table, ZcDb::OpenMode mode);
  Zcad::ErrorStatus getNamedObjectsDictionary(ZcDbDictionary*& dict, ZcDb::OpenMode mode);

  // Spaces. The current space is model space unless a paper-space layout is active.
  ZcDbObjectId modelSpaceId() const;
  ZcDbObjectId paperSpaceId() const;
  ZcDbObjectId currentSpaceId() const;
  Zcad::ErrorStatus setCurrentSpace(ZcDbObjectId blockTableRecordId);

  // Handles.
  Zcad::ErrorStatus getZcDbObjectId(ZcDbObjectId& id, bool createIfNotFound, const ZcDbHandle& handle,
                                    Zdesk::UInt32 xRefId = 0);
  ZcDbHandle handseed() const;
  // Adds an object that has no owner yet (it stays open for write, the caller closes it).
  Zcad::ErrorStatus addZcDbObject(ZcDbObjectId& id, ZcDbObject* obj);
  // Same, with the handle the object had in a drawing file (the reader keeps handles).
  Zcad::ErrorStatus addZcDbObjectWithHandle(ZcDbObjectId& id, ZcDbObject* obj, const ZcDbHandle& handle);
  int approxNumObjects() const;

  // Drawing defaults (header variables the host uses).
  ZcDbObjectId clayer() const;
  Zcad::ErrorStatus setClayer(ZcDbObjectId layerId);
  ZcCmColor cecolor() const;
  Zcad::ErrorStatus setCecolor(const ZcCmColor& color);
  ZcDbObjectId celtype() const;
  Zcad::ErrorStatus setCeltype(ZcDbObjectId linetypeId);
  double celtscale() const;
  Zcad::ErrorStatus setCeltscale(double scale);
  ZcDb::LineWeight celweight() const;
  Zcad::ErrorStatus setCelweight(ZcDb::LineWeight weight);
  ZcDbObjectId textstyle() const;
  Zcad::ErrorStatus setTextstyle(ZcDbObjectId styleId);
  double textsize() const;
  Zcad::ErrorStatus setTextsize(double size);
  Zdesk::Int16 pdmode() const;
  Zcad::ErrorStatus setPdmode(Zdesk::Int16 mode);
  double pdsize() const;
  Zcad::ErrorStatus setPdsize(double size);
  Zdesk::Int16 surftab1() const;
  Zcad::ErrorStatus setSurftab1(Zdesk::Int16 value);
  Zdesk::Int16 splinesegs() const;
  Zcad::ErrorStatus setSplinesegs(Zdesk::Int16 value);
  bool mirrtext() const;
  Zcad::ErrorStatus setMirrtext(bool value);
  ZcGePoint3d extmin() const;
  ZcGePoint3d extmax() const;
  Zcad::ErrorStatus setExtmin(const ZcGePoint3d& point);
  Zcad::ErrorStatus setExtmax(const ZcGePoint3d& point);
  // The box of every visible entity of model space (extmin/extmax recomputed).
  Zcad::ErrorStatus updateExt(bool doBestFit = false);
  Zdesk::Int16 insunits() const;
  Zcad::ErrorStatus setInsunits(Zdesk::Int16 units);

  // Every header variable by name (without the '$', any case), for the drawing-file reader
  // and the command line. The value is a chain of DXF groups (as the file has it: EXTMIN is
  // one group 10 point, CLAYER a group 8 name). Variables with a typed accessor above are
  // answered from and stored through it (a layer, linetype or style name the tables do not
  // have yet is kept and resolved when it appears); the others are kept as given.
  // getHeaderVar returns a new chain (free it with zcutRelRb), nullptr for an unknown name.
  resbuf* getHeaderVar(const ZTCHAR* name) const;
  // eInvalidInput for an empty name or a null/invalid value (non-finite reals included).
  Zcad::ErrorStatus setHeaderVar(const ZTCHAR* name, const resbuf* value);
  // Names of all variables getHeaderVar answers, upper-case, sorted.
  ZcArray<ZcString> headerVarNames() const;

  // Undo of whole commands. Between beginUndoGroup and endUndoGroup every object changed,
  // added or erased is recorded once (its state before the first change); undo() takes the
  // last group back, redo() brings it again. Groups nest: only the outermost counts.
  void beginUndoGroup(const ZTCHAR* name = nullptr);
  void endUndoGroup();
  // Ends the outermost group by taking back everything recorded in it, leaving nothing to
  // undo or redo (a command broken off). Inside a nested group it only ends that one.
  // eInvalidOpenState when objects are still open: the group then stays, to undo later.
  Zcad::ErrorStatus cancelUndoGroup();
  bool isRecordingUndo() const;
  int undoGroupCount() const;
  Zcad::ErrorStatus undo(int groups = 1);
  Zcad::ErrorStatus redo(int groups = 1);
  void disableUndoRecording(bool disable);
  // Groups that redo() can bring back.
  int redoGroupCount() const;

  ZcDbDatabaseImpl* impl() const { return impl_.get(); }

 private:
  std::unique_ptr<ZcDbDatabaseImpl> impl_;
};

// The working database (the open drawing that commands act on).
class ZcDbHostApplicationServices {
 public:
  ZcDbDatabase* workingDatabase() const { return working_; }
  void setWorkingDatabase(ZcDbDatabase* db) { working_ = db; }

 private:
  ZcDbDatabase* working_ = nullptr;
};
ZcDbHostApplicationServices* zcdbHostApplicationServices();
inline ZcDbDatabase* zcdbCurDwg() { return zcdbHostApplicationServices()->workingDatabase(); }

// Registers an application name for extended data in the working database (no effect when
// already registered).
int zcdbRegApp(const ZTCHAR* appName);  // RTNORM, or RTERROR for an invalid name
