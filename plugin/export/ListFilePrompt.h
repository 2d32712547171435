#pragma once
// Choosing the file a list is written to.
#include <string>

namespace veltrace {

// The English file-type label every list shares; the Chinese one is each list's own.
inline constexpr const wchar_t* kEnglishListFileLabel = L"EXCEL File(*.xls)|*.xls|";

// Asks for the ".xls" name to save a list under, with the file-type label of this load's
// language (its text before the first "|" is the question). A name typed without an extension
// gets ".xls". Answers the chosen path made absolute (the list's title holds the full path,
// and the shell later opens it whatever the host's working folder is then); the empty text
// when no name was given, after "\nNo file name asigned.\n" / "\n未设定文件名。\n".
std::wstring askListFileName(const wchar_t* chineseLabel);

}  // namespace veltrace
