#pragma once
// WmfWriter: a placeable Windows Metafile of a picture: the 22-byte placeable header, the
// standard header, then MM_ANISOTROPIC with the window on the frame, one black pen and brush,
// the paths as POLYLINE / POLYGON records (a closed path is a polygon drawn with the null
// brush) and each fill as one POLYPOLYGON with WINDING fill, and META_EOF.
//
// A path of more than 32767 points (the records' 16-bit count) is written as several records
// sharing their end points; a fill with a contour that long keeps the contour's first 32767
// points (no text has one).
#include <string>

#include "platform/WmfPicture.h"

namespace vtcad::platform {

std::string encodeWmf(const WmfPicture& picture);

}  // namespace vtcad::platform
