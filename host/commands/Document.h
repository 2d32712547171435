#pragma once
// The open drawing: its database (the working database commands act on) and the file it came
// from or was last saved to. One drawing is open at a time.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "dxf/DxfFile.h"

class ZcDbDatabase;

namespace vtcad::commands {

class Document {
 public:
  static Document& instance();

  // A new, empty drawing becomes the working database.
  void openNew();
  // Opens a DXF file; on failure the open drawing stays and the reason is returned. Load
  // messages (repairs) are printed on the command line. A damaged file, whose reading would
  // lose content, is refused (`damaged`) unless `recovery` asks to recover it: then the
  // drawing has what could be read, the messages end with an audit of what was lost, and
  // the drawing is not saved over its source without being asked by name.
  struct OpenResult {
    bool opened = false;
    std::string reason;
    bool damaged = false;
    size_t losses = 0;  // recovered: messages that name content lost
  };
  OpenResult open(const std::filesystem::path& path, dxf::Recovery recovery = dxf::Recovery::kRefuseLoss);
  // Saves atomically as DXF; on success the drawing's path becomes `path`.
  struct SaveResult {
    bool saved = false;
    std::string reason;
  };
  SaveResult saveAs(const std::filesystem::path& path);

  ZcDbDatabase* database() const { return database_.get(); }
  // The file the drawing came from or was saved to (its name, DWGNAME).
  const std::filesystem::path& path() const { return path_; }
  // Where SAVE and QSAVE write without asking: the drawing's file, unless the drawing was
  // recovered from a damaged file (it is then saved only under a name typed for it).
  std::filesystem::path saveTarget() const { return recovered_ ? std::filesystem::path() : path_; }
  bool recovered() const { return recovered_; }
  // Drops the drawing (at exit, so plug-ins unload while it still exists).
  void close();

  // Whether the drawing changed since it was made, opened or last saved (a window asks before
  // it closes over unsaved changes).
  bool modified() const;
  // Runs `change` (a pan or zoom of the window) without making an unmodified drawing modified:
  // looking at a drawing is no change to save.
  void changeUnmodified(const std::function<void()>& change);

 private:
  Document() = default;
  void makeWorking();
  void nameChanged();
  std::unique_ptr<ZcDbDatabase> database_;
  std::filesystem::path path_;
  bool recovered_ = false;
  // The database's change count when it was last made, opened or saved.
  unsigned long long savedChanges_ = 0;
  unsigned long long changeCount() const;
};

}  // namespace vtcad::commands
