#pragma once
// The file a list is written to: its name, the writing itself and the open step afterwards.
//
// The bytes go to a temporary file beside the chosen one, which takes the chosen name only once
// everything was written: a list that could not be written whole never leaves half a file, and
// an older file of that name stays as it was.
#include <cstdio>
#include <string>
#include <string_view>

#include "export/ListDocument.h"

namespace veltrace {

// The companion program started with the list file, when it is in the program folder.
inline constexpr const wchar_t* kListOpener = L"openExcel.exe";

// The name the list is written under: every ".xls" in the file name of `chosen` (compared with
// case) becomes ".html"; "A.XLS", names without ".xls" and the folder part stay as chosen.
std::wstring listFileName(std::wstring_view chosen);

class ListFile final : public ListSink {
 public:
  ListFile() = default;
  // A file never committed is removed.
  ~ListFile() override;
  ListFile(const ListFile&) = delete;
  ListFile& operator=(const ListFile&) = delete;

  // Makes the temporary file for `path`. False, with error(), when no file can be made there:
  // no such folder, no right to write into it, `path` names a folder or a read-only file.
  bool create(const std::wstring& path);
  // Bytes of the document; the first failure is kept and reported by commit().
  void write(std::string_view bytes) override;
  // Puts the written file in place under the name given to create(). False, with error(), when
  // anything of the writing failed: then the file of that name is as it was before.
  bool commit();

  // Why create() or commit() failed, in English (the system's own words).
  const std::string& error() const { return error_; }

 private:
  static constexpr std::size_t kBlockBytes = 64 * 1024;

  void flushPending();
  void fail(const std::string& what);
  void discard();

  std::string target_;     // UTF-8 path bytes of the file the list replaces or makes
  std::string temporary_;  // UTF-8 path bytes of the file being written
  std::FILE* stream_ = nullptr;
  std::string pending_;  // written bytes not yet handed to the stream
  std::string error_;
};

// Opens a written list: with the companion program of the program folder when it is there and
// can run on this system, printing "\nThe list has been output as <path>, and will be
// automatically opened soon."; otherwise the shell opens the file itself, silently. A start
// that fails is not reported.
void openListFile(const std::wstring& path);

// The command-line form of one argument for a program started through the shell (quoted as
// Windows command lines are read, so a path with spaces or quotes arrives as one argument).
std::wstring quotedArgument(std::wstring_view argument);

}  // namespace veltrace
