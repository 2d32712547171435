// Dictionaries: objects owned under keys compared without regard to case.
#include "zcad/db/ZcDbDictionary.h"

#include <cwctype>

#include "ZcDbDatabaseImpl.h"
#include "ZcDbStub.h"

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbDictionary, ZcDbObject, L"AcDbDictionary", L"DICTIONARY",
                               []() -> ZcRxObject* { return new ZcDbDictionary; })

namespace {
std::wstring upperKey(const ZTCHAR* key) {
  std::wstring k = key ? key : L"";
  for (auto& c : k) c = static_cast<wchar_t>(std::towupper(c));
  return k;
}
bool validKey(const ZTCHAR* key) { return key && *key; }
}  // namespace

ZcDbDictionary::ZcDbDictionary() = default;
ZcDbDictionary::~ZcDbDictionary() = default;

ZcDbDictionary::Entries::const_iterator ZcDbDictionary::findLive(const ZTCHAR* key) const {
  if (!validKey(key)) return entries_.end();
  auto it = entries_.find(upperKey(key));
  if (it == entries_.end() || it->second.id.isErased()) return entries_.end();
  return it;
}

Zcad::ErrorStatus ZcDbDictionary::getAt(const ZTCHAR* key, ZcDbObjectId& id) const {
  id.setNull();
  if (!validKey(key)) return Zcad::eInvalidKey;
  auto it = findLive(key);
  if (it == entries_.end()) return Zcad::eKeyNotFound;
  id = it->second.id;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbDictionary::getAt(const ZTCHAR* key, ZcDbObject*& obj, ZcDb::OpenMode mode) const {
  obj = nullptr;
  ZcDbObjectId id;
  if (Zcad::ErrorStatus es = getAt(key, id); es != Zcad::eOk) return es;
  return zcdbOpenObject(obj, id, mode);
}

bool ZcDbDictionary::has(const ZTCHAR* key) const { return findLive(key) != entries_.end(); }

bool ZcDbDictionary::has(ZcDbObjectId id) const {
  if (id.isNull() || id.isErased()) return false;
  for (const auto& [k, entry] : entries_) {
    if (entry.id == id) return true;
  }
  return false;
}

Zdesk::UInt32 ZcDbDictionary::numEntries() const {
  Zdesk::UInt32 n = 0;
  for (const auto& [k, entry] : entries_) {
    if (!entry.id.isErased()) ++n;
  }
  return n;
}

Zcad::ErrorStatus ZcDbDictionary::setAt(const ZTCHAR* key, ZcDbObject* newValue, ZcDbObjectId& retObjId) {
  retObjId.setNull();
  if (!validKey(key)) return Zcad::eInvalidKey;
  if (!newValue) return Zcad::eNullObjectPointer;
  if (!isDatabaseResident()) return Zcad::eNotInDatabase;
  if (!isWriteEnabled()) return Zcad::eNotOpenForWrite;
  if (newValue == this) return Zcad::eInvalidInput;
  if (newValue->isDatabaseResident()) {
    // An object of this database can be filed here (it must be open for write to change its
    // owner); one of another database cannot.
    if (newValue->database() != database()) return Zcad::eWrongDatabase;
    if (!newValue->isWriteEnabled()) return Zcad::eNotOpenForWrite;
  }
  std::wstring k = upperKey(key);
  auto existing = entries_.find(k);
  if (existing != entries_.end() && existing->second.id == newValue->objectId()) return Zcad::eOk;
  assertWriteEnabled();
  // The object already under the key is replaced and erased.
  if (existing != entries_.end()) {
    ZcDbObject* old = nullptr;
    if (zcdbOpenObject(old, existing->second.id, ZcDb::kForWrite) == Zcad::eOk) {
      old->erase();
      old->close();
    }
    entries_.erase(existing);
  }
  if (newValue->isDatabaseResident()) {
    newValue->setOwnerId(objectId());
    retObjId = newValue->objectId();
  } else {
    Zcad::ErrorStatus es = database()->impl()->addObject(newValue, objectId(), retObjId);
    if (es != Zcad::eOk) return es;
  }
  entries_[k] = Entry{key, retObjId};
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbDictionary::remove(const ZTCHAR* key) {
  ZcDbObjectId id;
  return remove(key, id);
}

Zcad::ErrorStatus ZcDbDictionary::remove(const ZTCHAR* key, ZcDbObjectId& returnId) {
  returnId.setNull();
  if (!validKey(key)) return Zcad::eInvalidKey;
  auto it = entries_.find(upperKey(key));
  if (it == entries_.end()) return Zcad::eKeyNotFound;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  returnId = it->second.id;
  entries_.erase(it);
  // The object is no longer owned by the dictionary. Through the object when it can be
  // opened, so that undo records it; else directly (the caller has it open).
  ZcDbStub* stub = returnId.stub();
  if (!stub || stub->owner != objectId()) return Zcad::eOk;
  ZcDbObject* obj = nullptr;
  if (zcdbOpenObject(obj, returnId, ZcDb::kForWrite, /*openErased=*/true) == Zcad::eOk) {
    obj->setOwnerId(ZcDbObjectId());
    obj->close();
  } else {
    stub->owner.setNull();
  }
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbDictionary::remove(ZcDbObjectId objId) {
  for (const auto& [k, entry] : entries_) {
    if (entry.id == objId) return remove(entry.key.c_str());
  }
  return Zcad::eKeyNotFound;
}

Zcad::ErrorStatus ZcDbDictionary::setName(const ZTCHAR* oldName, const ZTCHAR* newName) {
  if (!validKey(oldName) || !validKey(newName)) return Zcad::eInvalidKey;
  auto it = entries_.find(upperKey(oldName));
  if (it == entries_.end()) return Zcad::eKeyNotFound;
  std::wstring newKey = upperKey(newName);
  if (newKey != it->first && entries_.count(newKey)) return Zcad::eDuplicateKey;
  if (Zcad::ErrorStatus es = checkedAssertWriteEnabled(); es != Zcad::eOk) return es;
  Entry entry{newName, it->second.id};
  entries_.erase(it);
  entries_[newKey] = entry;
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbDictionary::nameAt(ZcDbObjectId objId, ZcString& name) const {
  for (const auto& [k, entry] : entries_) {
    if (entry.id == objId) {
      name = ZcString(entry.key);
      return Zcad::eOk;
    }
  }
  return Zcad::eKeyNotFound;
}

ZcDbDictionaryIterator* ZcDbDictionary::newIterator() const { return new ZcDbDictionaryIterator(*this); }

void ZcDbDictionary::setMergeStyle(ZcDb::DuplicateRecordCloning style) {
  if (checkedAssertWriteEnabled() == Zcad::eOk) mergeStyle_ = style;
}

void ZcDbDictionary::setTreatElementsAsHard(bool doIt) {
  if (checkedAssertWriteEnabled() == Zcad::eOk) treatElementsAsHard_ = doIt;
}

Zcad::ErrorStatus ZcDbDictionary::subErase(bool erasing) {
  // The entries are owned: they are erased (and unerased) with the dictionary.
  for (const auto& [k, entry] : entries_) {
    ZcDbObject* obj = nullptr;
    if (zcdbOpenObject(obj, entry.id, ZcDb::kForWrite, /*openErased=*/true) == Zcad::eOk) {
      if (obj->isErased() != erasing) obj->erase(erasing);
      obj->close();
    }
  }
  return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbDictionary::dwgOutFields(ZcDbDwgFiler* filer) const {
  Zcad::ErrorStatus es = ZcDbObject::dwgOutFields(filer);
  if (es != Zcad::eOk) return es;
  filer->writeInt16(static_cast<Zdesk::Int16>(mergeStyle_));
  filer->writeBool(treatElementsAsHard_);
  filer->writeInt32(static_cast<Zdesk::Int32>(entries_.size()));
  for (const auto& [k, entry] : entries_) {
    filer->writeString(entry.key);
    filer->writeSoftPointerId(entry.id);
  }
  return filer->filerStatus();
}

Zcad::ErrorStatus ZcDbDictionary::dwgInFields(ZcDbDwgFiler* filer) {
  Zcad::ErrorStatus es = ZcDbObject::dwgInFields(filer);
  if (es != Zcad::eOk) return es;
  Zdesk::Int16 style = 0;
  Zdesk::Int32 count = 0;
  filer->readInt16(&style);
  filer->readBool(&treatElementsAsHard_);
  filer->readInt32(&count);
  mergeStyle_ = static_cast<ZcDb::DuplicateRecordCloning>(style);
  entries_.clear();
  for (Zdesk::Int32 i = 0; i < count && filer->filerStatus() == Zcad::eOk; ++i) {
    Entry entry;
    filer->readString(&entry.key);
    filer->readSoftPointerId(&entry.id);
    entries_[upperKey(entry.key.c_str())] = entry;
  }
  return filer->filerStatus();
}

// ---------------------------------------------------------------------------------------
// Iterator.

ZcDbDictionaryIterator::ZcDbDictionaryIterator(const ZcDbDictionary& dict) {
  entries_.reserve(dict.entries_.size());
  for (const auto& [k, entry] : dict.entries_) entries_.emplace_back(entry.key, entry.id);
  skipErased();
}

ZcDbDictionaryIterator::~ZcDbDictionaryIterator() = default;

void ZcDbDictionaryIterator::skipErased() {
  while (pos_ < entries_.size() && entries_[pos_].second.isErased()) ++pos_;
}

const ZTCHAR* ZcDbDictionaryIterator::name() const { return done() ? nullptr : entries_[pos_].first.c_str(); }

ZcDbObjectId ZcDbDictionaryIterator::objectId() const {
  return done() ? ZcDbObjectId() : entries_[pos_].second;
}

Zcad::ErrorStatus ZcDbDictionaryIterator::getObject(ZcDbObject*& obj, ZcDb::OpenMode mode) const {
  obj = nullptr;
  if (done()) return Zcad::eInvalidIndex;
  return zcdbOpenObject(obj, entries_[pos_].second, mode);
}

bool ZcDbDictionaryIterator::done() const { return pos_ >= entries_.size(); }

bool ZcDbDictionaryIterator::next() {
  if (done()) return false;
  ++pos_;
  skipErased();
  return !done();
}

bool ZcDbDictionaryIterator::setPosition(ZcDbObjectId objId) {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].second == objId) {
      pos_ = i;
      return true;
    }
  }
  return false;
}
