#include "dxf/DxfTagWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

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

void TagWriter::code(int groupCode) {
  char buffer[16];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, groupCode);
  size_t length = static_cast<size_t>(result.ptr - buffer);
  for (size_t pad = length; pad < 3; ++pad) out_.push_back(' ');
  out_.append(buffer, length);
  out_.append("\r\n");
}

void TagWriter::write(int groupCode, std::string_view text) {
  code(groupCode);
  out_.append(text);
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
