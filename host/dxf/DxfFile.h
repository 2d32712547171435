#pragma once
// Drawing files: a whole DXF drawing read into a new database, and a database written as a
// DXF drawing. This is the document layer's entry point; the program, the host commands and
// the tests go through it.
//
// Error policy: loading repairs what it can and reports each repair with the line it was
// on; a file that cannot be read at all is refused with a message and no database. Nothing
// here throws.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class ZcDbDatabase;

namespace vtcad::dxf {

struct LoadMessage {
  std::uint32_t line = 0;  // 1-based line of the file (byte offset for binary files); 0: none
  std::string text;        // English, without the line number
};

struct LoadResult {
  // The drawing, or null when the file was refused (then `refusal` says why).
  std::unique_ptr<ZcDbDatabase> database;
  std::string refusal;
  // Repairs and things left out, in file order.
  std::vector<LoadMessage> messages;
  // $ACADVER of the file ("AC1009", "AC1027", ...), empty when it has none.
  std::string version;

  bool ok() const { return database != nullptr; }
};

// Told now and then how far reading or writing has come (`done` of `total`, in a unit of the
// callee's choice). Answering false stops the work: an open is refused with kCancelledRefusal,
// a save fails and leaves the file on disk as it was.
using Progress = std::function<bool(double done, double total)>;
inline constexpr const char* kCancelledRefusal = "cancelled";

// Reads a drawing from the bytes of a DXF file (ASCII or binary). `data` is only read during
// the call.
LoadResult readDxf(std::string_view data, const Progress& progress = {});
// Reads a drawing file. A file that cannot be opened is refused with the system's reason.
LoadResult loadDxfFile(const std::filesystem::path& path, const Progress& progress = {});

// The drawing as the text of an ASCII DXF file of the version written (R2013, AC1027).
std::string writeDxf(ZcDbDatabase& db);

struct SaveResult {
  bool ok = false;
  std::string message;  // why saving failed; empty on success
};

// Writes the drawing to `path` without risk to the file that is there: into a temporary
// file in the same folder, flushed to disk, the previous file kept as "<name>.bak", then
// renamed over the target. On failure the target is as it was and no temporary file is
// left behind.
SaveResult saveDxfFile(ZcDbDatabase& db, const std::filesystem::path& path, const Progress& progress = {});

// Formats a load message as users read it: "line 123: text" (or just the text).
std::string formatLoadMessage(const LoadMessage& message);

}  // namespace vtcad::dxf
