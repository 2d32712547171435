#include "export/ListDocument.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace veltrace {

namespace {

constexpr const char* kPlainBackground = "#FFFFFF";
constexpr const char* kSummaryBackground = "#99FF99";

constexpr std::string_view kHeadStart =
    "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\r\n"
    "<title>";
constexpr std::string_view kHeadMiddle =
    "</title>\r\n<style type=\"text/css\">\r\n<!--\r\n.STYLE1 {font-size: 18px}\r\n-->\r\n</style>\r\n"
    "</head>\r\n<body>\r\n<p align=center class=STYLE1>";
constexpr std::string_view kHeadEnd = "</p>\r\n";
constexpr std::string_view kTableStart =
    "<table border=1 cellspacing=0 bordercolor=#000000 width = 100% style=border-collapse:collapse>\r\n";
constexpr std::string_view kRowStart = "  <tr>\r\n";
constexpr std::string_view kRowEnd = "  </tr>\r\n";
constexpr std::string_view kTail = "</table>\r\n<br>\r\n</body>\r\n</html>\r\n";

template <typename Number, typename... Format>
void appendNumber(std::string& out, Number value, Format... format) {
  char digits[64];
  const std::to_chars_result result = std::to_chars(digits, digits + sizeof(digits), value, format...);
  // 64 characters hold any int and any double with three decimals; the check is for form.
  if (result.ec == std::errc()) out.append(digits, result.ptr);
}

}  // namespace

std::wstring escapeMarkup(std::wstring_view text) {
  std::wstring escaped;
  escaped.reserve(text.size());
  for (const wchar_t c : text) {
    switch (c) {
      case L'&':
        escaped += L"&amp;";
        break;
      case L'<':
        escaped += L"&lt;";
        break;
      case L'>':
        escaped += L"&gt;";
        break;
      case L'"':
        escaped += L"&quot;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

ListDocument::ListDocument(ListSink& sink, std::wstring_view path, std::wstring_view title,
                           std::span<const ListColumn> columns)
    : sink_(sink) {
  // The head is one piece, as a reader of a half-written file would see it whole or not at all.
  std::string head(kHeadStart);
  appendText(path, head);
  head += kHeadMiddle;
  appendText(title, head);
  head += kHeadEnd;
  head += kTableStart;
  sink_.write(head);

  beginRow(RowColour::kPlain);
  for (const ListColumn& column : columns) {
    std::string name;
    appendText(column.header.text(), name);
    cell(column.widthPercent, name);
  }
  endRow();
}

void ListDocument::beginRow(RowColour colour) {
  background_ = colour == RowColour::kSummary ? kSummaryBackground : kPlainBackground;
  sink_.write(kRowStart);
}

void ListDocument::integerCell(int widthPercent, int value) {
  std::string content;
  appendNumber(content, value);
  cell(widthPercent, content);
}

void ListDocument::realCell(int widthPercent, double value) {
  if (!std::isfinite(value)) {
    // Never from the database; a measure that overflowed is shown, not hidden.
    cell(widthPercent, std::isnan(value) ? "nan" : (value > 0 ? "inf" : "-inf"));
    return;
  }
  std::string content;
  appendNumber(content, value, std::chars_format::fixed, 3);
  cell(widthPercent, content);
}

void ListDocument::emptyCell(int widthPercent) { cell(widthPercent, "&nbsp;"); }

void ListDocument::endRow() { sink_.write(kRowEnd); }

void ListDocument::finish() { sink_.write(kTail); }

void ListDocument::cell(int widthPercent, std::string_view content) {
  line_.assign("    <td width=");
  appendNumber(line_, widthPercent);
  line_ += "% valign=top bgcolor=";
  line_ += background_;
  line_ += "><div align=center>";
  line_ += content;
  line_ += "</div></td>\r\n";
  sink_.write(line_);
}

void ListDocument::appendText(std::wstring_view text, std::string& out) {
  encoder_.append(escapeMarkup(text), out);
}

}  // namespace veltrace
