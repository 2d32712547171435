#pragma once
// Conversions between the host's wide strings (wchar_t holds a whole code point here) and the
// byte encodings platform services meet: UTF-8 (files, paths, the terminal) and UTF-16LE (the
// registry's own export format and the string types of hex(N) registry values).
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vtcad::platform {

// Decoded text and where the input was not valid: each invalid sequence became one U+FFFD at
// one of the listed positions of `text` (ascending), so a caller can tell a replacement from
// a U+FFFD that was really in the input.
struct DecodedText {
  std::wstring text;
  std::vector<size_t> invalidAt;
};

// Strict UTF-8: overlong forms, surrogates, code points above U+10FFFF and cut-off sequences
// are invalid.
DecodedText decodeUtf8(std::string_view bytes);
// UTF-16 little-endian; an unpaired surrogate or an odd final byte is invalid.
DecodedText decodeUtf16Le(std::string_view bytes);

// Code points that have no encoding (surrogates, values above U+10FFFF, which a wchar_t can
// hold) are written as U+FFFD, so the output is always valid.
std::string encodeUtf8(std::wstring_view text);
std::vector<std::uint8_t> encodeUtf16Le(std::wstring_view text);

// File names: the bytes of a Linux path are taken as UTF-8 (invalid bytes read as U+FFFD).
std::filesystem::path pathFromWide(std::wstring_view text);
std::wstring wideFromPath(const std::filesystem::path& path);

}  // namespace vtcad::platform
