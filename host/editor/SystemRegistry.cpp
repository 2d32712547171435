// The system registry: the process-wide dictionary in which plug-ins find the host's services
// by name (zcrxSysRegistry()->at(ZCRX_DYNAMIC_LINKER)).
//
// The host's services (the dynamic linker, the command stack) are not stored: `at` asks their
// own accessors each time, so the registry never runs before them at start-up and never
// holds a pointer to a service that was made later. They stay the host's: entering an object
// under a service's key hides the service until that object is removed again, and removing a
// service's key hands nothing out for a caller to delete.
//
// Like the class dictionary, the registry is created on first use and never destroyed: a
// plug-in's static destructors may still look services up while the process ends.
#include <iterator>
#include <map>
#include <mutex>
#include <string>

#include "zcad/ed/ZcEdCommandStack.h"
#include "zcad/rx/ZcRxDictionary.h"
#include "zcad/rx/ZcRxDynamicLinker.h"

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcRxDictionary, ZcRxObject, L"AcRxDictionary", nullptr, nullptr)

namespace {

struct HostService {
  const ZTCHAR* key;
  ZcRxObject* (*get)();
};

const HostService kHostServices[] = {
    {ZCRX_DYNAMIC_LINKER, []() -> ZcRxObject* { return zcrxDynamicLinker(); }},
    {ZCRX_REGISTERED_COMMANDS, []() -> ZcRxObject* { return zcedRegCmds(); }},
};

const HostService* hostService(const std::wstring& key) {
  for (const HostService& service : kHostServices) {
    if (key == service.key) return &service;
  }
  return nullptr;
}

class SystemRegistry final : public ZcRxDictionary {
 public:
  ZcRxObject* at(const ZTCHAR* key) const override {
    if (!key) return nullptr;
    {
      std::lock_guard lock(mutex_);
      auto it = entries_.find(key);
      if (it != entries_.end()) return it->second;
    }
    // Outside the lock: a service's accessor may itself look something up here.
    const HostService* service = hostService(key);
    return service ? service->get() : nullptr;
  }

  ZcRxObject* atPut(const ZTCHAR* key, ZcRxObject* object) override {
    // Degenerate: no key, or nothing to enter (a null entry would read as "absent" anyway).
    if (!key || !*key || !object) return nullptr;
    std::lock_guard lock(mutex_);
    ZcRxObject*& slot = entries_[key];
    ZcRxObject* replaced = slot == object ? nullptr : slot;
    slot = object;
    return replaced;
  }

  ZcRxObject* remove(const ZTCHAR* key) override {
    if (!key) return nullptr;
    std::lock_guard lock(mutex_);
    auto it = entries_.find(key);
    if (it == entries_.end()) return nullptr;
    ZcRxObject* object = it->second;
    entries_.erase(it);
    return object;
  }

  bool has(const ZTCHAR* key) const override { return at(key) != nullptr; }

  Zdesk::UInt32 numEntries() const override {
    std::lock_guard lock(mutex_);
    // The host's services are always there, hidden or not.
    auto count = static_cast<Zdesk::UInt32>(std::size(kHostServices));
    for (const auto& [key, object] : entries_) {
      if (!hostService(key)) ++count;
    }
    return count;
  }

 private:
  mutable std::mutex mutex_;
  std::map<std::wstring, ZcRxObject*> entries_;
};

}  // namespace

ZcRxDictionary* zcrxSysRegistry() {
  static SystemRegistry* registry = new SystemRegistry;  // immortal: see the file comment
  return registry;
}
