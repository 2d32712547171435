#include "database/FontMapping.h"

#include <array>
#include <cwctype>
#include <string>

namespace vtcad::db {
namespace {

std::wstring lowered(std::wstring_view text) {
  std::wstring result(text);
  for (wchar_t& ch : result) ch = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch)));
  return result;
}

// The file name without folders ("C:\Fonts\SimSun.ttc" -> "simsun.ttc"), lower case.
std::wstring baseName(std::wstring_view name) {
  const size_t slash = name.find_last_of(L"/\\");
  if (slash != std::wstring_view::npos) name.remove_prefix(slash + 1);
  return lowered(name);
}

bool endsWith(std::wstring_view text, std::wstring_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

bool isTrueTypeFile(std::wstring_view lowerName) {
  return endsWith(lowerName, L".ttf") || endsWith(lowerName, L".ttc") || endsWith(lowerName, L".otf");
}

// Latin-script names of Chinese fonts, matched as prefixes of the lower-case file name or
// typeface. Typefaces written in Chinese ("宋体") are recognised by their characters instead.
constexpr std::array<std::wstring_view, 30> kChinesePrefixes = {
    L"simsun",      L"nsimsun",   L"simhei",    L"simkai",          L"simfang",
    L"kaiti",       L"fangsong",  L"msyh",      L"microsoft yahei", L"microsoft jhenghei",
    L"msjh",        L"mingliu",   L"pmingliu",  L"dfkai",           L"kaiu",
    L"stsong",      L"stkaiti",   L"stheiti",   L"stxihei",         L"stfangsong",
    L"stzhongsong", L"wqy",       L"wenquanyi", L"noto sans cjk",   L"notosanscjk",
    L"source han",  L"sourcehan", L"gbcbig",    L"chineset",        L"hz"};

}  // namespace

bool isCjkCharacter(char32_t ch) {
  return (ch >= 0x1100 && ch <= 0x11FF) ||  // Hangul Jamo
         (ch >= 0x2E80 && ch <= 0x2FDF) ||  // CJK and Kangxi radicals
         (ch >= 0x3000 && ch <= 0x30FF) ||  // CJK punctuation, hiragana, katakana
         (ch >= 0x3100 && ch <= 0x31FF) ||  // bopomofo, hangul compatibility, kanbun
         (ch >= 0x3200 && ch <= 0x4DBF) ||  // enclosed CJK, compatibility, extension A
         (ch >= 0x4E00 && ch <= 0x9FFF) ||  // unified ideographs
         (ch >= 0xA000 && ch <= 0xA4CF) ||  // Yi
         (ch >= 0xAC00 && ch <= 0xD7AF) ||  // Hangul syllables
         (ch >= 0xF900 && ch <= 0xFAFF) ||  // compatibility ideographs
         (ch >= 0xFE30 && ch <= 0xFE4F) ||  // compatibility forms
         (ch >= 0xFF00 && ch <= 0xFF60) ||  // full-width forms
         (ch >= 0xFFE0 && ch <= 0xFFE6) ||  // full-width signs
         (ch >= 0x20000 && ch <= 0x3FFFF);  // supplementary ideographs
}

bool isChineseFontName(std::wstring_view name) {
  const std::wstring base = baseName(name);
  for (wchar_t ch : base) {
    if (isCjkCharacter(static_cast<char32_t>(ch))) return true;
  }
  for (std::wstring_view prefix : kChinesePrefixes) {
    if (base.starts_with(prefix)) return true;
  }
  return false;
}

FontChoice resolveFontChoice(std::wstring_view fileName, std::wstring_view bigFontFileName,
                             std::wstring_view typeface) {
  FontChoice choice;
  if (!typeface.empty()) {
    // A TrueType typeface: every character is scaled by the face's cap height.
    choice.primary = isChineseFontName(typeface) ? FontFace::kCjk : FontFace::kLatin;
    return choice;
  }
  const std::wstring file = baseName(fileName);
  if (isTrueTypeFile(file)) {
    choice.primary = isChineseFontName(file) ? FontFace::kCjk : FontFace::kLatin;
    return choice;
  }
  // A shape font (".shx", no extension, or no name at all): its big font, or the Chinese
  // font standing in for the missing glyphs, draws ideographs in a height-sized cell.
  choice.primary = isChineseFontName(file) ? FontFace::kCjk : FontFace::kLatin;
  choice.cjkCellIsHeight = true;
  (void)bigFontFileName;  // every big font is a CJK font here; its name changes nothing
  return choice;
}

}  // namespace vtcad::db
