#pragma once
// Splits the bytes of a DXF file into groups, ASCII or binary alike. It never reads past its
// data, never loops, and stops at the first malformed group with the line it is on.
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "dxf/DxfTag.h"

namespace vtcad::dxf {

struct ReadError {
  std::uint32_t line = 0;  // 1-based line (ASCII) or byte offset (binary)
  std::string message;
};

class TagReader {
 public:
  // `data` is the whole file and must outlive the reader and every tag it hands out.
  explicit TagReader(std::string_view data);

  bool isBinary() const { return binary_; }
  // The next group. False at the end of the data or on an error (then error() is set).
  bool next(Tag& tag);
  // The last group read comes again with the next call (one group of look-back).
  void pushBack();
  const std::optional<ReadError>& error() const { return error_; }
  // Where the reader stands, for messages about what follows.
  std::uint32_t line() const { return line_; }
  // Bytes of the data read so far (how far reading has come).
  size_t offset() const { return pos_; }
  bool atEnd() const { return pos_ >= data_.size() && !pushedBack_; }
  // Where the next group starts, and the lines before it (a group pushed back counts as not
  // read). With resumeAt() a reader goes on where another reader of the same bytes stopped.
  size_t nextOffset() const { return pushedBack_ ? lastStart_ : pos_; }
  std::uint32_t linesBeforeNext() const { return pushedBack_ ? last_.line - 1 : line_; }
  // ASCII files only; `offset` must be the start of a group code line.
  void resumeAt(size_t offset, std::uint32_t linesBefore);

 private:
  bool nextAscii(Tag& tag);
  bool nextBinary(Tag& tag);
  bool fail(std::uint32_t line, std::string message);
  std::string_view store(std::string text);

  std::string_view data_;
  size_t pos_ = 0;
  size_t lastStart_ = 0;  // where the last group read starts
  std::uint32_t line_ = 0;
  bool binary_ = false;
  bool twoByteCodes_ = true;
  bool pushedBack_ = false;
  Tag last_;
  std::optional<ReadError> error_;
  // Text made from binary values; a deque keeps earlier texts where they are.
  std::deque<std::string> arena_;
};

inline constexpr std::string_view kBinarySentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};

}  // namespace vtcad::dxf
