#pragma once
// Writes DXF groups as ASCII text: group codes right-aligned in three columns as CAD programs
// write them, one value per line, lines ended by "\r\n" as the format's home platform does.
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

namespace vtcad::dxf {

namespace detail {
// The text of a group code with its line end, right-aligned in three columns ("  8\r\n",
// "1071\r\n"), made at compile time for every code of the format: copied as one word per group.
struct CodeText {
  char text[7];
  std::uint8_t length;
};
inline constexpr int kCodeCount = 1072;
extern const std::array<CodeText, kCodeCount> kCodeTexts;
}  // namespace detail

class TagWriter {
 public:
  TagWriter() { reserve(1 << 16); }

  // Text as it is (already UTF-8); a CR or LF in it is written as "^M" or "^J".
  void write(int code, std::string_view text);
  // Shortest text that reads back as the same double; always with a decimal point or exponent.
  void writeDouble(int code, double value);
  void writeInt(int code, std::int64_t value);
  void writeHandle(int code, std::uint64_t handle);
  void writePoint(int code, double x, double y, double z);
  void writePoint2d(int code, double x, double y);
  // Groups another writer made, as they are.
  void append(std::string_view groups);

  // Hands the text to `sink` in pieces of about `chunk` bytes while it is written (a file
  // being saved) instead of keeping it whole. A sink answering false stops the writing:
  // failed() tells, and what follows is dropped.
  void setSink(std::function<bool(std::string_view)> sink, size_t chunk = size_t{1} << 20);
  // Hands what is left to the sink. False when the sink failed, now or before.
  bool flush();
  bool failed() const { return failed_; }
  void reserve(size_t bytes);

  std::string_view data() const { return {out_.data(), used_}; }
  std::string take();
  size_t size() const { return used_; }

 private:
  // Writes the group code's line and makes room for `valueBytes` of value and its line end:
  // where the value goes. end() closes the line after the value.
  // Inline: every group of a drawing passes here.
  char* begin(int groupCode, size_t valueBytes) {
    if (used_ >= chunk_) flush();
    // The code's text (a table entry copied as one word of 8, or up to 11 digits and a sign of
    // a code outside the table, with its line end), the value and the line end.
    constexpr size_t kCodeRoom = 16;
    char* at = room(kCodeRoom + valueBytes + 2);
    if (groupCode >= 0 && groupCode < detail::kCodeCount) {
      const detail::CodeText& code = detail::kCodeTexts[static_cast<size_t>(groupCode)];
      std::memcpy(at, &code, sizeof code);
      return at + code.length;
    }
    return codeOutsideTable(at, groupCode);
  }
  char* codeOutsideTable(char* at, int groupCode);
  // Where the next `bytes` go, made room for after the text written so far.
  char* room(size_t bytes) {
    if (out_.size() - used_ < bytes) grow(bytes);
    return out_.data() + used_;
  }
  void grow(size_t bytes);
  void end(char* valueEnd) {
    valueEnd[0] = '\r';
    valueEnd[1] = '\n';
    used_ = static_cast<size_t>(valueEnd + 2 - out_.data());
  }

  // Sized ahead of the text (values are written in place); the first used_ bytes are it.
  std::string out_;
  size_t used_ = 0;
  std::function<bool(std::string_view)> sink_;
  // Where the text is handed to the sink; never without one.
  size_t chunk_ = static_cast<size_t>(-1);
  bool failed_ = false;
};

// Shortest round-trip text of a double with a decimal point ("1.0", "0.25", "1e-05").
std::string formatReal(double value);

}  // namespace vtcad::dxf
