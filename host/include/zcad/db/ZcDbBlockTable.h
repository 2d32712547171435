#pragma once
// The block table and its records. A block table record is a block definition (or model
// space "*Model_Space", or a paper space layout "*Paper_Space", "*Paper_Space0", ...) and
// owns its entities in the order they were appended.
//
// Anonymous blocks: a record added with the name "*U" (any case) is renamed "*U1", "*U2", ...
// (the first number not yet used in the table).
#include <vector>

#include "zcad/db/ZcDbSymbolTable.h"
#include "zcad/ge/ZcGePoint3d.h"

class ZcDbEntity;
class ZcDbBlockTableRecord;
class ZcDbBlockTableIterator;
class ZcDbBlockTableRecordIterator;

inline constexpr const ZTCHAR* ZCDB_MODEL_SPACE = L"*Model_Space";
inline constexpr const ZTCHAR* ZCDB_PAPER_SPACE = L"*Paper_Space";

class ZcDbBlockTable : public ZcDbSymbolTable {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbBlockTable)
  ZCDB_DECLARE_VALUE_COPY(ZcDbBlockTable)
  ZCDB_DECLARE_TYPED_TABLE(ZcDbBlockTableRecord, ZcDbBlockTableIterator)

  ZcDbBlockTable();
  ~ZcDbBlockTable() override;

 protected:
  ZcDbBlockTable(const ZcDbBlockTable&) = default;
  ZcDbBlockTable& operator=(const ZcDbBlockTable&) = default;
  ZcString nameForNewRecord(const ZcString& requested) const override;
};

class ZcDbBlockTableRecord : public ZcDbSymbolTableRecord {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbBlockTableRecord)
  ZCDB_DECLARE_VALUE_COPY(ZcDbBlockTableRecord)

  ZcDbBlockTableRecord();
  ~ZcDbBlockTableRecord() override;

  // Adds the entity (not in a database) to the database, owned by this record, which must be
  // in a database (eNotInDatabase) and open for write (eNotOpenForWrite). The entity is then
  // open for write: the caller closes it.
  Zcad::ErrorStatus appendZcDbEntity(ZcDbObjectId& entityId, ZcDbEntity* entity);
  Zcad::ErrorStatus appendZcDbEntity(ZcDbEntity* entity);
  // An iterator over the entities as they are now (the caller deletes it).
  Zcad::ErrorStatus newIterator(ZcDbBlockTableRecordIterator*& iterator, bool atBeginning = true,
                                bool skipDeleted = true) const;
  // Number of entities, erased ones included or not.
  int entityCount(bool includeErased = false) const;

  ZcGePoint3d origin() const { return origin_; }
  Zcad::ErrorStatus setOrigin(const ZcGePoint3d& origin);
  // Anonymous: the name starts with '*' and is not a layout ("*U1", "*D3", ...).
  bool isAnonymous() const;
  // Model space or a paper space layout.
  bool isLayout() const;
  bool isFromExternalReference() const { return false; }
  Zcad::ErrorStatus comments(const ZTCHAR*& comments) const;
  Zcad::ErrorStatus setComments(const ZTCHAR* comments);
  // Ids of the live block references (in any block of the drawing) that insert this block.
  // Nested insertion (a reference inside a block that is itself inserted) is not followed.
  Zcad::ErrorStatus getBlockReferenceIds(ZcDbObjectIdArray& ids, bool directOnly = true,
                                         bool forceValidity = false) const;

  // Internal to the database: entity ids in order.
  const std::vector<ZcDbObjectId>& entityIds() const { return entities_; }

 protected:
  ZcDbBlockTableRecord(const ZcDbBlockTableRecord&) = default;
  ZcDbBlockTableRecord& operator=(const ZcDbBlockTableRecord&) = default;

 private:
  friend class ZcDbDatabaseImpl;
  friend class ZcDbFileAccess;
  friend class ZcDbObjectState;
  std::vector<ZcDbObjectId> entities_;
  ZcGePoint3d origin_;
  ZcString comments_;
};

class ZcDbBlockTableIterator : public ZcDbSymbolTableIterator {
  ZCDB_DECLARE_TYPED_TABLE_ITERATOR(ZcDbBlockTableIterator, ZcDbBlockTableRecord)
};

// Walks the entities of one block as they were when the iterator was made.
class ZcDbBlockTableRecordIterator {
 public:
  ZcDbBlockTableRecordIterator(std::vector<ZcDbObjectId> ids, bool atBeginning, bool skipDeleted);
  virtual ~ZcDbBlockTableRecordIterator();
  ZcDbBlockTableRecordIterator(const ZcDbBlockTableRecordIterator&) = delete;
  ZcDbBlockTableRecordIterator& operator=(const ZcDbBlockTableRecordIterator&) = delete;

  void start(bool atBeginning = true, bool skipDeleted = true);
  bool done() const;
  void step(bool forward = true, bool skipDeleted = true);
  Zcad::ErrorStatus getEntityId(ZcDbObjectId& entityId) const;
  Zcad::ErrorStatus getEntity(ZcDbEntity*& entity, ZcDb::OpenMode mode, bool openErasedEntity = false) const;
  // Positions the iterator on the entity; eKeyNotFound when the block has no such entity.
  Zcad::ErrorStatus seek(ZcDbObjectId id);
  Zcad::ErrorStatus seek(const ZcDbEntity* entity);

 private:
  void skipErased(bool forward);
  std::vector<ZcDbObjectId> ids_;
  long pos_ = 0;
};
