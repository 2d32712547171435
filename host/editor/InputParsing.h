#pragma once
// Values typed at prompts: numbers, integers, points in the forms a CAD command line takes.
#include <optional>
#include <string_view>

#include "zcad/ge/ZcGePoint3d.h"

namespace vtcad::editor {

// A finite number filling the whole text ("12", "-0.5", ".5", "1e3", "+2").
std::optional<double> parseReal(std::wstring_view text);

enum class IntegerParse { kOk, kNotInteger, kOutOfRange };
struct ParsedInteger {
  IntegerParse status = IntegerParse::kNotInteger;
  int value = 0;
};
// Integers a command line takes: -32768..32767.
ParsedInteger parseInteger(std::wstring_view text);

// "x,y", "x,y,z", "@dx,dy[,dz]", "@" (the last point), "dist<angle" and "@dist<angle"
// (degrees, counter-clockwise from the X axis). Relative forms add to `last`.
std::optional<ZcGePoint3d> parsePoint(std::wstring_view text, const ZcGePoint3d& last);

// "#2F": an entity given by its handle; the hexadecimal digits, or nothing.
std::optional<std::wstring_view> handleReference(std::wstring_view text);

}  // namespace vtcad::editor
