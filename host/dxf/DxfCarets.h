#pragma once
// Control characters in the text of a DXF group. An ASCII file cannot hold a line end inside
// a value, so CAD programs write every control character as a caret and the letter 64 above it
// ("^J" a line feed, "^M" a carriage return, "^I" a tab) and a caret itself as "^ ". Values
// are kept in that written form, whatever file they came from, so that a text read from a
// binary file and saved as ASCII still ends where it should.
#include <string>
#include <string_view>

namespace vtcad::dxf {

enum class Carets {
  kLineEnds,  // only what would break the lines of an ASCII file: CR and LF
  kAll,       // every control character and the caret itself (binary text to written form)
};

// Whether `text` holds a character `rule` would write as a caret pair.
bool needsCarets(std::string_view text, Carets rule);
// `text` with those characters written as caret pairs.
std::string withCarets(std::string_view text, Carets rule);

}  // namespace vtcad::dxf
