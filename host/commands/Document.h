#pragma once
// The open drawing: its database (the working database commands act on) and the file it came
// from or was last saved to. One drawing is open at a time.
#include <filesystem>
#include <memory>
#include <string>

class ZcDbDatabase;

namespace vtcad::commands {

class Document {
 public:
  static Document& instance();

  // A new, empty drawing becomes the working database.
  void openNew();
  // Opens a DXF file; on failure the open drawing stays and the reason is returned. Load
  // messages (repairs) are printed on the command line.
  struct OpenResult {
    bool opened = false;
    std::string reason;
  };
  OpenResult open(const std::filesystem::path& path);
  // Saves atomically as DXF; on success the drawing's path becomes `path`.
  struct SaveResult {
    bool saved = false;
    std::string reason;
  };
  SaveResult saveAs(const std::filesystem::path& path);

  ZcDbDatabase* database() const { return database_.get(); }
  const std::filesystem::path& path() const { return path_; }
  // Drops the drawing (at exit, so plug-ins unload while it still exists).
  void close();

 private:
  Document() = default;
  void makeWorking();
  void nameChanged();
  std::unique_ptr<ZcDbDatabase> database_;
  std::filesystem::path path_;
};

}  // namespace vtcad::commands
