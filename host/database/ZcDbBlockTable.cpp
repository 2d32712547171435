// The block table, its records (blocks and layouts that own entities) and the iterators.
#include "zcad/db/ZcDbBlockTable.h"

#include <cwchar>
#include <cwctype>
#include <string>
#include <string_view>

#include "ZcDbDatabaseImpl.h"
#include "ZcDbValidate.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbEntity.h"

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbBlockTable, ZcDbSymbolTable, L"AcDbBlockTable", nullptr,
                               []() -> ZcRxObject* { return new ZcDbBlockTable; })
ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbBlockTableRecord, ZcDbSymbolTableRecord, L"AcDbBlockTableRecord",
                               L"BLOCK_RECORD", []() -> ZcRxObject* { return new ZcDbBlockTableRecord; })
ZCDB_DEFINE_TYPED_TABLE(ZcDbBlockTable, ZcDbBlockTableRecord, ZcDbBlockTableIterator)

ZcDbBlockTable::ZcDbBlockTable() = default;
ZcDbBlockTable::~ZcDbBlockTable() = default;

ZcString ZcDbBlockTable::nameForNewRecord(const ZcString& requested) const {
  if (requested.compareNoCase(L"*U") != 0) return requested;
  // The first free number: anonymous blocks of a file keep theirs, new ones fill in after.
  for (int n = 1;; ++n) {
    ZcString candidate(L"*U" + std::to_wstring(n));
    if (findRecord(candidate, /*includeErased=*/true).isNull()) return candidate;
  }
}

// ---------------------------------------------------------------------------------------
// Record.

ZcDbBlockTableRecord::ZcDbBlockTableRecord() = default;
ZcDbBlockTableRecord::~ZcDbBlockTableRecord() = default;

Zcad::ErrorStatus ZcDbBlockTableRecord::appendZcDbEntity(ZcDbEntity* entity) {
  ZcDbObjectId id;
  return appendZcDbEntity(id, entity);
}

Zcad::ErrorStatus ZcDbBlockTableRecord::appendZcDbEntity(ZcDbObjectId& entityId, ZcDbEntity* entity) {
  entityId.setNull();
  if (!entity) return Zcad::eNullEntityPointer;
  if (!isDatabaseResident()) return Zcad::eNotInDatabase;
  if (!isWriteEnabled()) return Zcad::eNotOpenForWrite;
  if (entity->isDatabaseResident()) return Zcad::eAlreadyInDb;
  if (isErased()) return Zcad::eWasErased;
  assertWriteEnabled();
  Zcad::ErrorStatus es = database()->impl()->addObject(entity, objectId(), entityId);
  if (es != Zcad::eOk) return es;
  entities_.push_back(entityId);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbBlockTableRecord::newIterator(ZcDbBlockTableRecordIterator*& iterator, bool atBeginning,
                                                    bool skipDeleted) const {
  iterator = new ZcDbBlockTableRecordIterator(entities_, atBeginning, skipDeleted);
  return Zcad::eOk;
}

int ZcDbBlockTableRecord::entityCount(bool includeErased) const {
  if (includeErased) return static_cast<int>(entities_.size());
  int n = 0;
  for (ZcDbObjectId id : entities_) {
    if (!id.isErased()) ++n;
  }
  return n;
}

Zcad::ErrorStatus ZcDbBlockTableRecord::setOrigin(const ZcGePoint3d& origin) {
  if (!zcdbFinite(origin)) return Zcad::eInvalidInput;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  origin_ = origin;
  return Zcad::eOk;
}

bool ZcDbBlockTableRecord::isLayout() const {
  if (name().compareNoCase(ZCDB_MODEL_SPACE) == 0) return true;
  // "*Paper_Space", "*Paper_Space0", "*Paper_Space1", ...
  static constexpr std::wstring_view kPaper = L"*PAPER_SPACE";
  const ZcString n = name();
  const std::wstring& s = n.str();
  if (s.size() < kPaper.size()) return false;
  for (size_t i = 0; i < kPaper.size(); ++i) {
    if (static_cast<wchar_t>(std::towupper(s[i])) != kPaper[i]) return false;
  }
  return true;
}

bool ZcDbBlockTableRecord::isAnonymous() const {
  const ZcString n = name();
  const std::wstring& s = n.str();
  return !s.empty() && s[0] == L'*' && !isLayout();
}

Zcad::ErrorStatus ZcDbBlockTableRecord::comments(const ZTCHAR*& comments) const {
  comments = comments_.kwszPtr();
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbBlockTableRecord::setComments(const ZTCHAR* comments) {
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  comments_ = ZcString(comments);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbBlockTableRecord::getBlockReferenceIds(ZcDbObjectIdArray& ids, bool directOnly,
                                                             bool /*forceValidity*/) const {
  ids.removeAll();
  if (!isDatabaseResident()) return Zcad::eNotInDatabase;
  ZcDbDatabaseImpl* impl = database()->impl();
  auto* table = ZcDbBlockTable::cast(impl->peek(impl->blockTable));
  if (!table) return Zcad::eOk;
  // Walks every block of the drawing (no back-pointers are kept): references inside blocks
  // that are themselves referenced count as direct references too; nesting is not followed.
  (void)directOnly;
  ZcDbObjectId me = objectId();
  for (ZcDbObjectId blockId : table->recordIds()) {
    auto* block = ZcDbBlockTableRecord::cast(impl->peek(blockId));
    if (!block || blockId.isErased()) continue;
    for (ZcDbObjectId entityId : block->entities_) {
      auto* reference = ZcDbBlockReference::cast(impl->peek(entityId));
      if (reference && !entityId.isErased() && reference->blockTableRecord() == me) ids.append(entityId);
    }
  }
  return Zcad::eOk;
}

// ---------------------------------------------------------------------------------------
// Entity iterator.

ZcDbBlockTableRecordIterator::ZcDbBlockTableRecordIterator(std::vector<ZcDbObjectId> ids, bool atBeginning,
                                                           bool skipDeleted)
    : ids_(std::move(ids)) {
  start(atBeginning, skipDeleted);
}

ZcDbBlockTableRecordIterator::~ZcDbBlockTableRecordIterator() = default;

void ZcDbBlockTableRecordIterator::skipErased(bool forward) {
  while (!done() && ids_[static_cast<size_t>(pos_)].isErased()) pos_ += forward ? 1 : -1;
}

void ZcDbBlockTableRecordIterator::start(bool atBeginning, bool skipDeleted) {
  pos_ = atBeginning ? 0 : static_cast<long>(ids_.size()) - 1;
  if (skipDeleted) skipErased(atBeginning);
}

bool ZcDbBlockTableRecordIterator::done() const { return pos_ < 0 || pos_ >= static_cast<long>(ids_.size()); }

void ZcDbBlockTableRecordIterator::step(bool forward, bool skipDeleted) {
  if (done()) return;
  pos_ += forward ? 1 : -1;
  if (skipDeleted) skipErased(forward);
}

Zcad::ErrorStatus ZcDbBlockTableRecordIterator::getEntityId(ZcDbObjectId& entityId) const {
  if (done()) {
    entityId.setNull();
    return Zcad::eInvalidIndex;
  }
  entityId = ids_[static_cast<size_t>(pos_)];
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbBlockTableRecordIterator::getEntity(ZcDbEntity*& entity, ZcDb::OpenMode mode,
                                                          bool openErasedEntity) const {
  entity = nullptr;
  ZcDbObjectId id;
  if (Zcad::ErrorStatus es = getEntityId(id); es != Zcad::eOk) return es;
  return zcdbOpenObject(entity, id, mode, openErasedEntity);
}

Zcad::ErrorStatus ZcDbBlockTableRecordIterator::seek(ZcDbObjectId id) {
  for (size_t i = 0; i < ids_.size(); ++i) {
    if (ids_[i] == id) {
      pos_ = static_cast<long>(i);
      return Zcad::eOk;
    }
  }
  return Zcad::eKeyNotFound;
}

Zcad::ErrorStatus ZcDbBlockTableRecordIterator::seek(const ZcDbEntity* entity) {
  if (!entity) return Zcad::eNullEntityPointer;
  return seek(entity->objectId());
}
