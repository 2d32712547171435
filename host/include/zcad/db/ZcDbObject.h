#pragma once
// ZcDbObject: every object of a drawing database.
//
// Open discipline. An object in a database is reached by opening its id (zcdbOpenObject)
// for read (many readers at once) or for write (one writer, no readers), and given back with
// close(). Misuse answers a status and never crashes: a null id (eNullObjectId), an erased
// object (eWasErased), a second writer (eWasOpenedForWrite), writing while others read
// (eWasOpenedForRead), upgrading with other readers (eHadMultipleReaders).
//
// Change tracking. Every modifier of a class calls assertWriteEnabled() before it changes
// anything. The first such call after opening sends openedForModify to the object's reactors
// and, while a command is being recorded, keeps a copy of the object for undo. Opening for
// write and closing without a change therefore costs nothing and notifies no one. close()
// after a change sends modified to the reactors.
//
// Objects outside a database (new ones, not yet appended) are the caller's: they are freed
// with delete, and close() on them only answers eNotInDatabase.
#include "zcad/ZcadErrorStatus.h"
#include "zcad/db/ZcDb.h"
#include "zcad/db/ZcDbFiler.h"
#include "zcad/db/ZcDbObjectId.h"
#include "zcad/rx/ZcRxObject.h"
#include "zcad/zds.h"

class ZcDbDatabase;
class ZcDbObjectReactor;
class ZcDbStub;
class ZcGiWorldDraw;
class ZcGiViewportDraw;
class ZcGiDrawableTraits;

class ZcDbObject : public ZcRxObject {
 public:
  ZCRX_DECLARE_MEMBERS(ZcDbObject)

  ZcDbObject();
  ~ZcDbObject() override;

  // Identity.
  ZcDbObjectId objectId() const;
  ZcDbObjectId ownerId() const;
  virtual Zcad::ErrorStatus setOwnerId(ZcDbObjectId ownerId);
  void getZcDbHandle(ZcDbHandle& handle) const;
  ZcDbDatabase* database() const;
  bool isDatabaseResident() const { return stub_ != nullptr; }

  // Open state.
  bool isReadEnabled() const;
  bool isWriteEnabled() const;
  bool isNotifyEnabled() const;
  bool isModified() const { return modified_; }
  bool isNewObject() const { return newObject_; }
  bool isErased() const;
  bool isUndoing() const;
  bool isNotifying() const { return notifying_; }
  Zcad::ErrorStatus upgradeOpen();
  Zcad::ErrorStatus downgradeOpen();
  Zcad::ErrorStatus close();
  // Closes a write-open object and throws away the changes made since it was opened.
  Zcad::ErrorStatus cancel();
  // Precondition checks for modifiers; they assert the open state (a programming error).
  void assertReadEnabled() const;
  void assertWriteEnabled(bool autoUndo = true, bool recordModified = true);
  // assertWriteEnabled for modifiers that answer a status: eNotOpenForWrite (and no change
  // recorded) when the object is in a database and not open for write.
  Zcad::ErrorStatus checkedAssertWriteEnabled(bool autoUndo = true, bool recordModified = true);
  void assertNotifyEnabled() const;

  // Erasing keeps the object (and its id) so that undo and unerase can bring it back.
  Zcad::ErrorStatus erase(bool erasing = true);
  // This object (open for write, in a database) gives its id, handle, owner and place in its
  // owner to newObject (not in a database). Answers eObjectToBeDeleted on success: this
  // object is then outside the database and the caller deletes it; newObject is open as this
  // object was.
  Zcad::ErrorStatus handOverTo(ZcDbObject* newObject, bool keepXData = true, bool keepExtDict = true);
  // Exchanges the ids of two objects open for write in the same database.
  Zcad::ErrorStatus swapIdWith(ZcDbObjectId otherId, bool swapXdata = false, bool swapExtDict = false);

  // Extended data: a chain of groups 1001 (application name) then 1000..1071 items.
  // xData returns a new chain (free it with zcutRelRb): all applications, or one.
  virtual resbuf* xData(const ZTCHAR* regappName = nullptr) const;
  // Replaces the data of each application named in the chain; an application with no items
  // after its 1001 group is removed. Application names must be registered (zcdbRegApp)
  // when the object is in a database.
  virtual Zcad::ErrorStatus setXData(const resbuf* xdata);

  // Reactors. The array holds transient reactor pointers and persistent reactor entries; use
  // zcdbIsPersistentReactor / zcdbPersistentReactorObjectId to tell them apart.
  // Never null: an object without reactors answers an empty array.
  const ZcDbVoidPtrArray* reactors() const;
  void addReactor(ZcDbObjectReactor* reactor) const;
  void removeReactor(ZcDbObjectReactor* reactor) const;
  virtual void addPersistentReactor(ZcDbObjectId reactorId);
  virtual Zcad::ErrorStatus removePersistentReactor(ZcDbObjectId reactorId);
  bool hasPersistentReactor(ZcDbObjectId reactorId) const;

  // Extension dictionary.
  ZcDbObjectId extensionDictionary() const;
  Zcad::ErrorStatus createExtensionDictionary();
  Zcad::ErrorStatus releaseExtensionDictionary();

  // Notifications this object receives as a persistent reactor of another object.
  virtual void openedForModify(const ZcDbObject* dbObj);
  virtual void modified(const ZcDbObject* dbObj);
  virtual void erased(const ZcDbObject* dbObj, bool erasing = true);
  virtual void copied(const ZcDbObject* dbObj, const ZcDbObject* newObj);
  virtual void goodbye(const ZcDbObject* dbObj);

  // Filing of the object's own fields (the base files its extended data).
  virtual Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer);
  virtual Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const;
  virtual Zcad::ErrorStatus dxfInFields(ZcDbDxfFiler* filer);
  virtual Zcad::ErrorStatus dxfOutFields(ZcDbDxfFiler* filer) const;

  // Copies: a new object of the same class (not in a database) with this object's fields
  // and extended data. Classes without a C++ copy go through their dwg filing.
  ZcRxObject* clone() const override;
  Zcad::ErrorStatus copyFrom(const ZcRxObject* other) override;

  // Drawable queries (the display comes later; objects that draw nothing keep these).
  virtual int drawableType() const { return 0; }
  virtual bool isPersistent() const { return isDatabaseResident(); }
  virtual bool worldDraw(ZcGiWorldDraw* /*worldDraw*/) { return false; }
  virtual void viewportDraw(ZcGiViewportDraw* /*viewportDraw*/) {}
  virtual Zdesk::UInt32 setAttributes(ZcGiDrawableTraits* /*traits*/) { return 0; }

 protected:
  // Hooks for objects that own other database objects (the vertices of old-style
  // polylines): called just after this object received its id in a database, open for
  // write, and before erase(erasing) changes the erase flag.
  virtual void addedToDatabase() {}
  virtual Zcad::ErrorStatus subErase(bool /*erasing*/) { return Zcad::eOk; }

  // Copies carry the fields and extended data, never the identity or open state.
  ZcDbObject(const ZcDbObject& other);
  ZcDbObject& operator=(const ZcDbObject& other);

  // Fields a class rarely sets (a line's thickness and normal) can live with the rarely used
  // parts, so that an object keeping their defaults has no pointer for them. They are the
  // object's own fields: copies (and so undo and cancel) carry them, handOverTo and swapIdWith
  // leave them where they are. Only one class of a hierarchy may keep fields here.
  class RareFields {
   public:
    virtual ~RareFields() = default;
    virtual RareFields* copy() const = 0;
  };
  // Null while the class keeps none.
  const RareFields* rareFields() const;
  // Takes ownership; null drops the fields kept.
  void setRareFields(RareFields* fields);

 private:
  friend class ZcDbDatabase;
  friend class ZcDbDatabaseImpl;
  friend class ZcDbStub;
  friend class ZcDbObjectState;
  friend class ZcDbNotifier;
  friend class ZcDbUndoManager;
  friend class ZcDbFileAccess;
  friend void zcdbSwapObjects(ZcDbStub* first, ZcDbStub* second, bool swapXdata, bool swapExtDict);
  friend Zcad::ErrorStatus zcdbOpenObject(ZcDbObject*& obj, ZcDbObjectId id, ZcDb::OpenMode mode,
                                          bool openErased);

  // Rarely used parts (extended data, reactors, extension dictionary) live in one block
  // allocated on first use, so that a plain entity stays small: drawings hold millions.
  // The owner id lives in the stub.
  struct Extras;
  Extras* extras_ = nullptr;
  Extras& extras() const;
  ZcDbStub* stub_ = nullptr;
  Zdesk::UInt16 readers_ = 0;
  // Nesting depth of notifications this object is receiving as a persistent reactor.
  Zdesk::UInt8 notifyOpen_ = 0;
  bool writeOpen_ : 1 = false;
  bool modified_ : 1 = false;
  bool newObject_ : 1 = false;
  bool notifying_ : 1 = false;
  // Serial of the undo group that last recorded this object (one record per group).
  Zdesk::UInt32 undoSerial_ = 0;
};

// Host classes copy by their C++ copy constructor and assignment (inside the class body).
#define ZCDB_DECLARE_VALUE_COPY(CLASS_NAME)                               \
 public:                                                                  \
  ZcRxObject* clone() const override { return new CLASS_NAME(*this); }    \
  Zcad::ErrorStatus copyFrom(const ZcRxObject* other) override {          \
    const CLASS_NAME* source = CLASS_NAME::cast(other);                   \
    if (!source || source->isA() != isA()) return Zcad::eWrongObjectType; \
    *this = *source;                                                      \
    return Zcad::eOk;                                                     \
  }

// Persistent reactor entries of ZcDbObject::reactors().
bool zcdbIsPersistentReactor(void* reactorEntry);
ZcDbObjectId zcdbPersistentReactorObjectId(void* reactorEntry);

// Opening by id. openErased lets an erased object be opened (to unerase it).
Zcad::ErrorStatus zcdbOpenObject(ZcDbObject*& obj, ZcDbObjectId id, ZcDb::OpenMode mode,
                                 bool openErased = false);

template <typename T>
Zcad::ErrorStatus zcdbOpenObject(T*& obj, ZcDbObjectId id, ZcDb::OpenMode mode, bool openErased = false) {
  obj = nullptr;
  ZcDbObject* raw = nullptr;
  Zcad::ErrorStatus es = zcdbOpenObject(raw, id, mode, openErased);
  if (es != Zcad::eOk) return es;
  obj = T::cast(raw);
  if (!obj) {
    raw->close();
    return Zcad::eNotThatKindOfClass;
  }
  return Zcad::eOk;
}
