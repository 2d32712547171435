#include "editor/ValueText.h"

#include <charconv>

namespace vtcad::editor {

std::wstring formatNumber(double value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::wstring(buffer, result.ptr);
}

std::wstring formatPoint(const ZcGePoint3d& point) {
  return formatNumber(point.x) + L"," + formatNumber(point.y) + L"," + formatNumber(point.z);
}

std::wstring formatHex(unsigned long long value) {
  char buffer[32];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
  return std::wstring(buffer, result.ptr);
}

}  // namespace vtcad::editor
