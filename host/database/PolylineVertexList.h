#pragma once
// PolylineVertexList: the vertex objects of an old-style polyline (2-D or 3-D).
//
// Outside a database the polyline holds its vertices itself (`held`, deleted with it). Once
// it is in a database every vertex is a database object with its own id and handle, owned by
// the polyline, followed by a ZcDbSequenceEnd (`ids` and `sequenceEnd`); erased vertices stay
// in `ids` (undo and unerase bring them back) and are passed over by every reader.
//
// Copies. Undo keeps a copy of the polyline and later assigns it back, so a copy of a resident
// polyline shares its vertex ids rather than copying the vertices. Such a copy (also what
// clone() gives a caller) reads the shared vertices until it changes or is added to a
// database; then it first takes copies of them (takeCopies), so the original is never
// touched through it.
//
// The polyline reads its vertices through these pointers without opening them (it is open
// itself, and readers of the polyline must not fail because a caller holds a vertex open);
// every change to a resident vertex goes through an open for write, so undo records it.
#include <vector>

#include "zcad/db/ZcDbObjectId.h"
#include "zcad/db/ZcDbObjectIterator.h"
#include "zcad/db/ZcDbVertex.h"

namespace vtcad::db {

class PolylineVertexList {
 public:
  PolylineVertexList() = default;
  PolylineVertexList(const PolylineVertexList& other);
  PolylineVertexList& operator=(const PolylineVertexList& other);
  ~PolylineVertexList();

  // The owner's vertices in order: the held ones, or the live objects of the ids, erased
  // ones left out unless asked for.
  std::vector<ZcDbVertex*> vertices(bool includeErased = false) const;
  bool holdsIds() const { return !ids_.isEmpty(); }
  const ZcDbObjectIdArray& ids() const { return ids_; }
  ZcDbObjectId sequenceEnd() const { return sequenceEnd_; }
  // Ids of every object the polyline owns: its vertices (erased ones too) and the end marker.
  ZcDbObjectIdArray ownedIds() const;

  // Outside a database: takes ownership of `vertex`, inserted at `index` (clamped).
  void insertHeld(int index, ZcDbVertex* vertex);
  // In a database: adds `vertex` owned by `owner`, inserted at `index` among the ids; the
  // vertex is left open for write.
  Zcad::ErrorStatus insertResident(const ZcDbObject& owner, int index, ZcDbVertex* vertex, ZcDbObjectId& id);
  // Position of a vertex in the list (held pointer or id), -1 when it is not there.
  int indexOf(const ZcDbVertex* vertex) const;
  int indexOf(ZcDbObjectId id) const;

  // A copy of a resident polyline that is about to change: the shared vertices become its own.
  void takeCopies();
  // The owner has just been given an id: every vertex (held, or copied from shared ids) and a
  // new sequence end become database objects owned by it. Vertices it already owns stay.
  void moveIntoDatabase(const ZcDbObject& owner);
  // Erases (or unerases) every vertex and the sequence end with their owner.
  Zcad::ErrorStatus eraseAll(bool erasing);

  // A polyline being read from a drawing file: its vertices and end marker follow it there,
  // each with its own handle, and are added one by one (ZcDbFileAccess). The next
  // moveIntoDatabase then makes no end marker of its own: it would take the next free handle,
  // which the file usually gives the first vertex. Copies do not inherit the request.
  void takeEndMarkerFromFile() { endMarkerFromFile_ = true; }
  void appendResident(ZcDbObjectId vertexId) { ids_.append(vertexId); }
  void setSequenceEnd(ZcDbObjectId id) { sequenceEnd_ = id; }

  // Replaces the list by `order`: vertices of the current list and new ones (not in a
  // database). Outside a database the new ones become held and dropped held ones are deleted;
  // in one the new ones are added (owned by `owner`, closed) and dropped ones erased.
  Zcad::ErrorStatus replace(const ZcDbObject& owner, const std::vector<ZcDbVertex*>& order);

  // An iterator over the current list (the caller deletes it): over ids in a database, over
  // the held objects (entity(), null ids) outside one.
  ZcDbObjectIterator* newIterator() const;

 private:
  void clearHeld();

  std::vector<ZcDbVertex*> held_;
  ZcDbObjectIdArray ids_;
  ZcDbObjectId sequenceEnd_;
  bool endMarkerFromFile_ = false;
};

// Opens every id for write (erased ones too when asked); on the first failure closes what it
// opened and answers that status.
Zcad::ErrorStatus openAllForWrite(const std::vector<ZcDbObjectId>& ids, std::vector<ZcDbObject*>& objects,
                                  bool openErased = false);
void closeAll(std::vector<ZcDbObject*>& objects);

}  // namespace vtcad::db
