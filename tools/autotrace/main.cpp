// autotrace: traces a BMP or PNG picture (any format the host reads) into closed polylines in
// a DXF file. Usage: autotrace FILE -color-count N -output-format dxf -output-file OUT.
// Exit status 0 when the file was written, 1 when the picture could not be traced or the
// file not written (nothing is left at OUT then), 2 for bad arguments.
#include <cstdio>
#include <string>
#include <vector>

#include "Tracer.h"
#include "TracerOptions.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  const vtcad::tracer::ParsedOptions parsed = vtcad::tracer::parseTracerOptions(arguments);
  if (!parsed.ok) {
    std::fprintf(stderr,
                 "autotrace: %s\nusage: autotrace FILE -color-count N -output-format dxf -output-file OUT\n",
                 parsed.error.c_str());
    return 2;
  }
  const vtcad::tracer::TraceResult result = vtcad::tracer::traceFile(parsed.options);
  if (!result.ok) {
    std::fprintf(stderr, "autotrace: %s\n", result.error.c_str());
    return 1;
  }
  return 0;
}
