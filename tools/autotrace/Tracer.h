#pragma once
// Tracing a picture file into a DXF file: the whole work of the program, without its process.
#include <string>

#include "TracerOptions.h"

namespace vtcad::tracer {

struct TraceResult {
  bool ok = false;
  std::string error;  // why nothing was written
  int polylines = 0;
};

// Curves closer than this to their chords are drawn as the chords (pixels).
inline constexpr double kFlatteningTolerance = 0.2;

TraceResult traceFile(const TracerOptions& options);

}  // namespace vtcad::tracer
