#pragma once
// Reads a whole drawing file, section by section, into a new database.
#include <string_view>

#include "dxf/DxfFile.h"

namespace vtcad::dxf {

LoadResult readDocument(std::string_view data, Recovery recovery, const Progress& progress = {});

}  // namespace vtcad::dxf
