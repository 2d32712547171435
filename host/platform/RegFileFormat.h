#pragma once
// The text of a registry file as regedit exports it ("Windows Registry Editor Version 5.00"):
// key sections "[path]", values "Name"="text", "Name"=dword:0000000a, @= for the default
// value, every other type as hex bytes ("hex:", "hex(N):", lines continued by a backslash).
// "[-path]" and "Name"=- delete. Read from UTF-8 (with or without a byte order mark) or
// UTF-16LE with its mark; written as UTF-8 without a mark, lines ending in LF.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegDocument.h"

namespace vtcad::platform {

// Bounds that keep a damaged file from costing unbounded time or memory. The writer never
// makes a line or an entry longer (setters refuse such values), so whatever it wrote reads.
inline constexpr size_t kMaxRegFileBytes = size_t{64} << 20;
inline constexpr size_t kMaxRegLineChars = size_t{1} << 20;
inline constexpr size_t kMaxRegEntryChars = size_t{4} << 20;

// The first damaged line (numbered from 1) and what is wrong with it; `damagedLines` counts it
// and every later damaged entry.
struct RegFileDamage {
  size_t line = 0;
  std::string problem;
  size_t damagedLines = 0;
};

// Reading stops only at a bad first line (nothing is read: it is no registry file) or a file
// above kMaxRegFileBytes; any other damaged entry is skipped and the rest read.
struct RegFileReadResult {
  RegDocument document;
  std::optional<RegFileDamage> damage;
};
RegFileReadResult readRegFile(std::string_view bytes);
std::string writeRegFile(const RegDocument& document);

// One value as the writer puts it ("Name"=...), continuation lines joined by '\n'.
std::wstring formatRegValue(const RegValue& value);
// Whether the writer can put the value or key line into a file the reader takes back.
bool fitsRegFile(const RegValue& value);
bool fitsRegFile(std::wstring_view keyPath);

// A REG_SZ value: quoted when the text can be, otherwise (line breaks and other control
// characters) as hex(1) bytes of UTF-16LE with the terminator, as the file carries such text.
RegValue makeStringValue(std::wstring name, std::wstring_view text);

// The type and bytes of hex data ("hex:01,02" is REG_BINARY, "hex(7):..." REG_MULTI_SZ);
// nullopt when it is not valid hex data.
struct RegRawData {
  std::uint32_t type = kRegBinary;
  std::vector<std::uint8_t> bytes;
};
std::optional<RegRawData> decodeRegRawData(std::wstring_view raw);
// Hex data in regedit's layout: 25 bytes a line, continued by ",\" and two spaces.
std::wstring encodeRegRawData(std::uint32_t type, std::span<const std::uint8_t> bytes);

}  // namespace vtcad::platform
