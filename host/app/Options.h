#pragma once
// vtcad's command-line options.
#include <optional>
#include <string>
#include <vector>

namespace vtcad::app {

struct Options {
  std::string drawing;               // DXF file to open; empty: a new drawing
  std::vector<std::string> scripts;  // in order; "-" is standard input
  std::string saveTo;                // -o: save here after the scripts
  std::string configDir;             // --config: the settings store's folder
  std::string plugin;                // --load: instead of the bundled plug-in
  bool noPlugin = false;
  bool recover = false;  // open a damaged drawing with what can be read
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
