#pragma once
// ZB2PL: one polyline in the current space for every block of coordinate lines of a text file
// (the lines are read as CoordinateFileLines.h says, the file as CoordinateFileReader.h says).
// Every bad line is reported with its number and its text as written, and skipped; a block
// of one point makes nothing. A file that cannot be opened or read shows "\nRead File <path>
// Error."; the polylines made before the failure stay.
#include <string>

#include "polyline/CoordinateFileReader.h"

namespace veltrace {

void zb2plCommand();

// ZB2PL after the file has been chosen: `path` as the messages show it (made absolute by the
// command), `limits` bound one line and one polyline.
void drawCoordinateFilePolylines(const std::wstring& path, const CoordinateFileLimits& limits);

}  // namespace veltrace
