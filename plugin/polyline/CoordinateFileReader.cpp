#include "polyline/CoordinateFileReader.h"

#include <iconv.h>

#include <algorithm>
#include <cassert>
#include <cerrno>

#include "frame/Utf8.h"

namespace veltrace {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

constexpr std::size_t kChunkBytes = 64 * 1024;
// What of a too long line its message shows: the characters of its first bytes (enough bytes
// for that many characters of up to four bytes each).
constexpr std::size_t kShownBytes = 200;
constexpr std::size_t kShownCharacters = 40;

struct Chunk {
  bool failed = false;
  std::size_t bytes = 0;  // 0 at the end of the stream
};

Chunk readChunk(std::istream& in, std::string& buffer) {
  Chunk chunk;
  if (in.bad()) {
    chunk.failed = true;
    return chunk;
  }
  in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  // A read error sets badbit (the stream catches the file buffer's exception); the end of the
  // stream sets only eofbit and failbit.
  chunk.failed = in.bad();
  chunk.bytes = chunk.failed ? 0 : static_cast<std::size_t>(in.gcount());
  return chunk;
}

// Whether a byte stream, fed a byte at a time, is well-formed UTF-8: no overlong forms, no
// surrogates, nothing beyond U+10FFFF (the same bytes `decodeUtf8` would replace).
class Utf8Check {
 public:
  void feed(unsigned char byte) {
    if (!valid_) return;
    if (pending_ > 0) {
      if (byte < low_ || byte > high_) {
        valid_ = false;
        return;
      }
      low_ = 0x80;
      high_ = 0xBF;
      --pending_;
      return;
    }
    if (byte < 0x80) return;
    if (byte >= 0xC2 && byte <= 0xDF) {
      pending_ = 1;
    } else if (byte == 0xE0) {
      pending_ = 2, low_ = 0xA0;  // else overlong
    } else if (byte == 0xED) {
      pending_ = 2, high_ = 0x9F;  // else a surrogate
    } else if (byte >= 0xE1 && byte <= 0xEF) {
      pending_ = 2;
    } else if (byte == 0xF0) {
      pending_ = 3, low_ = 0x90;  // else overlong
    } else if (byte == 0xF4) {
      pending_ = 3, high_ = 0x8F;  // else beyond U+10FFFF
    } else if (byte >= 0xF1 && byte <= 0xF3) {
      pending_ = 3;
    } else {
      valid_ = false;
    }
  }
  // A sequence cut off by the end of the file is malformed too.
  bool valid() const { return valid_ && pending_ == 0; }

 private:
  bool valid_ = true;
  int pending_ = 0;
  unsigned char low_ = 0x80;
  unsigned char high_ = 0xBF;
};

bool startsWith(const std::string& bytes, std::size_t count, const char* prefix, std::size_t length) {
  return count >= length && bytes.compare(0, length, prefix, length) == 0;
}

}  // namespace

CoordinateFileSurvey surveyCoordinateFile(std::istream& in) {
  CoordinateFileSurvey survey;
  std::string buffer(kChunkBytes, '\0');
  Utf8Check utf8;
  bool byteOrderMark = false;
  bool first = true;
  bool afterCarriageReturn = false;
  bool lineOpen = false;  // bytes since the last line end
  for (;;) {
    const Chunk chunk = readChunk(in, buffer);
    if (chunk.failed) {
      survey.status = CoordinateSurveyStatus::unreadable;
      return survey;
    }
    if (chunk.bytes == 0) break;
    if (first) {
      first = false;
      // The first chunk is whole unless the file is shorter: the marks cannot be split.
      if (startsWith(buffer, chunk.bytes, "\xFF\xFE", 2) || startsWith(buffer, chunk.bytes, "\xFE\xFF", 2)) {
        survey.status = CoordinateSurveyStatus::utf16;
        return survey;
      }
      byteOrderMark = startsWith(buffer, chunk.bytes, "\xEF\xBB\xBF", 3);
    }
    for (std::size_t i = 0; i < chunk.bytes; ++i) {
      const char c = buffer[i];
      utf8.feed(static_cast<unsigned char>(c));
      if (afterCarriageReturn) {
        afterCarriageReturn = false;
        if (c == '\n') continue;
      }
      if (c == '\n' || c == '\r') {
        ++survey.lines;
        lineOpen = false;
        afterCarriageReturn = c == '\r';
      } else {
        lineOpen = true;
      }
    }
  }
  if (lineOpen) ++survey.lines;
  // The mark says UTF-8 even when a stray byte further on is not.
  survey.encoding =
      byteOrderMark || utf8.valid() ? CoordinateTextEncoding::utf8 : CoordinateTextEncoding::gb18030;
  return survey;
}

CoordinateLineReader::CoordinateLineReader(std::istream& in, CoordinateTextEncoding encoding,
                                           std::size_t maxLineBytes)
    : in_(in),
      encoding_(encoding),
      maxLineBytes_(maxLineBytes),
      buffer_(kChunkBytes, '\0'),
      converter_(encoding == CoordinateTextEncoding::gb18030 ? iconv_open("WCHAR_T", "GB18030")
                                                             : kNoConverter) {
  assert(maxLineBytes > 0);
}

CoordinateLineReader::~CoordinateLineReader() {
  if (static_cast<iconv_t>(converter_) != kNoConverter) iconv_close(static_cast<iconv_t>(converter_));
}

CoordinateLineReader::Fill CoordinateLineReader::fill() {
  const Chunk chunk = readChunk(in_, buffer_);
  position_ = 0;
  filled_ = chunk.bytes;
  if (chunk.failed) return Fill::failed;
  return chunk.bytes > 0 ? Fill::more : Fill::end;
}

CoordinateFileLine CoordinateLineReader::next() {
  CoordinateFileLine line;
  if (failed_) {
    line.status = CoordinateLineStatus::failed;
    return line;
  }
  std::string bytes;
  std::size_t length = 0;
  bool started = false;  // a line end at the very end of the file begins no further line
  for (;;) {
    if (position_ == filled_) {
      const Fill filled = fill();
      if (filled == Fill::failed) {
        failed_ = true;
        line.status = CoordinateLineStatus::failed;
        return line;
      }
      if (filled == Fill::end) {
        if (!started) return line;  // end
        break;
      }
    }
    const char c = buffer_[position_++];
    if (afterCarriageReturn_) {
      afterCarriageReturn_ = false;
      if (c == '\n') continue;
    }
    if (c == '\n') break;
    if (c == '\r') {
      afterCarriageReturn_ = true;
      break;
    }
    started = true;
    // Past the limit the bytes are counted over and dropped: the line's length never costs memory.
    if (++length <= maxLineBytes_) bytes.push_back(c);
  }

  const bool tooLong = length > maxLineBytes_;
  if (tooLong) bytes.resize(std::min(bytes.size(), kShownBytes));
  line.text = decode(bytes);
  if (firstLine_) {
    firstLine_ = false;
    if (!line.text.empty() && line.text.front() == L'\uFEFF') line.text.erase(0, 1);
  }
  line.status = tooLong ? CoordinateLineStatus::tooLong : CoordinateLineStatus::line;
  if (tooLong) {
    if (line.text.size() > kShownCharacters) line.text.resize(kShownCharacters);
    line.text += L"...";
  }
  return line;
}

std::wstring CoordinateLineReader::decode(const std::string& bytes) {
  if (encoding_ == CoordinateTextEncoding::utf8) return decodeUtf8(bytes);
  std::wstring text;
  const auto converter = static_cast<iconv_t>(converter_);
  if (converter == kNoConverter) {
    // No GB18030 converter on this system: the ASCII of the line (numbers and separators but
    // the full-width ones) still reads.
    for (char c : bytes)
      text.push_back(static_cast<unsigned char>(c) < 0x80 ? static_cast<wchar_t>(c) : L'\uFFFD');
    return text;
  }
  // iconv takes a non-const input pointer but does not write through it.
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  wchar_t chunk[256];
  while (inLeft > 0) {
    char* next = reinterpret_cast<char*>(chunk);
    std::size_t room = sizeof(chunk);
    const std::size_t result = iconv(converter, &in, &inLeft, &next, &room);
    text.append(chunk, static_cast<std::size_t>(reinterpret_cast<wchar_t*>(next) - chunk));
    if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    // EILSEQ (not GB18030) or EINVAL (cut off at the line's end): one replacement for the byte,
    // and the rest is tried again from the next one.
    text.push_back(L'\uFFFD');
    ++in;
    --inLeft;
  }
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  return text;
}

}  // namespace veltrace
