#pragma once
// A drawing handle: the persistent 64-bit name of an object, written in hexadecimal in files.
#include <string>

#include "zcad/zadesk.h"

class ZcDbHandle {
 public:
  ZcDbHandle() = default;
  explicit ZcDbHandle(Zdesk::UInt64 value) : value_(value) {}
  // Parses hexadecimal text ("1F"); text that is not a handle gives the null handle.
  explicit ZcDbHandle(const ZTCHAR* hexText);

  bool isNull() const { return value_ == 0; }
  void setNull() { value_ = 0; }
  Zdesk::UInt64 value() const { return value_; }
  void increment() { ++value_; }
  // Upper-case hexadecimal without leading zeros, "0" for the null handle.
  std::wstring getIntoAsciiBuffer() const;
  bool operator==(const ZcDbHandle& o) const { return value_ == o.value_; }
  bool operator!=(const ZcDbHandle& o) const { return value_ != o.value_; }
  bool operator<(const ZcDbHandle& o) const { return value_ < o.value_; }

 private:
  Zdesk::UInt64 value_ = 0;
};
