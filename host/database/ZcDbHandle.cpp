// Handles as hexadecimal text.
#include "zcad/db/ZcDbHandle.h"

ZcDbHandle::ZcDbHandle(const ZTCHAR* hexText) {
  if (!hexText || !*hexText) return;
  Zdesk::UInt64 value = 0;
  int digits = 0;
  for (const ZTCHAR* p = hexText; *p; ++p) {
    int d;
    if (*p >= L'0' && *p <= L'9') {
      d = *p - L'0';
    } else if (*p >= L'a' && *p <= L'f') {
      d = *p - L'a' + 10;
    } else if (*p >= L'A' && *p <= L'F') {
      d = *p - L'A' + 10;
    } else {
      return;  // not a handle: stays null
    }
    if (digits == 0 && d == 0) continue;  // leading zeros do not count toward the 16 digits
    if (++digits > 16) return;            // more than 64 bits
    value = (value << 4) | static_cast<Zdesk::UInt64>(d);
  }
  value_ = value;
}

std::wstring ZcDbHandle::getIntoAsciiBuffer() const {
  if (value_ == 0) return L"0";
  static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
  std::wstring text;
  for (Zdesk::UInt64 v = value_; v != 0; v >>= 4) text.insert(text.begin(), kDigits[v & 0xF]);
  return text;
}
