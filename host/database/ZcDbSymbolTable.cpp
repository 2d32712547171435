// Symbol tables, their records and iterators (the shared part of every table).
#include "zcad/db/ZcDbSymbolTable.h"

#include <cwchar>

#include "ZcDbDatabaseImpl.h"
#include "ZcDbStub.h"

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbSymbolTable, ZcDbObject, L"AcDbSymbolTable", nullptr, nullptr)
ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbSymbolTableRecord, ZcDbObject, L"AcDbSymbolTableRecord", nullptr, nullptr)

bool zcdbIsValidSymbolName(const ZTCHAR* name) {
  if (!name || !*name) return false;
  if (std::wcslen(name) > 255) return false;
  for (const ZTCHAR* p = name; *p; ++p) {
    if (std::wcschr(L"<>/\\\":;?,=`|", *p)) return false;
    if (*p == L'*' && p != name) return false;
    if (*p < 0x20) return false;  // control characters
  }
  return true;
}

// ---------------------------------------------------------------------------------------
// Table.

ZcDbSymbolTable::ZcDbSymbolTable() = default;
ZcDbSymbolTable::~ZcDbSymbolTable() = default;

ZcRxClass* ZcDbSymbolTable::recordClass() const { return ZcDbSymbolTableRecord::desc(); }

ZcDbSymbolTableIterator* ZcDbSymbolTable::createIterator(bool atBeginning, bool skipDeleted) const {
  return new ZcDbSymbolTableIterator(records_, atBeginning, skipDeleted);
}

ZcDbObjectId ZcDbSymbolTable::findRecord(const ZcString& name, bool includeErased) const {
  // A live record wins over an erased one of the same name.
  ZcDbObjectId erasedMatch;
  for (ZcDbObjectId id : records_) {
    ZcDbStub* stub = id.stub();
    auto* record = ZcDbSymbolTableRecord::cast(stub ? stub->live() : nullptr);
    if (!record || record->name_.compareNoCase(name) != 0) continue;
    if (!stub->erased) return id;
    if (includeErased && erasedMatch.isNull()) erasedMatch = id;
  }
  return erasedMatch;
}

Zcad::ErrorStatus ZcDbSymbolTable::getAt(const ZTCHAR* entryName, ZcDbObjectId& recordId,
                                         bool getErasedRecord) const {
  recordId.setNull();
  if (!entryName || !*entryName) return Zcad::eInvalidInput;
  recordId = findRecord(ZcString(entryName), getErasedRecord);
  return recordId.isNull() ? Zcad::eKeyNotFound : Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSymbolTable::getAt(const ZTCHAR* entryName, ZcDbSymbolTableRecord*& record,
                                         ZcDb::OpenMode mode, bool openErasedRecord) const {
  record = nullptr;
  ZcDbObjectId id;
  Zcad::ErrorStatus es = getAt(entryName, id, openErasedRecord);
  if (es != Zcad::eOk) return es;
  return zcdbOpenObject(record, id, mode, openErasedRecord);
}

bool ZcDbSymbolTable::has(const ZTCHAR* name) const {
  return name && *name && !findRecord(ZcString(name), /*includeErased=*/false).isNull();
}

bool ZcDbSymbolTable::has(ZcDbObjectId id) const {
  if (id.isNull() || id.isErased()) return false;
  for (ZcDbObjectId record : records_) {
    if (record == id) return true;
  }
  return false;
}

Zcad::ErrorStatus ZcDbSymbolTable::add(ZcDbSymbolTableRecord* record) {
  ZcDbObjectId id;
  return add(id, record);
}

Zcad::ErrorStatus ZcDbSymbolTable::add(ZcDbObjectId& recordId, ZcDbSymbolTableRecord* record) {
  recordId.setNull();
  if (!record) return Zcad::eNullObjectPointer;
  if (!isDatabaseResident()) return Zcad::eNotInDatabase;
  if (!isWriteEnabled()) return Zcad::eNotOpenForWrite;
  if (record->isDatabaseResident()) return Zcad::eAlreadyInDb;
  if (!record->isKindOf(recordClass())) return Zcad::eWrongObjectType;
  ZcString name = nameForNewRecord(record->name_);
  if (!zcdbIsValidSymbolName(name.kwszPtr())) return Zcad::eInvalidSymbolTableName;
  if (!findRecord(name, /*includeErased=*/false).isNull()) return Zcad::eDuplicateKey;
  assertWriteEnabled();
  record->name_ = name;
  ZcDbDatabaseImpl* impl = database()->impl();
  Zcad::ErrorStatus es = impl->addObject(record, objectId(), recordId);
  if (es != Zcad::eOk) return es;
  records_.push_back(recordId);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSymbolTable::newIterator(ZcDbSymbolTableIterator*& iterator, bool atBeginning,
                                               bool skipDeleted) const {
  iterator = createIterator(atBeginning, skipDeleted);
  return Zcad::eOk;
}

int ZcDbSymbolTable::numEntries(bool includeErased) const {
  int n = 0;
  for (ZcDbObjectId id : records_) {
    if (includeErased || !id.isErased()) ++n;
  }
  return n;
}

// ---------------------------------------------------------------------------------------
// Record.

ZcDbSymbolTableRecord::ZcDbSymbolTableRecord() = default;
ZcDbSymbolTableRecord::~ZcDbSymbolTableRecord() = default;

Zcad::ErrorStatus ZcDbSymbolTableRecord::getName(ZcString& name) const {
  name = name_;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSymbolTableRecord::getName(const ZTCHAR*& name) const {
  name = name_.kwszPtr();
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSymbolTableRecord::setName(const ZTCHAR* name) {
  if (!zcdbIsValidSymbolName(name)) return Zcad::eInvalidSymbolTableName;
  ZcString newName(name);
  if (auto* table = ZcDbSymbolTable::cast(ownerId().stub() ? ownerId().stub()->live() : nullptr)) {
    ZcDbObjectId other = table->findRecord(newName, /*includeErased=*/false);
    if (!other.isNull() && other != objectId()) return Zcad::eDuplicateKey;
  }
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  name_ = newName;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSymbolTableRecord::dwgInFields(ZcDbDwgFiler* filer) {
  Zcad::ErrorStatus es = ZcDbObject::dwgInFields(filer);
  if (es != Zcad::eOk) return es;
  std::wstring name;
  if (filer->readString(&name) != Zcad::eOk) return filer->filerStatus();
  name_ = ZcString(name);
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSymbolTableRecord::dwgOutFields(ZcDbDwgFiler* filer) const {
  Zcad::ErrorStatus es = ZcDbObject::dwgOutFields(filer);
  if (es != Zcad::eOk) return es;
  filer->writeString(name_.str());
  return filer->filerStatus();
}

// ---------------------------------------------------------------------------------------
// Iterator.

ZcDbSymbolTableIterator::ZcDbSymbolTableIterator(std::vector<ZcDbObjectId> ids, bool atBeginning,
                                                 bool skipDeleted)
    : ids_(std::move(ids)) {
  start(atBeginning, skipDeleted);
}

ZcDbSymbolTableIterator::~ZcDbSymbolTableIterator() = default;

void ZcDbSymbolTableIterator::skipErased(bool forward) {
  while (!done() && ids_[static_cast<size_t>(pos_)].isErased()) pos_ += forward ? 1 : -1;
}

void ZcDbSymbolTableIterator::start(bool atBeginning, bool skipDeleted) {
  pos_ = atBeginning ? 0 : static_cast<long>(ids_.size()) - 1;
  if (skipDeleted) skipErased(atBeginning);
}

bool ZcDbSymbolTableIterator::done() const { return pos_ < 0 || pos_ >= static_cast<long>(ids_.size()); }

void ZcDbSymbolTableIterator::step(bool forward, bool skipDeleted) {
  if (done()) return;
  pos_ += forward ? 1 : -1;
  if (skipDeleted) skipErased(forward);
}

Zcad::ErrorStatus ZcDbSymbolTableIterator::getRecordId(ZcDbObjectId& id) const {
  if (done()) {
    id.setNull();
    return Zcad::eInvalidIndex;
  }
  id = ids_[static_cast<size_t>(pos_)];
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSymbolTableIterator::getRecord(ZcDbSymbolTableRecord*& record, ZcDb::OpenMode mode,
                                                     bool openErasedRecord) const {
  record = nullptr;
  ZcDbObjectId id;
  if (Zcad::ErrorStatus es = getRecordId(id); es != Zcad::eOk) return es;
  return zcdbOpenObject(record, id, mode, openErasedRecord);
}

Zcad::ErrorStatus ZcDbSymbolTableIterator::seek(ZcDbObjectId id) {
  for (size_t i = 0; i < ids_.size(); ++i) {
    if (ids_[i] == id) {
      pos_ = static_cast<long>(i);
      return Zcad::eOk;
    }
  }
  return Zcad::eKeyNotFound;
}
