#include "polyline/CoordinateFileLines.h"

#include <locale.h>
#include <wchar.h>

#include <cmath>

#include "frame/CoordinateRange.h"

namespace veltrace {

namespace {

// ASCII white space and the ideographic space U+3000, which Chinese input methods type at the
// ends of lines as often as a plain space.
bool isTrimmedSpace(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f' || c == L'\u3000';
}

bool isSeparator(wchar_t c) {
  return c == L'\uFF0C' /* ， */ || c == L';' || c == L'\uFF1B' /* ； */ || c == L'\u3001' /* 、 */ ||
         c == L'|';
}

std::wstring_view trimmed(std::wstring_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isTrimmedSpace(text[begin])) ++begin;
  while (end > begin && isTrimmedSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// Numbers are read the same whatever locale the host process has chosen: a decimal comma could
// never reach a field anyway, but a decimal point must always be one.
locale_t numericLocale() {
  static const locale_t locale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return locale;
}

}  // namespace

std::wstring cleanCoordinateLine(std::wstring_view raw) {
  std::wstring_view text = trimmed(raw);
  // Only the first "//" is looked at: a line that begins with one is a commented line and is
  // kept whole (it is a terminator unless it holds separators).
  const std::size_t comment = text.find(L"//");
  if (comment != std::wstring_view::npos && comment > 0) text = text.substr(0, comment);
  std::wstring cleaned;
  cleaned.reserve(text.size());
  for (wchar_t c : text) {
    if (c == L' ') continue;
    cleaned.push_back(isSeparator(c) ? L',' : c);
  }
  return cleaned;
}

std::vector<std::wstring_view> splitCoordinateFields(std::wstring_view cleaned) {
  std::vector<std::wstring_view> fields;
  if (cleaned.empty()) return fields;
  std::size_t begin = 0;
  for (;;) {
    const std::size_t comma = cleaned.find(L',', begin);
    if (comma == std::wstring_view::npos) {
      fields.push_back(cleaned.substr(begin));
      return fields;
    }
    fields.push_back(cleaned.substr(begin, comma - begin));
    begin = comma + 1;
  }
}

double readCoordinateNumber(std::wstring_view field) {
  // wcstod needs a terminated string; a field with an embedded NUL is read up to it, as the
  // conversion would read the line.
  const std::wstring terminated(field);
  const locale_t locale = numericLocale();
  if (locale == static_cast<locale_t>(nullptr)) return ::wcstod(terminated.c_str(), nullptr);
  return ::wcstod_l(terminated.c_str(), nullptr, locale);
}

CoordinateLine classifyCoordinateLine(std::wstring_view raw) {
  const std::wstring cleaned = cleanCoordinateLine(raw);
  const std::vector<std::wstring_view> fields = splitCoordinateFields(cleaned);
  CoordinateLine line;
  if (fields.size() < 2) return line;  // a terminator
  const bool pair = fields.size() == 2;
  if (fields[1].empty() || (!pair && fields[0].empty())) {
    line.kind = CoordinateLineKind::badPoint;
    return line;
  }
  line.point.x = readCoordinateNumber(fields[0]);
  line.point.y = readCoordinateNumber(fields[1]);
  line.point.z = pair ? 0.0 : readCoordinateNumber(fields[2]);
  line.kind = withinCoordinateRange(line.point) ? CoordinateLineKind::point : CoordinateLineKind::badPoint;
  return line;
}

}  // namespace veltrace
