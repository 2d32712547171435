// CoCreateGuid of zcguid.h.
#include <sys/random.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

#include "zcad/platform/zcguid.h"

namespace {

// Fills all of `bytes` or answers false; interrupted calls are taken up again.
bool randomBytes(BYTE* bytes, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    const ssize_t got = ::getrandom(bytes + done, count - done, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(got);
  }
  return true;
}

}  // namespace

HRESULT CoCreateGuid(GUID* pguid) {
  if (!pguid) return E_INVALIDARG;
  BYTE bytes[16];
  if (!randomBytes(bytes, sizeof bytes)) return E_FAIL;
  GUID made{};
  std::memcpy(&made.Data1, bytes, 4);
  std::memcpy(&made.Data2, bytes + 4, 2);
  std::memcpy(&made.Data3, bytes + 6, 2);
  std::memcpy(made.Data4, bytes + 8, 8);
  // Version 4 (random) in the top bits of Data3, the RFC 4122 variant in Data4[0].
  made.Data3 = static_cast<WORD>((made.Data3 & 0x0FFF) | 0x4000);
  made.Data4[0] = static_cast<BYTE>((made.Data4[0] & 0x3F) | 0x80);
  *pguid = made;
  return S_OK;
}
