// The class dictionary. It is created on first use and never destroyed: objects and classes
// may be touched by static destructors of other libraries at exit, and a dictionary that
// outlives them all cannot be used after its end.
#include "zcad/rx/ZcRxClass.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "ZcRxClassDictionary.h"
#include "zcad/rx/ZcRxObject.h"

struct ZcRxClass::Names {
  std::wstring name;
  std::wstring dxfName;
  std::wstring appName;
  std::wstring parentName;
};

namespace {

std::wstring upper(const ZTCHAR* text) {
  std::wstring result = text ? text : L"";
  for (auto& c : result) c = static_cast<wchar_t>(std::towupper(c));
  return result;
}

struct ClassDictionary {
  std::recursive_mutex mutex;
  std::map<std::wstring, ZcRxClass*> byName;
  // Classes taken out of the dictionary by deleteZcRxClass, kept alive for the objects that
  // still point at them.
  std::vector<ZcRxClass*> retired;
  // Registration order, so that the first class registered under a DXF name wins.
  std::vector<ZcRxClass*> order;
};

ClassDictionary& dictionary() {
  static ClassDictionary* dict = new ClassDictionary;  // immortal: see the file comment
  return *dict;
}

ZcRxClass* enter(ZcRxClass* cls) {
  auto& dict = dictionary();
  dict.byName.emplace(cls->name(), cls);
  dict.order.push_back(cls);
  return cls;
}

}  // namespace

ZcRxClass::ZcRxClass(const ZTCHAR* name, ZcRxClass* parent, PseudoConstructor constructor,
                     const ZTCHAR* dxfName, const ZTCHAR* appName, int dwgVersion, int maintenanceVersion,
                     int proxyFlags)
    : names_(new Names{name ? name : L"", dxfName ? dxfName : L"", appName ? appName : L"", L""}),
      parent_(parent),
      constructor_(constructor),
      dwgVersion_(dwgVersion),
      maintenanceVersion_(maintenanceVersion),
      proxyFlags_(proxyFlags) {}

ZcRxClass::~ZcRxClass() {
  // A class deleted directly (not through deleteZcRxClass) must not stay in the dictionary.
  auto& dict = dictionary();
  std::lock_guard lock(dict.mutex);
  auto it = dict.byName.find(names_->name);
  if (it != dict.byName.end() && it->second == this) dict.byName.erase(it);
  std::erase(dict.order, this);
  std::erase(dict.retired, this);
  delete names_;
}

const ZTCHAR* ZcRxClass::name() const { return names_->name.c_str(); }
const ZTCHAR* ZcRxClass::dxfName() const { return names_->dxfName.c_str(); }
const ZTCHAR* ZcRxClass::appName() const { return names_->appName.c_str(); }
const ZTCHAR* ZcRxClass::parentName() const {
  if (parent_) return parent_->name();
  return names_->parentName.c_str();
}

bool ZcRxClass::isDerivedFrom(const ZcRxClass* other) const {
  if (!other) return false;
  // Bounded walk: a parent chain made cyclic by a plug-in's mistake must not hang.
  int guard = 0;
  for (const ZcRxClass* c = this; c && guard < 1000; c = c->parent_, ++guard) {
    if (c == other) return true;
  }
  return false;
}

ZcRxClass* newZcRxClass(const ZTCHAR* className, const ZTCHAR* parentClassName, int dwgVersion,
                        int maintenanceVersion, int proxyFlags, ZcRxClass::PseudoConstructor constructor,
                        const ZTCHAR* dxfName, const ZTCHAR* appName) {
  if (!className || !*className) return nullptr;
  auto& dict = dictionary();
  std::lock_guard lock(dict.mutex);
  auto it = dict.byName.find(className);
  if (it != dict.byName.end()) return it->second;
  ZcRxClass* parent = nullptr;
  if (parentClassName) {
    auto p = dict.byName.find(parentClassName);
    if (p != dict.byName.end()) parent = p->second;
  }
  auto* cls = new ZcRxClass(className, parent, constructor, dxfName, appName, dwgVersion, maintenanceVersion,
                            proxyFlags);
  // Kept for zcrxBuildClassHierarchy when the parent is registered later.
  if (parentClassName) cls->names_->parentName = parentClassName;
  return enter(cls);
}

void zcrxBuildClassHierarchy() {
  auto& dict = dictionary();
  std::lock_guard lock(dict.mutex);
  for (auto& [name, cls] : dict.byName) {
    if (cls->myParent()) continue;
    std::wstring parentName = cls->parentName();
    if (parentName.empty()) continue;
    auto p = dict.byName.find(parentName);
    if (p != dict.byName.end() && p->second != cls) cls->setParent(p->second);
  }
}

ZcRxClass* zcrxFindZcRxClass(const ZTCHAR* className) {
  if (!className) return nullptr;
  auto& dict = dictionary();
  std::lock_guard lock(dict.mutex);
  auto it = dict.byName.find(className);
  return it == dict.byName.end() ? nullptr : it->second;
}

ZcRxClass* zcrxFindZcRxClassByDxfName(const ZTCHAR* dxfName) {
  if (!dxfName || !*dxfName) return nullptr;
  std::wstring key = upper(dxfName);
  auto& dict = dictionary();
  std::lock_guard lock(dict.mutex);
  // A class that can create objects is what a reader wants; an abstract one is a fallback.
  ZcRxClass* fallback = nullptr;
  for (ZcRxClass* cls : dict.order) {
    if (upper(cls->dxfName()) != key) continue;
    if (cls->canCreate()) return cls;
    if (!fallback) fallback = cls;
  }
  return fallback;
}

ZcRxObject* zcrxCreateObject(const ZTCHAR* classOrDxfName) {
  ZcRxClass* cls = zcrxFindZcRxClass(classOrDxfName);
  if (!cls) cls = zcrxFindZcRxClassByDxfName(classOrDxfName);
  return cls ? cls->create() : nullptr;
}

void deleteZcRxClass(ZcRxClass* cls) {
  if (!cls) return;
  auto& dict = dictionary();
  std::lock_guard lock(dict.mutex);
  auto it = dict.byName.find(cls->name());
  if (it == dict.byName.end() || it->second != cls) return;  // not registered, or already retired
  dict.byName.erase(it);
  std::erase(dict.order, cls);
  // The constructor may live in a plug-in that is being unloaded.
  cls->constructor_ = nullptr;
  dict.retired.push_back(cls);
}

std::vector<ZcRxClass*> vtcad::db::registeredClasses() {
  auto& dict = dictionary();
  std::lock_guard lock(dict.mutex);
  // A copy: the caller deletes classes while it walks them.
  return dict.order;
}

void zcrx_abort(const ZTCHAR* format, ...) {
  va_list args;
  va_start(args, format);
  std::fputws(L"zcrx_abort: ", stderr);
  if (format) std::vfwprintf(stderr, format, args);
  std::fputws(L"\n", stderr);
  va_end(args);
  std::fflush(stderr);
  std::abort();
}

ZcRxClass* zcrxRegisterHostClass(const ZTCHAR* name, ZcRxClass* parent,
                                 ZcRxClass::PseudoConstructor constructor, const ZTCHAR* dxfName) {
  auto& dict = dictionary();
  std::lock_guard lock(dict.mutex);
  auto it = dict.byName.find(name);
  if (it != dict.byName.end()) return it->second;
  return enter(new ZcRxClass(name, parent, constructor, dxfName, L"vtcad", 0, 0, 0));
}
