#pragma once
// The lines of a coordinate file (ZB2PL) as wide text, read from a stream in two passes: a
// survey that counts the lines and settles the encoding, then the lines themselves. Neither
// pass holds more than one buffer and one line, however large the file.
//
// Encoding: UTF-8 when the whole file is valid UTF-8 or begins with the UTF-8 byte-order mark
// (which is skipped); otherwise GB18030, which is what Chinese editions of Windows editors save
// "plain text" in (and a superset of GBK and GB2312). A file that begins with a UTF-16
// byte-order mark is not read: decoding it as either would make points out of garbage.
// Line ends: LF, CR LF and a lone CR. A last line without a line end counts as a line; a line
// end at the end of the file does not begin another.
#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>

namespace veltrace {

enum class CoordinateTextEncoding { utf8, gb18030 };

struct CoordinateFileLimits {
  // Bytes of one line (without its line end) kept and read; a longer line is reported and
  // skipped. Real coordinate lines are a few dozen bytes.
  std::size_t maxLineBytes = 64 * 1024;
  // Points of one polyline. A longer block is drawn as several polylines, each beginning at
  // the last point of the one before. (A 3-D block becomes a spline-fit polyline with several
  // fit vertices per point, which bounds what one block may cost.)
  std::size_t maxBlockPoints = 100'000;
};

enum class CoordinateSurveyStatus {
  ok,
  unreadable,  // the stream failed while being read
  utf16,       // a UTF-16 byte-order mark: not a text this reader decodes
};

struct CoordinateFileSurvey {
  CoordinateSurveyStatus status = CoordinateSurveyStatus::ok;
  std::uint64_t lines = 0;
  CoordinateTextEncoding encoding = CoordinateTextEncoding::utf8;
};

// The first pass: reads `in` to its end.
CoordinateFileSurvey surveyCoordinateFile(std::istream& in);

enum class CoordinateLineStatus {
  line,     // `text` is the whole line, decoded
  tooLong,  // longer than the limit: `text` is its beginning followed by "..."
  end,      // no more lines
  failed,   // the stream failed while being read
};

struct CoordinateFileLine {
  CoordinateLineStatus status = CoordinateLineStatus::end;
  std::wstring text;
};

// The second pass: the lines of `in`, from where it stands (its beginning), one at a time. A
// byte-order mark (U+FEFF) at the start of the first line is dropped. Bytes that are not valid
// in the encoding become U+FFFD.
class CoordinateLineReader {
 public:
  CoordinateLineReader(std::istream& in, CoordinateTextEncoding encoding, std::size_t maxLineBytes);
  ~CoordinateLineReader();
  CoordinateLineReader(const CoordinateLineReader&) = delete;
  CoordinateLineReader& operator=(const CoordinateLineReader&) = delete;

  CoordinateFileLine next();

 private:
  enum class Fill { more, end, failed };
  Fill fill();
  std::wstring decode(const std::string& bytes);

  std::istream& in_;
  CoordinateTextEncoding encoding_;
  std::size_t maxLineBytes_;
  std::string buffer_;
  std::size_t position_ = 0;
  std::size_t filled_ = 0;
  bool afterCarriageReturn_ = false;  // an LF next belongs to the CR that ended the last line
  bool firstLine_ = true;
  bool failed_ = false;
  void* converter_;  // an iconv_t for GB18030; (iconv_t)-1 when not needed or not available
};

}  // namespace veltrace
