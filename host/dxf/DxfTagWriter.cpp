#include "dxf/DxfTagWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "dxf/DxfCarets.h"
#include "dxf/DxfGroupCode.h"

namespace vtcad::dxf {
namespace {

size_t formatRealInto(char* buffer, size_t capacity, double value) {
  // Non-finite values never enter the database; a 0 keeps the file readable if one slips by.
  if (!std::isfinite(value)) value = 0.0;
  if (value == 0.0) value = 0.0;  // no "-0"
  auto result = std::to_chars(buffer, buffer + capacity - 2, value);
  size_t length = static_cast<size_t>(result.ptr - buffer);
  bool hasPoint = false;
  for (size_t i = 0; i < length; ++i) {
    if (buffer[i] == '.' || buffer[i] == 'e') hasPoint = true;
  }
  if (!hasPoint) {
    buffer[length++] = '.';
    buffer[length++] = '0';
  }
  return length;
}

}  // namespace

std::string formatReal(double value) {
  char buffer[48];
  return std::string(buffer, formatRealInto(buffer, sizeof buffer, value));
}

void TagWriter::setSink(std::function<bool(std::string_view)> sink, size_t chunk) {
  sink_ = std::move(sink);
  chunk_ = chunk;
  out_.reserve(chunk + 4096);
}

bool TagWriter::flush() {
  if (sink_ && !failed_ && !out_.empty()) failed_ = !sink_(out_);
  if (sink_) out_.clear();
  return !failed_;
}

void TagWriter::code(int groupCode) {
  if (sink_ && out_.size() >= chunk_) flush();
  // Right-aligned in three columns, then the line end: one append per group code.
  char buffer[24] = {' ', ' ', ' '};
  char digits[16];
  auto result = std::to_chars(digits, digits + sizeof digits, groupCode);
  size_t length = static_cast<size_t>(result.ptr - digits);
  size_t start = length < 3 ? 3 - length : 0;
  std::copy(digits, result.ptr, buffer + start);
  size_t end = start + length;
  buffer[end++] = '\r';
  buffer[end++] = '\n';
  out_.append(buffer, end);
}

void TagWriter::write(int groupCode, std::string_view text) {
  code(groupCode);
  // A line end inside a value (text set through the API, a lone CR of a file) would shift
  // every group after it by a line. In text it is written as a caret pair; after a number
  // (a file whose lines end in CR CR LF) it is padding, and left out.
  if (!needsCarets(text, Carets::kLineEnds)) {
    out_.append(text);
  } else if (const ValueType type = valueTypeOf(groupCode);
             type == ValueType::kString || type == ValueType::kUnknown) {
    out_.append(withCarets(text, Carets::kLineEnds));
  } else {
    for (char c : text) {
      if (c != '\r' && c != '\n') out_.push_back(c);
    }
  }
  out_.append("\r\n");
}

void TagWriter::writeDouble(int groupCode, double value) {
  code(groupCode);
  char buffer[48];
  out_.append(buffer, formatRealInto(buffer, sizeof buffer, value));
  out_.append("\r\n");
}

void TagWriter::writeInt(int groupCode, std::int64_t value) {
  code(groupCode);
  char buffer[24];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out_.append(buffer, result.ptr);
  out_.append("\r\n");
}

void TagWriter::writeHandle(int groupCode, std::uint64_t handle) {
  code(groupCode);
  char buffer[24];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, handle, 16);
  for (char* p = buffer; p < result.ptr; ++p) {
    if (*p >= 'a' && *p <= 'f') *p = static_cast<char>(*p - 'a' + 'A');
  }
  out_.append(buffer, result.ptr);
  out_.append("\r\n");
}

void TagWriter::writePoint(int groupCode, double x, double y, double z) {
  writeDouble(groupCode, x);
  writeDouble(groupCode + 10, y);
  writeDouble(groupCode + 20, z);
}

void TagWriter::writePoint2d(int groupCode, double x, double y) {
  writeDouble(groupCode, x);
  writeDouble(groupCode + 10, y);
}

}  // namespace vtcad::dxf
