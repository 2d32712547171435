#pragma once
// ZcDbDictionary: a database object that owns other objects under string keys. Keys are
// compared without regard to case (like a CAD host: "Foo" and "FOO" are one key) and keep
// the spelling they were given; iteration runs in key order.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "zcad/ZcString.h"
#include "zcad/db/ZcDbObject.h"

class ZcDbDictionaryIterator;

class ZcDbDictionary : public ZcDbObject {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbDictionary)
  ZCDB_DECLARE_VALUE_COPY(ZcDbDictionary)

  ZcDbDictionary();
  ~ZcDbDictionary() override;

  // eKeyNotFound when the key is absent (or its object was erased).
  Zcad::ErrorStatus getAt(const ZTCHAR* key, ZcDbObjectId& id) const;
  Zcad::ErrorStatus getAt(const ZTCHAR* key, ZcDbObject*& obj, ZcDb::OpenMode mode) const;
  bool has(const ZTCHAR* key) const;
  bool has(ZcDbObjectId id) const;
  Zdesk::UInt32 numEntries() const;
  // Puts newValue under `key`. The dictionary must be in a database and open for write.
  // newValue not yet in a database is added to the dictionary's database, owned by the
  // dictionary, and is left open for write (the caller closes it). An object already under
  // the key is erased and replaced.
  Zcad::ErrorStatus setAt(const ZTCHAR* key, ZcDbObject* newValue, ZcDbObjectId& retObjId);
  // Removes the entry (the object is not erased: its owner becomes null).
  Zcad::ErrorStatus remove(const ZTCHAR* key);
  Zcad::ErrorStatus remove(const ZTCHAR* key, ZcDbObjectId& returnId);
  Zcad::ErrorStatus remove(ZcDbObjectId objId);
  Zcad::ErrorStatus setName(const ZTCHAR* oldName, const ZTCHAR* newName);
  Zcad::ErrorStatus nameAt(ZcDbObjectId objId, ZcString& name) const;
  // The caller deletes the iterator.
  ZcDbDictionaryIterator* newIterator() const;

  ZcDb::DuplicateRecordCloning mergeStyle() const { return mergeStyle_; }
  void setMergeStyle(ZcDb::DuplicateRecordCloning style);
  bool isTreatElementsAsHard() const { return treatElementsAsHard_; }
  void setTreatElementsAsHard(bool doIt);

  Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer) override;
  Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const override;

 protected:
  ZcDbDictionary(const ZcDbDictionary&) = default;
  ZcDbDictionary& operator=(const ZcDbDictionary&) = default;
  Zcad::ErrorStatus subErase(bool erasing) override;

 private:
  friend class ZcDbDictionaryIterator;
  friend class ZcDbFileAccess;
  struct Entry {
    std::wstring key;
    ZcDbObjectId id;
  };
  // Keyed by the upper-case key.
  using Entries = std::map<std::wstring, Entry>;
  Entries::const_iterator findLive(const ZTCHAR* key) const;
  Entries entries_;
  ZcDb::DuplicateRecordCloning mergeStyle_ = ZcDb::kDrcIgnore;
  bool treatElementsAsHard_ = false;
};

// Walks the entries of a dictionary as they were when the iterator was made.
class ZcDbDictionaryIterator {
 public:
  virtual ~ZcDbDictionaryIterator();
  ZcDbDictionaryIterator(const ZcDbDictionaryIterator&) = delete;
  ZcDbDictionaryIterator& operator=(const ZcDbDictionaryIterator&) = delete;

  const ZTCHAR* name() const;
  ZcDbObjectId objectId() const;
  Zcad::ErrorStatus getObject(ZcDbObject*& obj, ZcDb::OpenMode mode) const;
  bool done() const;
  // Moves to the next entry; false when there is none.
  bool next();
  bool setPosition(ZcDbObjectId objId);

 private:
  friend class ZcDbDictionary;
  explicit ZcDbDictionaryIterator(const ZcDbDictionary& dict);
  void skipErased();
  std::vector<std::pair<std::wstring, ZcDbObjectId>> entries_;
  size_t pos_ = 0;
};
