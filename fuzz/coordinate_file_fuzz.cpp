// The coordinate-file reader (ZB2PL) on arbitrary bytes: both passes and the line rules must
// never crash, hang or read out of bounds, the two passes must agree on the number of lines,
// and every point must be finite. A small line limit sends long lines down the "too long"
// path often.
#include <cassert>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "polyline/CoordinateFileLines.h"
#include "polyline/CoordinateFileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::istringstream survey(bytes);
  const veltrace::CoordinateFileSurvey found = veltrace::surveyCoordinateFile(survey);
  if (found.status != veltrace::CoordinateSurveyStatus::ok) return 0;
  std::istringstream text(bytes);
  veltrace::CoordinateLineReader reader(text, found.encoding, /*maxLineBytes=*/256);
  std::uint64_t lines = 0;
  for (veltrace::CoordinateFileLine line = reader.next(); line.status != veltrace::CoordinateLineStatus::end;
       line = reader.next()) {
    if (line.status == veltrace::CoordinateLineStatus::failed) __builtin_trap();
    ++lines;
    if (line.status != veltrace::CoordinateLineStatus::line) continue;
    const veltrace::CoordinateLine kind = veltrace::classifyCoordinateLine(line.text);
    if (kind.kind == veltrace::CoordinateLineKind::point &&
        !(std::isfinite(kind.point.x) && std::isfinite(kind.point.y) && std::isfinite(kind.point.z))) {
      __builtin_trap();
    }
  }
  if (lines != found.lines) __builtin_trap();
  return 0;
}
