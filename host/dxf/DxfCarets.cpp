#include "dxf/DxfCarets.h"

namespace vtcad::dxf {
namespace {

bool needsPair(unsigned char c, Carets rule) {
  if (rule == Carets::kLineEnds) return c == '\n' || c == '\r';
  return c < 0x20 || c == '^';
}

}  // namespace

bool needsCarets(std::string_view text, Carets rule) {
  for (char c : text) {
    if (needsPair(static_cast<unsigned char>(c), rule)) return true;
  }
  return false;
}

std::string withCarets(std::string_view text, Carets rule) {
  std::string out;
  out.reserve(text.size() + 8);
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (!needsPair(byte, rule)) {
      out.push_back(c);
    } else if (byte == '^') {
      out.append("^ ");
    } else {
      out.push_back('^');
      out.push_back(static_cast<char>(byte + 64));  // "^@" for NUL .. "^_" for 0x1F
    }
  }
  return out;
}

}  // namespace vtcad::dxf
