#pragma once
// The markup of a coordinate list: a small HTML page holding one table, which spreadsheet
// programs and browsers open as it is. The document is written piece by piece into a sink as
// it is built (a list of a large polyline never sits in memory whole), already encoded for
// disk (ListEncoding.h).
#include <span>
#include <string>
#include <string_view>

#include "export/ListEncoding.h"
#include "frame/Messages.h"

namespace veltrace {

// Where the encoded bytes of a document go: a list file, or a string in tests.
class ListSink {
 public:
  virtual ~ListSink() = default;
  virtual void write(std::string_view bytes) = 0;
};

class StringListSink final : public ListSink {
 public:
  void write(std::string_view bytes) override { bytes_.append(bytes); }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// One column of a list: its width in percent and its header name in both languages.
struct ListColumn {
  int widthPercent;
  MessagePair header;
};

// Ordinary rows are white; the summary row after each curve is green.
enum class RowColour { kPlain, kSummary };

class ListDocument {
 public:
  // Writes the head (the title element holds `path`, the heading `title`), the table start and
  // the header row of `columns` (header names in this load's language).
  ListDocument(ListSink& sink, std::wstring_view path, std::wstring_view title,
               std::span<const ListColumn> columns);
  ListDocument(const ListDocument&) = delete;
  ListDocument& operator=(const ListDocument&) = delete;

  void beginRow(RowColour colour);
  void integerCell(int widthPercent, int value);
  // Three decimals, whatever the process's locale: -0.0004 is "-0.000".
  void realCell(int widthPercent, double value);
  void emptyCell(int widthPercent);
  void endRow();
  // Writes the tail. Nothing is to be added afterwards.
  void finish();

 private:
  void cell(int widthPercent, std::string_view content);
  // Text from outside the markup (a path, a title, a header name), escaped and encoded.
  void appendText(std::wstring_view text, std::string& out);

  ListSink& sink_;
  ListEncoder encoder_;
  const char* background_ = "#FFFFFF";
  std::string line_;  // the cell being written, kept to reuse its storage
};

// Markup text for `text`: "&", "<", ">" and '"' as entities, everything else as it is.
std::wstring escapeMarkup(std::wstring_view text);

}  // namespace veltrace
