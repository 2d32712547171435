// Coordinate files as bytes: line ends, the encoding guess, over-long lines and read failures,
// the survey and the line reader agreeing on the lines.
#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "polyline/CoordinateFileReader.h"

namespace veltrace {
namespace {

struct CoordinateFileBytesRead {
  CoordinateFileSurvey survey;
  std::vector<std::wstring> lines;  // over-long lines marked with a leading "!"
  CoordinateLineStatus last = CoordinateLineStatus::end;
};

CoordinateFileBytesRead readBytes(const std::string& bytes, std::size_t maxLineBytes = 64 * 1024) {
  CoordinateFileBytesRead read;
  std::istringstream first(bytes);
  read.survey = surveyCoordinateFile(first);
  std::istringstream second(bytes);
  CoordinateLineReader reader(second, read.survey.encoding, maxLineBytes);
  for (;;) {
    CoordinateFileLine line = reader.next();
    read.last = line.status;
    if (line.status == CoordinateLineStatus::end || line.status == CoordinateLineStatus::failed) break;
    read.lines.push_back((line.status == CoordinateLineStatus::tooLong ? L"!" : L"") + line.text);
  }
  return read;
}

using Lines = std::vector<std::wstring>;

TEST(CoordinateFileReaderTest, LfCrLfAndLoneCrEndLinesAndTheSurveyCountsTheSame) {
  const struct {
    std::string bytes;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"\n", {L""}},
      {"1,2", {L"1,2"}},
      {"1,2\n", {L"1,2"}},
      {"a\nb\r\nc\rd", {L"a", L"b", L"c", L"d"}},
      {"a\r\n\r\nb\r\n", {L"a", L"", L"b"}},
      {"a\r\r\n", {L"a", L""}},
      {"\r\r", {L"", L""}},
      {"a\n\rb", {L"a", L"", L"b"}},  // LF CR is two line ends
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes));
    const CoordinateFileBytesRead read = readBytes(c.bytes);
    EXPECT_EQ(read.survey.status, CoordinateSurveyStatus::ok);
    EXPECT_EQ(read.lines, c.lines);
    EXPECT_EQ(read.survey.lines, c.lines.size());
  }
}

// Regression: a CR ending the first 64 KiB and its LF beginning the next made an extra line.
TEST(CoordinateFileReaderTest, CrLfSplitBetweenReadsIsOneLineEnd) {
  const std::string first(64 * 1024 - 1, '7');
  const CoordinateFileBytesRead read = readBytes(first + "\r\n" + "8");
  EXPECT_EQ(read.survey.lines, 2u);
  ASSERT_EQ(read.lines.size(), 2u);
  EXPECT_EQ(read.lines[1], L"8");
}

TEST(CoordinateFileReaderTest, Utf8WhenValidOrMarkedElseGb18030) {
  // UTF-8, with and without the mark (which is not part of the first line).
  CoordinateFileBytesRead read = readBytes(
      "\xEF\xBB\xBF"
      "1\xEF\xBC\x8C"
      "2\n\xE8\xB5\xB7\xE7\x82\xB9");
  EXPECT_EQ(read.survey.encoding, CoordinateTextEncoding::utf8);
  EXPECT_EQ(read.lines, (Lines{L"1，2", L"起点"}));
  EXPECT_EQ(readBytes("1,2\n3,4").survey.encoding, CoordinateTextEncoding::utf8);

  // GB18030: full-width comma, semicolon, ideographic comma, a label.
  read = readBytes(
      "1\xA3\xAC"
      "2\xA3\xBB"
      "5\n6\xA1\xA2"
      "7\r\n\xC6\xF0\xB5\xE3");
  EXPECT_EQ(read.survey.encoding, CoordinateTextEncoding::gb18030);
  EXPECT_EQ(read.lines, (Lines{L"1，2；5", L"6、7", L"起点"}));

  // One bad byte anywhere, even in the last line, makes the whole file GB18030; bytes that are
  // not GB18030 either become U+FFFD and the rest of the line still reads.
  read = readBytes("\xE8\xB5\xB7\n1,2\xFF,3");
  EXPECT_EQ(read.survey.encoding, CoordinateTextEncoding::gb18030);
  EXPECT_EQ(read.lines[1], L"1,2\uFFFD,3");
  // A sequence cut off by the end of the file is not UTF-8.
  EXPECT_EQ(readBytes("1,2\n\xE8\xB5").survey.encoding, CoordinateTextEncoding::gb18030);

  // The UTF-8 mark wins over a stray byte further on.
  read = readBytes(
      "\xEF\xBB\xBF"
      "1,2\n3\xFF");
  EXPECT_EQ(read.survey.encoding, CoordinateTextEncoding::utf8);
  EXPECT_EQ(read.lines, (Lines{L"1,2", L"3\uFFFD"}));

  // UTF-16 is refused rather than read as garbage points.
  EXPECT_EQ(readBytes(std::string("\xFF\xFE"
                                  "1\0,\0"
                                  "2\0",
                                  8))
                .survey.status,
            CoordinateSurveyStatus::utf16);
  EXPECT_EQ(readBytes(std::string("\xFE\xFF\0"
                                  "1",
                                  4))
                .survey.status,
            CoordinateSurveyStatus::utf16);
}

TEST(CoordinateFileReaderTest, OverLongLineIsShortenedAndTheNextLineStillReads) {
  CoordinateFileBytesRead read = readBytes("1,2\n123456789\n3,4\n12345678", /*maxLineBytes=*/8);
  EXPECT_EQ(read.lines, (Lines{L"1,2", L"!12345678...", L"3,4", L"12345678"}));
  EXPECT_EQ(read.survey.lines, 4u);
}

// A file buffer whose reads fail after `good` bytes, as a disk error does.
class CoordinateFileFailingBuffer : public std::streambuf {
 public:
  explicit CoordinateFileFailingBuffer(std::string good) : good_(std::move(good)) {
    setg(good_.data(), good_.data(), good_.data() + good_.size());
  }

 protected:
  int_type underflow() override { throw std::ios_base::failure("read error"); }

 private:
  std::string good_;
};

TEST(CoordinateFileReaderTest, ReadErrorIsReportedNotTakenForTheEnd) {
  CoordinateFileFailingBuffer surveyBuffer("1,2\n3,4\n");
  std::istream surveyStream(&surveyBuffer);
  EXPECT_EQ(surveyCoordinateFile(surveyStream).status, CoordinateSurveyStatus::unreadable);

  CoordinateFileFailingBuffer lineBuffer("1,2\n3,4\n");
  std::istream lineStream(&lineBuffer);
  CoordinateLineReader reader(lineStream, CoordinateTextEncoding::utf8, /*maxLineBytes=*/64);
  // The first chunk already fails: nothing read before the error is taken as the whole file.
  EXPECT_EQ(reader.next().status, CoordinateLineStatus::failed);
  EXPECT_EQ(reader.next().status, CoordinateLineStatus::failed);
}

}  // namespace
}  // namespace veltrace
