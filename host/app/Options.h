#pragma once
// vtcad's command-line options.
#include <optional>
#include <string>
#include <vector>

namespace vtcad::app {

// A picture of the drawing written after the scripts (--png, --svg, --pdf).
enum class PictureKind { kPng, kSvg, kPdf };
struct PictureOutput {
  PictureKind kind = PictureKind::kPng;
  std::string path;
};
// Which part of the drawing the pictures show: its extents (with a small margin) or the
// drawing's current view.
enum class PictureView { kExtents, kCurrent };

struct Options {
  std::string drawing;               // DXF file to open; empty: a new drawing
  std::vector<std::string> scripts;  // in order; "-" is standard input
  std::string saveTo;                // -o: save here after the scripts
  std::vector<PictureOutput> pictures;
  int pictureWidth = 1600;  // --size WxH, pixels (points for SVG and PDF)
  int pictureHeight = 1000;
  PictureView pictureView = PictureView::kExtents;
  std::string configDir;  // --config: the settings store's folder
  std::string plugin;     // --load: instead of the bundled plug-in
  bool noPlugin = false;
  bool gui = false;        // --gui: the desktop window instead of the terminal
  std::string screenshot;  // --screenshot: a PNG picture of the window after the scripts
  bool recover = false;    // open a damaged drawing with what can be read
  bool help = false;
  bool version = false;
};

struct ParsedOptions {
  std::optional<Options> options;  // nothing: a usage error, `error` says which
  std::string error;
};

ParsedOptions parseOptions(const std::vector<std::string>& args);

extern const char* const kUsage;

}  // namespace vtcad::app
