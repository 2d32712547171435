#pragma once
// The system registry: a dictionary of host services by name (the command stack, the dynamic
// linker), as plug-ins find them with zcrxSysRegistry()->at(name). The host's own services stay
// the host's: remove() never hands one out, and an object entered under a service's name hides
// the service until that object is removed again.
#include "zcad/rx/ZcRxObject.h"

inline constexpr const ZTCHAR* ZCRX_DYNAMIC_LINKER = L"DynamicLinker";
inline constexpr const ZTCHAR* ZCRX_REGISTERED_COMMANDS = L"ZCAD_REGISTERED_COMMANDS";
inline constexpr const ZTCHAR* ZCRX_CLASS_DICTIONARY = L"ClassDictionary";

class ZcRxDictionary : public ZcRxObject {
 public:
  ZCRX_DECLARE_MEMBERS(ZcRxDictionary)
  // The object under `key`, nullptr when there is none. The dictionary keeps ownership.
  virtual ZcRxObject* at(const ZTCHAR* key) const = 0;
  // Enters `object` under `key` (the dictionary owns it); returns the object replaced, which
  // the caller then owns, or nullptr.
  virtual ZcRxObject* atPut(const ZTCHAR* key, ZcRxObject* object) = 0;
  // Takes the object out (the caller owns it); nullptr when absent.
  virtual ZcRxObject* remove(const ZTCHAR* key) = 0;
  virtual bool has(const ZTCHAR* key) const = 0;
  virtual Zdesk::UInt32 numEntries() const = 0;
};

ZcRxDictionary* zcrxSysRegistry();
