#pragma once
// The tracer's command line: "FILE -color-count N -output-format dxf -output-file OUT", the
// options in any order, each given at most once.
#include <string>
#include <vector>

namespace vtcad::tracer {

struct TracerOptions {
  std::string input;
  std::string output;
  int colorCount = 2;  // 2: black and white; more: that many grey steps
};

struct ParsedOptions {
  bool ok = false;
  std::string error;  // why the arguments were refused, for the usage message
  TracerOptions options;
};

// The arguments after the program's name.
ParsedOptions parseTracerOptions(const std::vector<std::string>& arguments);

// The colour counts accepted: at least two steps, and at most as many as 8-bit grey has.
inline constexpr int kMinColorCount = 2;
inline constexpr int kMaxColorCount = 256;

}  // namespace vtcad::tracer
