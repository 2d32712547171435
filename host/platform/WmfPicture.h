#pragma once
// WmfPicture: the vector content of a Windows Metafile as this host writes and reads it, in the
// metafile's logical units (16-bit integers, y growing downwards).
//
// The frame is the placeable header's box: the part of the logical plane the picture shows.
// `unitsPerInch` is the header's Inch field. Pictures written by WMFOUT also carry, in a
// comment record, the exact size of one logical unit in drawing units (`drawingUnitsPerLogical`),
// which the 16-bit Inch field can only round; WMFIN uses it when it is there.
#include <cstdint>
#include <optional>
#include <vector>

namespace vtcad::platform {

struct WmfPoint {
  std::int16_t x = 0;
  std::int16_t y = 0;
  bool operator==(const WmfPoint&) const = default;
};

struct WmfFrame {
  std::int16_t left = 0;
  std::int16_t top = 0;
  std::int16_t right = 0;
  std::int16_t bottom = 0;
  bool operator==(const WmfFrame&) const = default;
};

// A run of points: stroked (open or closed) or, with `filled`, one contour of a filled shape
// whose contours are filled together (non-zero winding): a glyph with its counters.
struct WmfPath {
  std::vector<WmfPoint> points;
  bool closed = false;
  bool operator==(const WmfPath&) const = default;
};

// Contours filled together (one poly-polygon record each).
struct WmfFill {
  std::vector<std::vector<WmfPoint>> contours;
  bool operator==(const WmfFill&) const = default;
};

struct WmfPicture {
  WmfFrame frame;
  std::uint16_t unitsPerInch = 1440;
  std::optional<double> drawingUnitsPerLogical;
  std::vector<WmfPath> paths;
  std::vector<WmfFill> fills;
};

}  // namespace vtcad::platform
