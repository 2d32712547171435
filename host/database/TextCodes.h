#pragma once
// TextCodes: the %% control codes of drawing texts, decoded into the characters they draw.
//
//   %%c  diameter sign, drawn as Ø (U+00D8)    %%d  degree sign ° (U+00B0)
//   %%p  plus/minus sign ± (U+00B1)            %%%  a percent sign
//   %%nnn  the character with decimal code nnn (one to three digits)
//   %%u, %%o, %%k  underline, overline and strike-through toggles: they draw nothing
// "%%" before any other character is dropped and the character kept; a "%%" that ends the
// text is kept as it is.
#include <string>
#include <string_view>

namespace vtcad::db {

// When text[pos] starts a %% code: consumes it (pos moves past it), sets `drawn` to the
// character it draws (0 for a toggle) and returns true. Otherwise returns false, pos unchanged.
bool consumePercentCode(std::wstring_view text, size_t& pos, char32_t& drawn);

// The characters a single-line text draws, in order.
std::u32string decodeTextCodes(std::wstring_view text);

}  // namespace vtcad::db
