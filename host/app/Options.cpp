#include "app/Options.h"

#include <cstdio>

namespace vtcad::app {

const char* const kUsage =
    "usage: vtcad [options] [DRAWING]\n"
    "  DRAWING            DXF file to open (otherwise a new drawing)\n"
    "  -s, --script FILE  run an AutoCAD-style script; may repeat; \"-\" reads standard input\n"
    "  -o, --save FILE    save the drawing as DXF after the scripts\n"
    "  --png, --svg, --pdf FILE  write a picture (PNG, SVG, PDF) of the drawing after the scripts\n"
    "  --size WxH         the picture's size in pixels (default 1600x1000)\n"
    "  --view extents|current  what the picture shows: the drawing's extents (default) or its current view\n"
    "  --gui              work in a window: the drawing in view, the command line below; scripts\n"
    "                     given with -s run in the window, which closes after them and the save\n"
    "  --screenshot FILE  with --gui, a PNG picture of the whole window after the scripts\n"
    "  --recover          open a damaged DRAWING with what can be read, listing what was lost\n"
    "  --config DIR       folder of the settings store for this run (default: the user's config folder)\n"
    "  --load FILE        load this plug-in instead of the bundled Veltrace plug-in\n"
    "  --no-plugin        load no plug-in\n"
    "  -h, --help         this text\n"
    "  --version          the program's version\n"
    "Without a script and with a terminal, or with --gui, vtcad runs an interactive command line.\n";

ParsedOptions parseOptions(const std::vector<std::string>& args) {
  Options options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& into) -> bool {
      if (i + 1 >= args.size()) return false;
      into = args[++i];
      return true;
    };
    if (arg == "-s" || arg == "--script") {
      std::string script;
      if (!value(script)) return {std::nullopt, arg + " needs a file name"};
      options.scripts.push_back(script);
    } else if (arg == "-o" || arg == "--save") {
      if (!value(options.saveTo)) return {std::nullopt, arg + " needs a file name"};
    } else if (arg == "--png" || arg == "--svg" || arg == "--pdf") {
      PictureOutput picture;
      picture.kind = arg == "--png"   ? PictureKind::kPng
                     : arg == "--svg" ? PictureKind::kSvg
                                      : PictureKind::kPdf;
      if (!value(picture.path)) return {std::nullopt, arg + " needs a file name"};
      options.pictures.push_back(picture);
    } else if (arg == "--size") {
      std::string size;
      if (!value(size)) return {std::nullopt, arg + " needs a size such as 1600x1000"};
      int w = 0, h = 0;
      char end = 0;
      // Cairo's pictures stop at 32767 pixels a side.
      if (std::sscanf(size.c_str(), "%dx%d%c", &w, &h, &end) != 2 || w < 1 || h < 1 || w > 32767 ||
          h > 32767) {
        return {std::nullopt, "--size takes WIDTHxHEIGHT, 1 to 32767 pixels each (not " + size + ")"};
      }
      options.pictureWidth = w;
      options.pictureHeight = h;
    } else if (arg == "--view") {
      std::string view;
      if (!value(view)) return {std::nullopt, arg + " needs extents or current"};
      if (view == "extents") {
        options.pictureView = PictureView::kExtents;
      } else if (view == "current") {
        options.pictureView = PictureView::kCurrent;
      } else {
        return {std::nullopt, "--view takes extents or current (not " + view + ")"};
      }
    } else if (arg == "--config") {
      if (!value(options.configDir)) return {std::nullopt, arg + " needs a folder"};
    } else if (arg == "--load") {
      if (!value(options.plugin)) return {std::nullopt, arg + " needs a plug-in file"};
    } else if (arg == "--gui") {
      options.gui = true;
    } else if (arg == "--screenshot") {
      if (!value(options.screenshot)) return {std::nullopt, arg + " needs a file name"};
    } else if (arg == "--recover") {
      options.recover = true;
    } else if (arg == "--no-plugin") {
      options.noPlugin = true;
    } else if (arg == "-h" || arg == "--help") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return {std::nullopt, "unknown option " + arg};
    } else if (options.drawing.empty()) {
      options.drawing = arg;
    } else {
      return {std::nullopt, "only one drawing can be opened"};
    }
  }
  if (!options.screenshot.empty() && !options.gui) return {std::nullopt, "--screenshot needs --gui"};
  if (options.recover && options.drawing.empty()) return {std::nullopt, "--recover needs a drawing"};
  if (options.noPlugin && !options.plugin.empty())
    return {std::nullopt, "--load and --no-plugin exclude each other"};
  return {options, {}};
}

}  // namespace vtcad::app
