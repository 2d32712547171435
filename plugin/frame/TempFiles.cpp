#include "frame/TempFiles.h"

#include <cwctype>
#include <string_view>

#include "zcad/platform/zcfile.h"

namespace veltrace {

namespace {

constexpr std::wstring_view kReservedEnding = L".tmp";

}  // namespace

std::wstring tempFilePath(const wchar_t* extension) {
  wchar_t folder[MAX_PATH] = {};
  const DWORD folderLength = GetTempPathW(MAX_PATH, folder);
  // A longer answer is the size the buffer would need: no folder was written.
  if (folderLength == 0 || folderLength >= MAX_PATH) return std::wstring();
  wchar_t reserved[MAX_PATH] = {};
  if (GetTempFileNameW(folder, /*lpPrefixString=*/L"", /*uUnique=*/0, reserved) == 0) return std::wstring();
  std::wstring path(reserved);
  // Only the name the system made is lowered: the folder's case matters on this file system.
  const std::size_t nameStart = path.rfind(L'/') + 1;  // npos + 1 == 0 without a folder
  for (std::size_t i = nameStart; i < path.size(); ++i)
    path[i] = static_cast<wchar_t>(std::towlower(path[i]));
  if (std::wstring_view(path).ends_with(kReservedEnding)) path.resize(path.size() - kReservedEnding.size());
  return path + (extension ? extension : L"");
}

bool fileExists(const std::wstring& path) { return PathFileExistsW(path.c_str()) != 0; }

}  // namespace veltrace
