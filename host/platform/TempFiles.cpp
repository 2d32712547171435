// Temporary files and file tests of zcfile.h.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cwchar>
#include <iterator>
#include <random>
#include <string>

#include "platform/TextEncoding.h"
#include "zcad/platform/zcfile.h"

using vtcad::platform::pathFromWide;

namespace {

constexpr int kMaxPrefixChars = 3;
constexpr std::uint32_t kNumbers = 0x10000;  // 16 bits of number, as on Windows

std::wstring tempFolder() {
  const char* tmpdir = std::getenv("TMPDIR");
  struct stat info {};
  std::string folder = (tmpdir && tmpdir[0] == '/' && ::stat(tmpdir, &info) == 0 && S_ISDIR(info.st_mode))
                           ? std::string(tmpdir)
                           : std::string("/tmp");
  if (folder.back() != '/') folder.push_back('/');
  return vtcad::platform::decodeUtf8(folder).text;
}

std::wstring hex4(std::uint32_t number) {
  wchar_t digits[8];
  std::swprintf(digits, std::size(digits), L"%04X", number & 0xFFFF);
  return digits;
}

// Where the search for a free number starts: different in every process and every call, so
// that callers seldom meet the same names.
std::uint32_t searchStart() {
  static std::atomic<std::uint32_t> counter{static_cast<std::uint32_t>(
      std::random_device{}() ^ static_cast<std::uint32_t>(::getpid()) ^
      static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()))};
  return counter.fetch_add(7919) % kNumbers;
}

bool writeName(const std::wstring& name, LPWSTR out) {
  if (name.size() + 1 > MAX_PATH) return false;
  std::wmemcpy(out, name.c_str(), name.size() + 1);
  return true;
}

}  // namespace

DWORD GetTempPathW(DWORD nBufferLength, LPWSTR lpBuffer) {
  std::wstring folder = tempFolder();
  auto length = static_cast<DWORD>(folder.size());
  if (!lpBuffer || nBufferLength <= length) return length + 1;
  std::wmemcpy(lpBuffer, folder.c_str(), folder.size() + 1);
  return length;
}

UINT GetTempFileNameW(LPCWSTR lpPathName, LPCWSTR lpPrefixString, UINT uUnique, LPWSTR lpTempFileName) {
  if (!lpPathName || !lpTempFileName || lpPathName[0] == L'\0') return 0;
  std::wstring head = lpPathName;
  if (head.back() != L'/') head.push_back(L'/');
  if (lpPrefixString)
    head.append(lpPrefixString, std::min<size_t>(std::wcslen(lpPrefixString), kMaxPrefixChars));
  if (head.size() + 4 + 4 + 1 > MAX_PATH) return 0;
  if (uUnique != 0) return writeName(head + hex4(uUnique) + L".tmp", lpTempFileName) ? uUnique : 0;
  std::uint32_t start = searchStart();
  for (std::uint32_t step = 0; step < kNumbers; ++step) {
    std::uint32_t number = (start + step) % kNumbers;
    // 0 would mean "make a file" to a caller that passes the number back in.
    if (number == 0) continue;
    std::wstring name = head + hex4(number) + L".tmp";
    int fd = ::open(pathFromWide(name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::close(fd);
      writeName(name, lpTempFileName);
      return number;
    }
    if (errno != EEXIST) return 0;
  }
  return 0;
}

BOOL PathFileExistsW(LPCWSTR pszPath) {
  if (!pszPath || pszPath[0] == L'\0') return 0;
  struct stat info {};
  return ::stat(pathFromWide(pszPath).c_str(), &info) == 0 ? 1 : 0;
}

BOOL DeleteFileW(LPCWSTR lpFileName) {
  if (!lpFileName || lpFileName[0] == L'\0') return 0;
  return ::unlink(pathFromWide(lpFileName).c_str()) == 0 ? 1 : 0;
}
