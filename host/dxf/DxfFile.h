#pragma once
// Drawing files: a whole DXF drawing read into a new database, and a database written as a
// DXF drawing. This is the document layer's entry point; the program, the host commands and
// the tests go through it.
//
// Error policy: loading repairs what loses nothing (a structure mended, a record the tables
// lack added, a name made unique) and reports each repair with the line it was on. Damage
// that would lose content (the file ends inside a section, a value that cannot be read, a
// record that cannot be used) refuses the open with the first damaged line, unless the
// caller asks to recover: then the drawing holds what could be read and the messages say
// what was lost. Nothing here throws.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class ZcDbDatabase;

namespace vtcad::dxf {

enum class LoadSeverity : std::uint8_t {
  kRepair,  // the drawing still has everything the file said
  kLoss,    // something the file said is not in the drawing
};

struct LoadMessage {
  std::uint32_t line = 0;  // 1-based line of the file (byte offset for binary files); 0: none
  std::string text;        // English, without the line number
  LoadSeverity severity = LoadSeverity::kRepair;
};

enum class Recovery : std::uint8_t {
  kRefuseLoss,  // a file that cannot be read without losing content is refused
  kRecover,     // such a file is opened with what can be read (RECOVER, --recover)
};

struct LoadResult {
  // The drawing, or null when the file was refused (then `refusal` says why).
  std::unique_ptr<ZcDbDatabase> database;
  std::string refusal;
  // Repairs and losses, in file order (the first 1000 of them).
  std::vector<LoadMessage> messages;
  // How many messages are losses, also past the first 1000. Refused for losses (`damaged`),
  // the refusal names the first one; recovered, the drawing lacks what they say.
  size_t losses = 0;
  bool damaged = false;
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
LoadResult readDxf(std::string_view data, Recovery recovery = Recovery::kRefuseLoss,
                   const Progress& progress = {});
// Reads a drawing file. A file that cannot be opened is refused with the system's reason.
LoadResult loadDxfFile(const std::filesystem::path& path, Recovery recovery = Recovery::kRefuseLoss,
                       const Progress& progress = {});

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
