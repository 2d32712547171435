#pragma once
// Reads a whole drawing file, section by section, into a new database.
#include <cstddef>
#include <string_view>

#include "dxf/DxfFile.h"

namespace vtcad::dxf {

// When a second thread reads part of the ENTITIES section: for an ASCII file with at least
// `readAheadFrom` bytes from the section's start to the file's end, on a machine with two
// cores or more (any machine when readAheadFrom is 0, which tests use). The bytes are cut
// into about `pieces` pieces, which the two threads share.
struct ReadTuning {
  size_t readAheadFrom = size_t{16} << 20;
  size_t pieces = 64;
};

LoadResult readDocument(std::string_view data, Recovery recovery, const Progress& progress = {},
                        const ReadTuning& tuning = {});

}  // namespace vtcad::dxf
