#pragma once
// Internal: a ZcDbDwgFiler that keeps the values in memory, in order. Copies of objects
// without a C++ copy (clone/copyFrom of plug-in classes) write an object out and read it
// back into a new one. Reading a value of another type than was written, or past the end,
// sets the filer's status to eFilerError (and it stays so).
#include <variant>
#include <vector>

#include "zcad/db/ZcDbFiler.h"

class MemoryDwgFiler : public ZcDbDwgFiler {
 public:
  explicit MemoryDwgFiler(ZcDb::FilerType type = ZcDb::kCopyFiler, ZcDbDatabase* db = nullptr)
      : type_(type), database_(db) {}

  Zcad::ErrorStatus filerStatus() const override { return status_; }
  ZcDb::FilerType filerType() const override { return type_; }
  ZcDbDatabase* database() const override { return database_; }
  // Back to the first value, for reading what was written.
  void rewind() { readPos_ = 0; }
  size_t size() const { return items_.size(); }

  Zcad::ErrorStatus readBool(bool* value) override { return read(value); }
  Zcad::ErrorStatus writeBool(bool value) override { return write(value); }
  Zcad::ErrorStatus readInt16(Zdesk::Int16* value) override { return read(value); }
  Zcad::ErrorStatus writeInt16(Zdesk::Int16 value) override { return write(value); }
  Zcad::ErrorStatus readInt32(Zdesk::Int32* value) override { return read(value); }
  Zcad::ErrorStatus writeInt32(Zdesk::Int32 value) override { return write(value); }
  Zcad::ErrorStatus readUInt64(Zdesk::UInt64* value) override { return read(value); }
  Zcad::ErrorStatus writeUInt64(Zdesk::UInt64 value) override { return write(value); }
  Zcad::ErrorStatus readDouble(double* value) override { return read(value); }
  Zcad::ErrorStatus writeDouble(double value) override { return write(value); }
  Zcad::ErrorStatus readString(std::wstring* value) override { return read(value); }
  Zcad::ErrorStatus writeString(const std::wstring& value) override { return write(value); }
  Zcad::ErrorStatus readPoint2d(ZcGePoint2d* value) override { return read(value); }
  Zcad::ErrorStatus writePoint2d(const ZcGePoint2d& value) override { return write(value); }
  Zcad::ErrorStatus readPoint3d(ZcGePoint3d* value) override { return read(value); }
  Zcad::ErrorStatus writePoint3d(const ZcGePoint3d& value) override { return write(value); }
  Zcad::ErrorStatus readVector3d(ZcGeVector3d* value) override { return read(value); }
  Zcad::ErrorStatus writeVector3d(const ZcGeVector3d& value) override { return write(value); }
  Zcad::ErrorStatus readHardOwnershipId(ZcDbObjectId* value) override { return read(value); }
  Zcad::ErrorStatus writeHardOwnershipId(const ZcDbObjectId& value) override { return write(value); }
  Zcad::ErrorStatus readSoftPointerId(ZcDbObjectId* value) override { return read(value); }
  Zcad::ErrorStatus writeSoftPointerId(const ZcDbObjectId& value) override { return write(value); }

 private:
  using Item = std::variant<bool, Zdesk::Int16, Zdesk::Int32, Zdesk::UInt64, double, std::wstring,
                            ZcGePoint2d, ZcGePoint3d, ZcGeVector3d, ZcDbObjectId>;

  template <typename T>
  Zcad::ErrorStatus write(const T& value) {
    if (status_ != Zcad::eOk) return status_;
    items_.emplace_back(std::in_place_type<T>, value);
    return Zcad::eOk;
  }
  template <typename T>
  Zcad::ErrorStatus read(T* value) {
    if (status_ != Zcad::eOk) return status_;
    if (!value || readPos_ >= items_.size() || !std::holds_alternative<T>(items_[readPos_])) {
      status_ = Zcad::eFilerError;
      return status_;
    }
    *value = std::get<T>(items_[readPos_++]);
    return Zcad::eOk;
  }

  ZcDb::FilerType type_;
  ZcDbDatabase* database_;
  Zcad::ErrorStatus status_ = Zcad::eOk;
  std::vector<Item> items_;
  size_t readPos_ = 0;
};
