#pragma once
// The value type a DXF group code carries, from the group code ranges of the format.
#include <cstdint>

namespace vtcad::dxf {

enum class ValueType : std::uint8_t {
  kString,  // text (names, strings, handles written as hex text)
  kDouble,  // coordinates, lengths, angles
  kInt16,
  kInt32,
  kInt64,
  kBool,     // 290-299: one byte in binary files
  kBinary,   // 310-319, 1004: hex text in ASCII files, length-prefixed bytes in binary files
  kUnknown,  // codes outside every range: kept as text
};

ValueType valueTypeOf(int groupCode);

// Handle-valued codes (5, 105, 320-369, 390-399, 480-481, 1005): hex text naming an object.
bool isHandleCode(int groupCode);
// Codes that hold an owner or pointer reference (330-369, 390-399, 480-481), as opposed to
// the object's own handle (5, 105).
bool isReferenceCode(int groupCode);

}  // namespace vtcad::dxf
