#include "linkline/LinkReactorAttach.h"

#include <cwchar>

#include "frame/Messages.h"
#include "linkline/VTLinkLineToNotify.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbDictionary.h"
#include "zcad/platform/zcguid.h"

namespace veltrace {
namespace {

constexpr const wchar_t* kDictionaryName = L"VTRC_DICT";

bool hasPersistentReactor(const ZcDbObject& object) {
  const ZcDbVoidPtrArray* reactors = object.reactors();
  for (int i = 0; i < reactors->length(); ++i) {
    void* entry = reactors->at(i);
    if (zcdbIsPersistentReactor(entry) && !zcdbPersistentReactorObjectId(entry).isNull()) return true;
  }
  return false;
}

// "VTRC_DICT" open for write, made under the named-objects dictionary when missing; null when
// neither can be had.
ZcDbDictionary* openReactorDictionary(ZcDbDatabase& db) {
  ZcDbDictionary* named = nullptr;
  if (db.getNamedObjectsDictionary(named, ZcDb::kForWrite) != Zcad::eOk) return nullptr;
  ZcDbObject* found = nullptr;
  ZcDbDictionary* dictionary = nullptr;
  if (named->getAt(kDictionaryName, found, ZcDb::kForWrite) == Zcad::eOk) {
    dictionary = ZcDbDictionary::cast(found);
    // Something else under our name: leave it alone.
    if (!dictionary) found->close();
  } else {
    auto* made = new ZcDbDictionary;
    ZcDbObjectId id;
    if (named->setAt(kDictionaryName, made, id) == Zcad::eOk) {
      dictionary = made;
    } else {
      delete made;
    }
  }
  named->close();
  return dictionary;
}

}  // namespace

std::wstring linkReactorKey(const GUID& guid) {
  wchar_t key[48] = {};
  std::swprintf(key, sizeof key / sizeof key[0], L"{V-%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(guid.Data1), static_cast<unsigned>(guid.Data2),
                static_cast<unsigned>(guid.Data3), guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3],
                guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  return key;
}

void attachLinkReactor(ZcDbObject* curve) {
  if (!curve || !curve->database() || hasPersistentReactor(*curve)) return;
  ZcDbDictionary* dictionary = openReactorDictionary(*curve->database());
  if (!dictionary) return;
  GUID guid{};
  if (FAILED(CoCreateGuid(&guid))) {
    // No random key to be had: no reactor rather than one under a key that may repeat.
    dictionary->close();
    return;
  }
  const std::wstring key = linkReactorKey(guid);
  ZcDbObjectId reactorId;
  if (!dictionary->has(key.c_str())) {
    auto* reactor = new VTLinkLineToNotify;
    if (dictionary->setAt(key.c_str(), reactor, reactorId) == Zcad::eOk) {
      reactor->close();
    } else {
      delete reactor;
      reactorId = ZcDbObjectId();
    }
  } else {
    printBilingual(key.c_str(), key.c_str());
    dictionary->getAt(key.c_str(), reactorId);
  }
  if (!reactorId.isNull()) curve->addPersistentReactor(reactorId);
  dictionary->close();
}

}  // namespace veltrace
