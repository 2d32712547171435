#pragma once
// FontMapping: which of the host's two font files measures a text style's characters.
//
// Drawings name fonts the way the program that made them saw them: shape fonts ("txt.shx",
// "simplex" without extension), CJK big fonts ("gbcbig.shx"), TrueType files ("arial.ttf",
// "simsun.ttc") and typefaces ("Arial", "SimSun", "宋体"). The host has two fonts: DejaVu Sans
// for Latin text and WenQuanYi Micro Hei for Chinese. The table in docs/fonts.md says which
// names go where; this file is that table.
#include <string_view>

namespace vtcad::db {

enum class FontFace { kLatin = 0, kCjk = 1 };

// How a style (or an MText font switch) measures its characters.
struct FontChoice {
  // Face asked first for every character; the other face is asked for characters the first
  // one lacks.
  FontFace primary = FontFace::kLatin;
  // Shape-font styles draw CJK characters from a big font whose character cell is the text
  // height: their ideographs are scaled so that the em square is the height, not the cap
  // height (see docs/fonts.md).
  bool cjkCellIsHeight = false;

  bool operator==(const FontChoice&) const = default;
};

// A style's font: its font file, big font file and typeface (any may be empty).
FontChoice resolveFontChoice(std::wstring_view fileName, std::wstring_view bigFontFileName,
                             std::wstring_view typeface);

// True for a font file or typeface name that maps to the Chinese font.
bool isChineseFontName(std::wstring_view name);

// Ideographs, kana, hangul, CJK punctuation and full-width forms: characters drawn in a
// square cell, measured 1.0 * height when no font is available, and break opportunities
// when MText wraps.
bool isCjkCharacter(char32_t ch);

}  // namespace vtcad::db
