#pragma once
// Internal: what a drawing-file reader and writer need beyond the public interface. A reader
// fills an empty database with objects that keep the handles, owners and names of the file
// (names a command could not give, such as duplicates a repair renames later), without the
// notifications, undo records and checks that commands go through.
#include <functional>
#include <string>
#include <vector>

#include "ZcDbKeptGroup.h"
#include "zcad/ZcadErrorStatus.h"
#include "zcad/db/ZcDb.h"
#include "zcad/db/ZcDbHandle.h"
#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGeArrays.h"
#include "zcad/zds.h"

class ZcDbDatabase;
class ZcDbObject;
class ZcDbSymbolTable;
class ZcDbSymbolTableRecord;
class ZcDbBlockTableRecord;
class ZcDbDictionary;
class ZcDbEntity;
class ZcString;
class ZcDb2dPolyline;
class ZcDb2dVertex;
class ZcDb3dPolyline;
class ZcDb3dPolylineVertex;
class ZcDbSequenceEnd;
class ZcDbSpline;
class ZcDbVertex;
namespace vtcad::db {
class PolylineVertexList;
}

class ZcDbFileAccess {
 public:
  // Kept groups of an object; null when it has none.
  static const std::vector<ZcDbKeptGroup>* keptGroups(const ZcDbObject* obj);
  static std::vector<ZcDbKeptGroup>& keptGroupsForWrite(ZcDbObject* obj);

  // Puts a new object into the database with the file's handle (null handle: the next free
  // one) and owner. The object is closed afterwards. eHandleInUse when another object has
  // the handle already.
  static Zcad::ErrorStatus add(ZcDbDatabase* db, ZcDbObject* obj, ZcDbObjectId owner, ZcDbHandle handle,
                               ZcDbObjectId& id);
  // Id of a handle, making an empty stub for a handle not seen yet (a forward reference);
  // null for the null handle.
  static ZcDbObjectId idOfHandle(ZcDbDatabase* db, ZcDbHandle handle);
  // Keeps a handle from being given to a new object (handles of file records that are not
  // objects of the database, such as BLOCK and ENDBLK).
  static void reserveHandle(ZcDbDatabase* db, ZcDbHandle handle);
  static bool isHandleUsed(ZcDbDatabase* db, ZcDbHandle handle);
  // Ids with a stub but no object: referenced in the file and never defined.
  static std::vector<ZcDbObjectId> unresolvedIds(ZcDbDatabase* db);
  // Every live object of the database, erased ones excluded, in handle order or as stored.
  static std::vector<ZcDbObjectId> liveIds(ZcDbDatabase* db, bool sorted = true);
  // The same as stored, handed to `visit` one by one without a list of them all (a pass over
  // a large drawing then touches no fresh memory).
  static void forEachLive(ZcDbDatabase* db, const std::function<void(ZcDbObjectId)>& visit);

  static void setOwner(ZcDbObjectId id, ZcDbObjectId owner);
  static void appendRecord(ZcDbSymbolTable* table, ZcDbObjectId recordId);
  static void setRecordName(ZcDbSymbolTableRecord* record, const ZcString& name);
  static void appendEntity(ZcDbBlockTableRecord* block, ZcDbObjectId entityId);
  // Sets an entry without erasing what was there (a file's duplicate key replaces the entry).
  static void setDictionaryEntry(ZcDbDictionary* dict, const std::wstring& key, ZcDbObjectId id);
  static void setExtensionDictionary(ZcDbObject* obj, ZcDbObjectId dictId);
  static void addPersistentReactor(ZcDbObject* obj, ZcDbObjectId reactorId);
  // Takes the chain (1001 groups and their items) as the object's extended data, unchecked.
  static void setXData(ZcDbObject* obj, resbuf* xdata);
  // Layer and linetype of an entity being read (the public setters check the working
  // database, which the drawing being read is not).
  static void setEntityLayer(ZcDbEntity* entity, ZcDbObjectId layerId);
  static void setEntityLinetype(ZcDbEntity* entity, ZcDbObjectId linetypeId);
  // Completes a drawing read from a file (see ZcDbDatabaseImpl::completeDrawing).
  static std::vector<std::wstring> completeDrawing(ZcDbDatabase* db, bool withNamedObjects);
  static void setNamedObjectsDictionary(ZcDbDatabase* db, ZcDbObjectId id);
  // Handle value of an id (0 for null).
  static Zdesk::UInt64 handleOf(ZcDbObjectId id);
  // Makes sure new objects get handles above `handle` (the file's $HANDSEED).
  static void raiseHandseed(ZcDbDatabase* db, Zdesk::UInt64 handle);
  // Readies the handle index for about `count` objects in all, so that it does not grow
  // step by step while they are added (a hint: more or fewer may come).
  static void expectObjects(ZcDbDatabase* db, size_t count);
  static ZcDbFileKept& fileKept(ZcDbDatabase* db);
  // Raw pointer of the object of an id (live or not), without opening it.
  static ZcDbObject* peek(ZcDbObjectId id);

  // Old-style polylines (ZcDb2dPolyline, ZcDb3dPolyline) as a file holds them: the form set
  // without refitting (the file has the fitted vertices), the kinds of the vertices, and the
  // vertices and the end marker that follow the polyline in the file with their own handles.
  static void setPolylineForm(ZcDb2dPolyline* pline, ZcDb::Poly2dType type, bool closed);
  static void setPolylineForm(ZcDb3dPolyline* pline, ZcDb::Poly3dType type, bool closed);
  static void setVertexType(ZcDb2dVertex* vertex, ZcDb::Vertex2dType type);
  static void setVertexType(ZcDb3dPolylineVertex* vertex, ZcDb::Vertex3dType type);
  // Called before the polyline is added: adding it then makes no end marker of its own.
  static void takeEndMarkerFromFile(ZcDbEntity* pline);
  // Adds a vertex (after the others) or the end marker to the database, owned by the resident
  // polyline, with the file's handle (null: the next free one); the object is closed
  // afterwards. eWrongObjectType for a vertex of the other kind of polyline, eAlreadyInDb for
  // a second end marker, eHandleInUse for a taken handle: nothing changes then.
  static Zcad::ErrorStatus appendPolylineVertex(ZcDbEntity* pline, ZcDbVertex* vertex, ZcDbHandle handle);
  static Zcad::ErrorStatus setPolylineEndMarker(ZcDbEntity* pline, ZcDbSequenceEnd* end, ZcDbHandle handle);
  // A resident polyline whose file had no end marker gets one, with the next free handle.
  static void completePolyline(ZcDbEntity* pline);
  // The polyline's end marker (null when it has none).
  static ZcDbObjectId polylineEndMarker(const ZcDbEntity* pline);
  // A spline read from a file gets the fit data the file gave beside its control points, as
  // they are: interpolating again could move the curve off the file's control points.
  static void setSplineFitData(ZcDbSpline* spline, const ZcGePoint3dArray& points,
                               const ZcGeVector3d& startTangent, const ZcGeVector3d& endTangent,
                               double tolerance);

 private:
  static vtcad::db::PolylineVertexList* vertexListOf(const ZcDbEntity* pline);
};
