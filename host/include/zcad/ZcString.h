#pragma once
// ZcString: the host's wide string value type, returned by name queries of the database.
#include <algorithm>
#include <cwctype>
#include <string>
#include <string_view>

#include "zcad/zadesk.h"

class ZcString {
 public:
  ZcString() = default;
  ZcString(const ZTCHAR* text) : text_(text ? text : L"") {}
  ZcString(std::wstring text) : text_(std::move(text)) {}
  ZcString(std::wstring_view text) : text_(text) {}

  const ZTCHAR* kwszPtr() const { return text_.c_str(); }
  const ZTCHAR* constPtr() const { return text_.c_str(); }
  operator const ZTCHAR*() const { return text_.c_str(); }
  bool isEmpty() const { return text_.empty(); }
  int length() const { return static_cast<int>(text_.size()); }
  const std::wstring& str() const { return text_; }
  int compareNoCase(const ZcString& other) const {
    size_t n = std::min(text_.size(), other.text_.size());
    for (size_t i = 0; i < n; ++i) {
      wint_t a = std::towupper(text_[i]), b = std::towupper(other.text_[i]);
      if (a != b) return a < b ? -1 : 1;
    }
    return text_.size() == other.text_.size() ? 0 : (text_.size() < other.text_.size() ? -1 : 1);
  }
  bool operator==(const ZcString& other) const { return text_ == other.text_; }
  bool operator==(const ZTCHAR* other) const { return text_ == (other ? other : L""); }
  ZcString& operator+=(const ZcString& other) {
    text_ += other.text_;
    return *this;
  }

 private:
  std::wstring text_;
};
