#pragma once
// Runtime classes: every host object class and every class a plug-in registers has one
// ZcRxClass, found by name in the class dictionary. Class names are the drawing-file names
// ("AcDbLine", "AcDbObject"), so plug-in classes can name their parent as drawings do.
#include "zcad/zadesk.h"

class ZcRxObject;

class ZcRxClass {
 public:
  using PseudoConstructor = ZcRxObject* (*)();

  ZcRxClass(const ZTCHAR* name, ZcRxClass* parent, PseudoConstructor constructor, const ZTCHAR* dxfName,
            const ZTCHAR* appName, int dwgVersion, int maintenanceVersion, int proxyFlags);
  ~ZcRxClass();
  ZcRxClass(const ZcRxClass&) = delete;
  ZcRxClass& operator=(const ZcRxClass&) = delete;

  const ZTCHAR* name() const;
  const ZTCHAR* dxfName() const;
  const ZTCHAR* appName() const;
  ZcRxClass* myParent() const { return parent_; }
  int dwgVersion() const { return dwgVersion_; }
  int maintenanceVersion() const { return maintenanceVersion_; }
  int proxyFlags() const { return proxyFlags_; }
  // True when this class is `other` or derives from it.
  bool isDerivedFrom(const ZcRxClass* other) const;
  // A new instance from the class's creator, or nullptr for an abstract class.
  ZcRxObject* create() const { return constructor_ ? constructor_() : nullptr; }
  bool canCreate() const { return constructor_ != nullptr; }
  // The creator function itself (nullptr for an abstract or retired class): the host tells by
  // its address which plug-in a class belongs to.
  PseudoConstructor pseudoConstructor() const { return constructor_; }
  // Parent by name, resolved by zcrxBuildClassHierarchy for classes made with newZcRxClass.
  const ZTCHAR* parentName() const;
  void setParent(ZcRxClass* parent) { parent_ = parent; }

 private:
  friend void deleteZcRxClass(ZcRxClass* cls);
  friend ZcRxClass* newZcRxClass(const ZTCHAR*, const ZTCHAR*, int, int, int, PseudoConstructor,
                                 const ZTCHAR*, const ZTCHAR*);
  struct Names;
  Names* names_;
  ZcRxClass* parent_;
  PseudoConstructor constructor_;
  int dwgVersion_;
  int maintenanceVersion_;
  int proxyFlags_;
};

// Creates a class whose parent is given by name and enters it in the class dictionary.
// A name already in the dictionary is not replaced: the existing class is returned.
ZcRxClass* newZcRxClass(const ZTCHAR* className, const ZTCHAR* parentClassName, int dwgVersion,
                        int maintenanceVersion, int proxyFlags, ZcRxClass::PseudoConstructor constructor,
                        const ZTCHAR* dxfName = nullptr, const ZTCHAR* appName = nullptr);
// Resolves the parent names of classes added with newZcRxClass.
void zcrxBuildClassHierarchy();
ZcRxClass* zcrxFindZcRxClass(const ZTCHAR* className);
// The class filed under a DXF name ("LINE", "DICTIONARY"), compared without regard to case;
// when several classes share one (a plug-in class and a host class), a class that can
// create objects wins, then the first registered. nullptr when none.
ZcRxClass* zcrxFindZcRxClassByDxfName(const ZTCHAR* dxfName);
// A new object of the named class (class name, or else DXF name); nullptr when the class is
// unknown or abstract.
ZcRxObject* zcrxCreateObject(const ZTCHAR* classOrDxfName);
// Removes the class from the dictionary. Objects of the class that still exist keep
// working: the ZcRxClass itself is retired, not freed (isA() of such objects stays a valid
// pointer whose name still reads), but it no longer creates objects and is no longer found
// by name. Registering the name again makes a new class.
void deleteZcRxClass(ZcRxClass* cls);
// The host's fatal stop: prints the message and aborts the process.
[[noreturn]] void zcrx_abort(const ZTCHAR* format, ...);

// Member declarations of a runtime class (inside the class body).
#define ZCRX_DECLARE_MEMBERS(CLASS_NAME)          \
 public:                                          \
  static ZcRxClass* desc();                       \
  static CLASS_NAME* cast(const ZcRxObject* obj); \
  ZcRxClass* isA() const override;                \
  static ZcRxClass* gpDesc;                       \
  static void rxInit();

// Definitions for a host class (outside the class body). NAME is the file/class name
// ("AcDbLine"), DXF the DXF entity name ("LINE"), CONSTRUCTOR nullptr for abstract classes.
#define ZCRX_DEFINE_MEMBERS_WITH_NAMES(CLASS_NAME, PARENT_CLASS, NAME, DXF, CONSTRUCTOR) \
  ZcRxClass* CLASS_NAME::gpDesc = nullptr;                                               \
  ZcRxClass* CLASS_NAME::desc() {                                                        \
    if (!gpDesc) {                                                                       \
      gpDesc = ::zcrxRegisterHostClass(NAME, PARENT_CLASS::desc(), CONSTRUCTOR, DXF);    \
    }                                                                                    \
    return gpDesc;                                                                       \
  }                                                                                      \
  CLASS_NAME* CLASS_NAME::cast(const ZcRxObject* obj) {                                  \
    return (obj && obj->isKindOf(CLASS_NAME::desc()))                                    \
               ? const_cast<CLASS_NAME*>(static_cast<const CLASS_NAME*>(obj))            \
               : nullptr;                                                                \
  }                                                                                      \
  ZcRxClass* CLASS_NAME::isA() const { return CLASS_NAME::desc(); }                      \
  void CLASS_NAME::rxInit() { (void)desc(); }                                            \
  /* Registered when the library loads, so lookups by name find every host class. */     \
  [[maybe_unused]] static const bool CLASS_NAME##_rxRegistered = (CLASS_NAME::rxInit(), true);

// For a plug-in's own class, whose ZcRxClass the plug-in creates with newZcRxClass and keeps
// in CLASS_NAME::gpDesc (desc() returns it; nullptr while the class is not registered).
#define ZCRX_DEFINE_PLUGIN_MEMBERS(CLASS_NAME)                                \
  ZcRxClass* CLASS_NAME::gpDesc = nullptr;                                    \
  ZcRxClass* CLASS_NAME::desc() { return gpDesc; }                            \
  CLASS_NAME* CLASS_NAME::cast(const ZcRxObject* obj) {                       \
    return (obj && gpDesc && obj->isKindOf(gpDesc))                           \
               ? const_cast<CLASS_NAME*>(static_cast<const CLASS_NAME*>(obj)) \
               : nullptr;                                                     \
  }                                                                           \
  ZcRxClass* CLASS_NAME::isA() const { return gpDesc; }                       \
  void CLASS_NAME::rxInit() {}

// Internal to the host's class macros: creates (or finds) a host class in the dictionary.
ZcRxClass* zcrxRegisterHostClass(const ZTCHAR* name, ZcRxClass* parent,
                                 ZcRxClass::PseudoConstructor constructor, const ZTCHAR* dxfName);
