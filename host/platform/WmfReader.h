#pragma once
// WmfReader: the vector content of a Windows Metafile, with or without the placeable header.
//
// Read: POLYLINE, POLYGON, POLYPOLYGON, MOVETO/LINETO (joined into runs), RECTANGLE,
// ROUNDRECT (as its rectangle), ELLIPSE (64 chords), the window origin and extent (the frame of a file
// without the placeable header) and our own scale comment. Every other record is skipped and counted.
// Coordinates stay logical units as the records give them.
//
// Malformed files are refused with a message naming the fault and its byte offset: a wrong
// key or header, a record shorter than its fields or running past the end of the file, counts
// the record cannot hold. A file without META_EOF ends at its last whole record. At most
// kMostWmfPoints points are read (a file cannot make the reader allocate without bound).
#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "platform/WmfPicture.h"

namespace vtcad::platform {

inline constexpr std::size_t kMostWmfPoints = 8'000'000;

struct WmfContent {
  WmfPicture picture;  // fills come back as filled contours: every ring a closed path
  bool placeable = false;
  long skippedRecords = 0;
};

struct WmfError {
  std::string message;
};

std::variant<WmfContent, WmfError> decodeWmf(std::span<const std::uint8_t> bytes);

}  // namespace vtcad::platform
