#pragma once
// Filers: how an object writes its fields out and reads them back. The host files objects
// into memory for undo and copies (ZcDbDwgFiler) and into drawing files (ZcDbDxfFiler).
#include <string>

#include "zcad/ZcadErrorStatus.h"
#include "zcad/db/ZcDbHandle.h"
#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGePoint2d.h"
#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/ge/ZcGeVector3d.h"

class ZcDbDatabase;

namespace ZcDb {
enum FilerType : int {
  kFileFiler = 0,
  kCopyFiler = 1,
  kUndoFiler = 2,
  kBagFiler = 3,
  kIdXlateFiler = 4,
  kPageFiler = 5,
  kDeepCloneFiler = 6,
  kIdFiler = 7,
  kPurgeFiler = 8,
  kWblockCloneFiler = 9
};
}

class ZcDbDwgFiler {
 public:
  virtual ~ZcDbDwgFiler() = default;
  virtual Zcad::ErrorStatus filerStatus() const = 0;
  virtual ZcDb::FilerType filerType() const = 0;
  virtual ZcDbDatabase* database() const { return nullptr; }

  virtual Zcad::ErrorStatus readBool(bool* value) = 0;
  virtual Zcad::ErrorStatus writeBool(bool value) = 0;
  virtual Zcad::ErrorStatus readInt16(Zdesk::Int16* value) = 0;
  virtual Zcad::ErrorStatus writeInt16(Zdesk::Int16 value) = 0;
  virtual Zcad::ErrorStatus readInt32(Zdesk::Int32* value) = 0;
  virtual Zcad::ErrorStatus writeInt32(Zdesk::Int32 value) = 0;
  virtual Zcad::ErrorStatus readUInt64(Zdesk::UInt64* value) = 0;
  virtual Zcad::ErrorStatus writeUInt64(Zdesk::UInt64 value) = 0;
  virtual Zcad::ErrorStatus readDouble(double* value) = 0;
  virtual Zcad::ErrorStatus writeDouble(double value) = 0;
  virtual Zcad::ErrorStatus readString(std::wstring* value) = 0;
  virtual Zcad::ErrorStatus writeString(const std::wstring& value) = 0;
  virtual Zcad::ErrorStatus readPoint2d(ZcGePoint2d* value) = 0;
  virtual Zcad::ErrorStatus writePoint2d(const ZcGePoint2d& value) = 0;
  virtual Zcad::ErrorStatus readPoint3d(ZcGePoint3d* value) = 0;
  virtual Zcad::ErrorStatus writePoint3d(const ZcGePoint3d& value) = 0;
  virtual Zcad::ErrorStatus readVector3d(ZcGeVector3d* value) = 0;
  virtual Zcad::ErrorStatus writeVector3d(const ZcGeVector3d& value) = 0;
  virtual Zcad::ErrorStatus readHardOwnershipId(ZcDbObjectId* value) = 0;
  virtual Zcad::ErrorStatus writeHardOwnershipId(const ZcDbObjectId& value) = 0;
  virtual Zcad::ErrorStatus readSoftPointerId(ZcDbObjectId* value) = 0;
  virtual Zcad::ErrorStatus writeSoftPointerId(const ZcDbObjectId& value) = 0;
};

// DXF group-code filer. The DXF module implements it; objects of plug-in classes use it
// through dxfInFields / dxfOutFields.
class ZcDbDxfFiler {
 public:
  virtual ~ZcDbDxfFiler() = default;
  virtual Zcad::ErrorStatus filerStatus() const = 0;
  virtual ZcDb::FilerType filerType() const = 0;
  virtual ZcDbDatabase* database() const { return nullptr; }

  // Reading: the next group (code and value as text); atEOF/atSubclassData tell where it stands.
  virtual Zcad::ErrorStatus readItem(int* groupCode, std::wstring* value) = 0;
  virtual Zcad::ErrorStatus pushBackItem() = 0;
  virtual bool atSubclassData(const ZTCHAR* subClassName) = 0;
  virtual bool atEOF() = 0;

  virtual Zcad::ErrorStatus writeItem(int groupCode, const std::wstring& value) = 0;
  virtual Zcad::ErrorStatus writeString(int groupCode, const ZTCHAR* value) = 0;
  virtual Zcad::ErrorStatus writeDouble(int groupCode, double value) = 0;
  virtual Zcad::ErrorStatus writeInt16(int groupCode, Zdesk::Int16 value) = 0;
  virtual Zcad::ErrorStatus writeInt32(int groupCode, Zdesk::Int32 value) = 0;
  virtual Zcad::ErrorStatus writePoint3d(int groupCode, const ZcGePoint3d& value) = 0;
  virtual Zcad::ErrorStatus writeObjectId(int groupCode, const ZcDbObjectId& value) = 0;
};
