#pragma once
// Symbol tables: the named collections of a drawing (blocks, layers, linetypes, text styles,
// viewports, views, UCSs, registered applications, dimension styles). A table owns its
// records; a record's name is unique in its table, compared without regard to case, and
// erased records do not count (their name may be given to a new record).
//
// Records are added with add() on a table open for write; the record is then in the
// database, owned by the table, and open for write (the caller closes it).
#include <vector>

#include "zcad/ZcString.h"
#include "zcad/db/ZcDbObject.h"

class ZcDbSymbolTableRecord;
class ZcDbSymbolTableIterator;

class ZcDbSymbolTable : public ZcDbObject {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbSymbolTable)
  ZCDB_DECLARE_VALUE_COPY(ZcDbSymbolTable)

  ZcDbSymbolTable();
  ~ZcDbSymbolTable() override;

  // Id of the record named entryName: eKeyNotFound when there is none (erased records are
  // found only with getErasedRecord).
  Zcad::ErrorStatus getAt(const ZTCHAR* entryName, ZcDbObjectId& recordId,
                          bool getErasedRecord = false) const;
  // The record named entryName, opened in `mode`.
  Zcad::ErrorStatus getAt(const ZTCHAR* entryName, ZcDbSymbolTableRecord*& record, ZcDb::OpenMode mode,
                          bool openErasedRecord = false) const;
  bool has(const ZTCHAR* name) const;
  bool has(ZcDbObjectId id) const;
  // Adds a record (not in a database, with a valid name unique in this table, of this
  // table's record class). The table must be open for write.
  Zcad::ErrorStatus add(ZcDbSymbolTableRecord* record);
  Zcad::ErrorStatus add(ZcDbObjectId& recordId, ZcDbSymbolTableRecord* record);
  // An iterator over the records in the order they were added (the caller deletes it).
  Zcad::ErrorStatus newIterator(ZcDbSymbolTableIterator*& iterator, bool atBeginning = true,
                                bool skipDeleted = true) const;
  // Number of records, erased ones included or not.
  int numEntries(bool includeErased = false) const;

  // The record class this table holds (AcDbSymbolTableRecord for the base table).
  virtual ZcRxClass* recordClass() const;
  // Record ids in the order they were added, erased ones included (no copy).
  const std::vector<ZcDbObjectId>& recordIds() const { return records_; }

 protected:
  // A new iterator of the table's own iterator class over the current records.
  virtual ZcDbSymbolTableIterator* createIterator(bool atBeginning, bool skipDeleted) const;
  ZcDbSymbolTable(const ZcDbSymbolTable&) = default;
  ZcDbSymbolTable& operator=(const ZcDbSymbolTable&) = default;

  // The name a record gets when it is added (the block table numbers anonymous blocks).
  virtual ZcString nameForNewRecord(const ZcString& requested) const { return requested; }
  // The id of the live (or, with includeErased, any) record named `name`; null if none.
  ZcDbObjectId findRecord(const ZcString& name, bool includeErased) const;

  // Typed forms for the concrete tables.
  template <typename Record>
  Zcad::ErrorStatus getTypedAt(const ZTCHAR* entryName, Record*& record, ZcDb::OpenMode mode,
                               bool openErasedRecord) const {
    record = nullptr;
    ZcDbSymbolTableRecord* raw = nullptr;
    Zcad::ErrorStatus es = getAt(entryName, raw, mode, openErasedRecord);
    if (es != Zcad::eOk) return es;
    return castOpened(raw, record);
  }
  template <typename Record>
  static Zcad::ErrorStatus castOpened(ZcDbSymbolTableRecord* raw, Record*& record);

 private:
  friend class ZcDbSymbolTableRecord;
  friend class ZcDbFileAccess;
  std::vector<ZcDbObjectId> records_;
};

class ZcDbSymbolTableRecord : public ZcDbObject {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbSymbolTableRecord)
  ~ZcDbSymbolTableRecord() override;

  Zcad::ErrorStatus getName(ZcString& name) const;
  // Pointer to the record's own text, valid until the name changes.
  Zcad::ErrorStatus getName(const ZTCHAR*& name) const;
  ZcString name() const { return name_; }
  // A valid name: not empty, none of < > / \ " : ; ? , = ` |, '*' only as the first
  // character. In a table the name must stay unique (eDuplicateKey).
  Zcad::ErrorStatus setName(const ZTCHAR* name);
  // External references are not supported: records are never dependent.
  bool isDependent() const { return false; }
  bool isResolved() const { return true; }

  Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer) override;
  Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const override;

 protected:
  ZcDbSymbolTableRecord();
  ZcDbSymbolTableRecord(const ZcDbSymbolTableRecord&) = default;
  ZcDbSymbolTableRecord& operator=(const ZcDbSymbolTableRecord&) = default;

 private:
  friend class ZcDbSymbolTable;
  friend class ZcDbFileAccess;
  ZcString name_;
};

// True when `name` can name a symbol table record (see setName).
bool zcdbIsValidSymbolName(const ZTCHAR* name);

// Walks the records of a table as they were when the iterator was made.
class ZcDbSymbolTableIterator {
 public:
  virtual ~ZcDbSymbolTableIterator();
  ZcDbSymbolTableIterator(const ZcDbSymbolTableIterator&) = delete;
  ZcDbSymbolTableIterator& operator=(const ZcDbSymbolTableIterator&) = delete;

  void start(bool atBeginning = true, bool skipDeleted = true);
  bool done() const;
  void step(bool forward = true, bool skipDeleted = true);
  Zcad::ErrorStatus getRecordId(ZcDbObjectId& id) const;
  Zcad::ErrorStatus getRecord(ZcDbSymbolTableRecord*& record, ZcDb::OpenMode mode,
                              bool openErasedRecord = false) const;
  // Positions the iterator on the record; eKeyNotFound when the table has no such record.
  Zcad::ErrorStatus seek(ZcDbObjectId id);

  // Over `ids` (tables make their iterators with newIterator).
  ZcDbSymbolTableIterator(std::vector<ZcDbObjectId> ids, bool atBeginning, bool skipDeleted);

 protected:
  template <typename Record>
  Zcad::ErrorStatus getTypedRecord(Record*& record, ZcDb::OpenMode mode, bool openErasedRecord) const {
    record = nullptr;
    ZcDbSymbolTableRecord* raw = nullptr;
    Zcad::ErrorStatus es = getRecord(raw, mode, openErasedRecord);
    if (es != Zcad::eOk) return es;
    record = Record::cast(raw);
    if (!record) {
      raw->close();
      return Zcad::eNotThatKindOfClass;
    }
    return Zcad::eOk;
  }

 private:
  void skipErased(bool forward);
  std::vector<ZcDbObjectId> ids_;
  long pos_ = 0;
};

template <typename Record>
Zcad::ErrorStatus ZcDbSymbolTable::castOpened(ZcDbSymbolTableRecord* raw, Record*& record) {
  record = Record::cast(raw);
  if (!record) {
    raw->close();
    return Zcad::eNotThatKindOfClass;
  }
  return Zcad::eOk;
}

// Declares the typed members of a concrete table (inside the class body): typed getAt and
// newIterator. ZCDB_DEFINE_TYPED_TABLE (in the table's source file) defines them.
#define ZCDB_DECLARE_TYPED_TABLE(RECORD, ITERATOR)                                                     \
 public:                                                                                               \
  using ZcDbSymbolTable::getAt;                                                                        \
  using ZcDbSymbolTable::newIterator;                                                                  \
  Zcad::ErrorStatus getAt(const ZTCHAR* entryName, RECORD*& record, ZcDb::OpenMode mode,               \
                          bool openErasedRecord = false) const;                                        \
  Zcad::ErrorStatus newIterator(ITERATOR*& iterator, bool atBeginning = true, bool skipDeleted = true) \
      const;                                                                                           \
  ZcRxClass* recordClass() const override;                                                             \
                                                                                                       \
 protected:                                                                                            \
  ZcDbSymbolTableIterator* createIterator(bool atBeginning, bool skipDeleted) const override;          \
                                                                                                       \
 public:

// Declares the typed members of a table's iterator (inside the class body).
#define ZCDB_DECLARE_TYPED_TABLE_ITERATOR(ITERATOR, RECORD)                                                \
 public:                                                                                                   \
  using ZcDbSymbolTableIterator::getRecord;                                                                \
  Zcad::ErrorStatus getRecord(RECORD*& record, ZcDb::OpenMode mode, bool openErasedRecord = false) const { \
    return getTypedRecord(record, mode, openErasedRecord);                                                 \
  }                                                                                                        \
                                                                                                           \
  using ZcDbSymbolTableIterator::ZcDbSymbolTableIterator;

// Defines what ZCDB_DECLARE_TYPED_TABLE declared (in the table's source file).
#define ZCDB_DEFINE_TYPED_TABLE(TABLE, RECORD, ITERATOR)                                                \
  Zcad::ErrorStatus TABLE::getAt(const ZTCHAR* entryName, RECORD*& record, ZcDb::OpenMode mode,         \
                                 bool openErasedRecord) const {                                         \
    return getTypedAt(entryName, record, mode, openErasedRecord);                                       \
  }                                                                                                     \
  Zcad::ErrorStatus TABLE::newIterator(ITERATOR*& iterator, bool atBeginning, bool skipDeleted) const { \
    iterator = static_cast<ITERATOR*>(createIterator(atBeginning, skipDeleted));                        \
    return Zcad::eOk;                                                                                   \
  }                                                                                                     \
  ZcRxClass* TABLE::recordClass() const { return RECORD::desc(); }                                      \
  ZcDbSymbolTableIterator* TABLE::createIterator(bool atBeginning, bool skipDeleted) const {            \
    return new ITERATOR(recordIds(), atBeginning, skipDeleted);                                         \
  }
