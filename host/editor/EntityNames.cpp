// Entity names (zds_name) of the command-line interface: [0] the object id, [1] its database.
#include "editor/EntityNames.h"

#include <mutex>
#include <unordered_set>

#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbObjectIterator.h"
#include "zcad/zced.h"

namespace {

// Ids given out as entity names. Ids stay valid pointers for the life of their database's
// stubs; names of a database that was closed are dropped with it (forgetEntityNames).
std::unordered_set<Zdesk::LongPtr>& issuedNames() {
  static std::unordered_set<Zdesk::LongPtr> names;
  return names;
}

// The entities of the current space in drawing order, erased ones left out.
std::vector<ZcDbObjectId> spaceEntities(ZcDbDatabase* db) {
  std::vector<ZcDbObjectId> ids;
  if (!db) return ids;
  ZcDbBlockTableRecord* space = nullptr;
  if (zcdbOpenObject(space, db->currentSpaceId(), ZcDb::kForRead) != Zcad::eOk) return ids;
  ZcDbBlockTableRecordIterator* it = nullptr;
  if (space->newIterator(it) == Zcad::eOk && it) {
    for (it->start(); !it->done(); it->step()) {
      ZcDbObjectId id;
      if (it->getEntityId(id) == Zcad::eOk && !id.isErased()) ids.push_back(id);
    }
    delete it;
  }
  space->close();
  return ids;
}

}  // namespace

namespace vtcad::editor {

ZcDbObjectId idOfEntityName(const Zdesk::LongPtr* name) {
  ZcDbObjectId id;
  if (!name || name[0] == 0 || !issuedNames().count(name[0])) return id;
  id.setFromOldId(name[0]);
  // The name outlived its drawing (a new drawing was opened since).
  if (id.database() != reinterpret_cast<ZcDbDatabase*>(name[1])) id.setNull();
  return id;
}

void forgetEntityNames() { issuedNames().clear(); }

}  // namespace vtcad::editor

Zcad::ErrorStatus zcdbGetObjectId(ZcDbObjectId& objId, const zds_name ename) {
  objId = vtcad::editor::idOfEntityName(ename);
  return objId.isNull() ? Zcad::eNullObjectId : Zcad::eOk;
}

Zcad::ErrorStatus zcdbGetZdsName(zds_name& objName, ZcDbObjectId objId) {
  if (!objId.isNull()) issuedNames().insert(objId.asOldId());
  objName[0] = objId.asOldId();
  objName[1] = reinterpret_cast<Zdesk::LongPtr>(objId.database());
  return objId.isNull() ? Zcad::eNullObjectId : Zcad::eOk;
}

int zcdbEntLast(zds_name result) {
  if (!result) return RTERROR;
  std::vector<ZcDbObjectId> ids = spaceEntities(zcdbCurDwg());
  if (ids.empty()) return RTERROR;
  zcdbGetZdsName(*reinterpret_cast<zds_name*>(result), ids.back());
  return RTNORM;
}

int zcdbEntNext(const zds_name ent, zds_name result) {
  if (!result) return RTERROR;
  std::vector<ZcDbObjectId> ids = spaceEntities(zcdbCurDwg());
  if (!ent || ent[0] == 0) {
    if (ids.empty()) return RTERROR;
    zcdbGetZdsName(*reinterpret_cast<zds_name*>(result), ids.front());
    return RTNORM;
  }
  for (size_t i = 0; i + 1 < ids.size(); ++i) {
    if (ids[i].asOldId() == ent[0]) {
      zcdbGetZdsName(*reinterpret_cast<zds_name*>(result), ids[i + 1]);
      return RTNORM;
    }
  }
  return RTERROR;
}

int zcdbEntDel(const zds_name ent) {
  ZcDbObjectId id;
  if (zcdbGetObjectId(id, ent) != Zcad::eOk) return RTERROR;
  ZcDbEntity* entity = nullptr;
  // Like the host's entdel: erases a live entity, brings back an erased one.
  bool erased = id.isErased();
  if (zcdbOpenObject(entity, id, ZcDb::kForWrite, /*openErased=*/true) != Zcad::eOk) return RTERROR;
  Zcad::ErrorStatus es = entity->erase(!erased);
  entity->close();
  return es == Zcad::eOk ? RTNORM : RTERROR;
}

int zcdbEntUpd(const zds_name ent) {
  ZcDbObjectId id;
  return zcdbGetObjectId(id, ent) == Zcad::eOk && id.isValid() ? RTNORM : RTERROR;
}
