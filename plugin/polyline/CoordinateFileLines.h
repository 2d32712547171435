#pragma once
// One line of a coordinate file (ZB2PL): cleaned, cut into fields and read as a point, a block
// terminator or a bad point. Pure text work; the file and the drawing are elsewhere.
//
// A line is read in this order: white space trimmed at both ends; an end-of-line comment cut
// off at the first "//" unless that is where the line begins; the separators "，" ";" "；"
// "、" "|" made ","; every " " deleted. Then it is split at every ",", empty fields counting:
//   three or more fields  -> the point (x, y, z) of fields 1-3 (an empty third field is 0),
//                            bad when field 1 or 2 is empty;
//   exactly two fields    -> the point (x, y, 0), bad when field 2 is empty. An empty FIRST
//                            field of a pair is not bad: ",5" is the point (0, 5, 0), as the
//                            file format defines a pair's check on its second field only;
//   one field or none     -> a terminator (an empty line, a label, "10 20" which is "1020").
// A field is read by its leading number as wcstod reads it in the C locale; text that is not
// a number is 0. A point with a coordinate that is not finite ("inf", "nan", "1e999") or is
// beyond kMaxCoordinate (frame/CoordinateRange.h: "1e200") is bad:
// such a number never reaches the drawing.
#include <string>
#include <string_view>
#include <vector>

#include "zcad/ge/ZcGePoint3d.h"

namespace veltrace {

enum class CoordinateLineKind {
  point,       // a point of the current block
  terminator,  // ends the current block
  badPoint,    // reported and skipped; the block goes on
};

struct CoordinateLine {
  CoordinateLineKind kind = CoordinateLineKind::terminator;
  ZcGePoint3d point;  // for kind point only
};

// The line after trimming, comment cut, separator replacement and space deletion.
std::wstring cleanCoordinateLine(std::wstring_view raw);
// The fields of a cleaned line: none for the empty line, one for a line without ",", else one
// more than there are "," (empty fields included). The views point into `cleaned`.
std::vector<std::wstring_view> splitCoordinateFields(std::wstring_view cleaned);
// The leading number of `field` as wcstod reads it in the C locale (leading white space, sign,
// digits, decimal point, exponent, hexadecimal, "inf", "nan"); 0 when it does not begin with a
// number. May be infinite or NaN: the caller decides.
double readCoordinateNumber(std::wstring_view field);
// What a raw line of the file is (clean-up, split and the rules above).
CoordinateLine classifyCoordinateLine(std::wstring_view raw);

}  // namespace veltrace
