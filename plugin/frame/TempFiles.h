#pragma once
// Temporary files of the commands that hand pictures or drawings to other code, and the file
// test they share.
#include <string>

namespace veltrace {

// A new unique file name in the system's temporary folder, the name in lower case, ending in
// `extension` (kept as given, ".PNG" stays upper case). The folder keeps its case: on Linux a
// lowered $TMPDIR could name another folder. The empty ".tmp" file the system made to reserve
// the name stays; the empty text when no temporary name can be made.
std::wstring tempFilePath(const wchar_t* extension);
// True when the file system has a status for `path` (file or folder).
bool fileExists(const std::wstring& path);

}  // namespace veltrace
