#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "dxf/DxfCarets.h"
#include "dxf/DxfTagReader.h"
#include "dxf/DxfTagWriter.h"

using namespace vtcad::dxf;

namespace {

std::vector<Tag> readAll(TagReader& reader) {
  std::vector<Tag> tags;
  Tag tag;
  while (reader.next(tag)) tags.push_back(tag);
  return tags;
}

std::filesystem::path samplesDir() {
  const char* shared = std::getenv("VTCAD_SHARED");
  return std::filesystem::path(shared ? shared : "../shared") / "dxf-samples";
}

std::string slurp(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

}  // namespace

TEST(DxfTagReader, AsciiGroupsWithPaddingCrLfAndByteOrderMark) {
  std::string data =
      "\xEF\xBB\xBF  0\r\nSECTION\r\n  2\r\nHEADER\r\n 10 \r\n1.5\r\n  1\r\n  text with blanks  \r\n";
  TagReader reader(data);
  auto tags = readAll(reader);
  ASSERT_FALSE(reader.error());
  ASSERT_EQ(tags.size(), 4u);
  EXPECT_TRUE(tags[0].is(0, "SECTION"));
  EXPECT_EQ(tags[2].code, 10);
  EXPECT_EQ(tags[2].toDouble(), 1.5);
  EXPECT_EQ(tags[2].line, 5u);
  // Text values keep their blanks; only the line end goes.
  EXPECT_EQ(tags[3].value, "  text with blanks  ");
}

TEST(DxfTagReader, MalformedInputNamesTheLineAndStops) {
  struct Case {
    std::string data;
    std::uint32_t line;
    std::string words;
  };
  const Case cases[] = {
      {"0\nSECTION\nabc\nHEADER\n", 3, "invalid group code"},
      {"0\nSECTION\n2\n", 3, "has no value"},
      {"0\nSECTION\n\n2\nHEADER\n", 3, "empty group code"},
      {"0\nSECTION\n99999\nx\n", 3, "invalid group code"},
  };
  for (const Case& c : cases) {
    TagReader reader(c.data);
    readAll(reader);
    ASSERT_TRUE(reader.error()) << c.data;
    EXPECT_EQ(reader.error()->line, c.line) << c.data;
    EXPECT_NE(reader.error()->message.find(c.words), std::string::npos) << reader.error()->message;
  }
}

TEST(DxfTagReader, BlankLinesAfterTheLastGroupEndTheFile) {
  TagReader reader("0\nEOF\n\n\r\n  \n");
  EXPECT_EQ(readAll(reader).size(), 1u);
  EXPECT_FALSE(reader.error());
}

TEST(DxfTagReader, PushBackGivesTheSameGroupAgain) {
  TagReader reader("0\nA\n0\nB\n");
  Tag tag;
  ASSERT_TRUE(reader.next(tag));
  reader.pushBack();
  ASSERT_TRUE(reader.next(tag));
  EXPECT_EQ(tag.value, "A");
  ASSERT_TRUE(reader.next(tag));
  EXPECT_EQ(tag.value, "B");
}

TEST(DxfTagReader, CutOffBinaryFilesAreRefusedNotOverread) {
  std::string data = slurp(samplesDir() / "itest-bin_dxf_r2000.dxf");
  ASSERT_GT(data.size(), 1000u);
  // Every prefix ends cleanly: either a complete group list or an error, never a crash.
  for (size_t cut : {23ul, 24ul, 100ul, 101ul, 102ul, data.size() / 2, data.size() - 1}) {
    std::string prefix = data.substr(0, cut);
    TagReader reader(prefix);
    readAll(reader);
    EXPECT_TRUE(reader.error() || reader.atEnd()) << cut;
  }
}

TEST(DxfTagReader, EverySampleDrawingSplitsToItsEndOfFile) {
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(samplesDir())) {
    std::string ext = entry.path().extension().string();
    if (ext != ".dxf" && ext != ".DXF") continue;
    ++files;
    std::string data = slurp(entry.path());
    TagReader reader(data);
    Tag tag;
    bool sawEof = false;
    while (reader.next(tag)) {
      if (tag.is(0, "EOF")) {
        sawEof = true;
        break;
      }
    }
    // itest-recover01 is damaged on purpose and lacks its end.
    if (entry.path().filename() == "itest-recover01.dxf") continue;
    EXPECT_TRUE(sawEof) << entry.path() << (reader.error() ? reader.error()->message : "");
  }
  EXPECT_GE(files, 80u);
}

TEST(DxfTagWriter, RealsReadBackBitForBit) {
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-300, 300);
  TagWriter writer;
  std::vector<double> values = {0.0, -0.0, 1.0, 0.1, 1e-300, 123456789.123456789, -2.5};
  for (int i = 0; i < 2000; ++i) values.push_back(std::ldexp(mantissa(random), exponent(random)));
  for (double v : values) writer.writeDouble(40, v);
  std::string text = writer.take();
  TagReader reader(text);
  auto tags = readAll(reader);
  ASSERT_EQ(tags.size(), values.size());
  for (size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(*tags[i].toDouble(), values[i] == 0.0 ? 0.0 : values[i]);
    // Always recognisably a real, for readers that insist on a decimal point.
    EXPECT_NE(tags[i].value.find_first_of(".e"), std::string_view::npos) << tags[i].value;
  }
}

// Short decimals take a quicker way to their text than other reals: it must give the very
// text of the general shortest conversion, at every magnitude and at the edges of its range.
TEST(DxfTagWriter, ShortDecimalsAreWrittenAsTheGeneralConversionWritesThem) {
  auto general = [](double v) {
    if (v == 0.0) v = 0.0;  // no "-0"
    char buffer[48];
    std::string text(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
    if (text.find_first_of(".e") == std::string::npos) text += ".0";
    return text;
  };
  std::mt19937_64 random(20261209);
  std::uniform_int_distribution<std::int64_t> digits(1, 999999999999999);
  std::uniform_int_distribution<int> places(0, 21);
  std::uniform_int_distribution<int> trailing(0, 12);
  std::vector<double> values = {0.0,     -0.0, 1e-6, 1e-5,     1e-4, 0.001,
                                0.00012, 1e5,  1e6,  120000.0, 1e8,  999999999.999999,
                                1e9,     0.5,  12.5, 100.0,    2.0};
  for (int i = 0; i < 200000; ++i) {
    // A decimal of up to 15 digits at a random place, some with trailing zeros.
    const double d =
        static_cast<double>(digits(random) / static_cast<std::int64_t>(std::pow(10, trailing(random))));
    const double v = d / std::pow(10.0, places(random) - 6);
    values.push_back(i % 2 ? v : -v);
    values.push_back(std::nextafter(v, 1e300));  // a neighbour that is no short decimal
  }
  for (double v : values) ASSERT_EQ(formatReal(v), general(v)) << std::hexfloat << v;
}

TEST(DxfTagWriter, GroupCodesAreRightAlignedAndHandlesUpperHex) {
  TagWriter writer;
  writer.write(0, "LINE");
  writer.writeHandle(5, 0x2AF);
  writer.writeInt(1071, -7);
  // Codes outside the format's range (a damaged file's, kept) take the same columns.
  writer.write(-1, "x");
  writer.writeInt(99999, 1);
  EXPECT_EQ(writer.data(), "  0\r\nLINE\r\n  5\r\n2AF\r\n1071\r\n-7\r\n -1\r\nx\r\n99999\r\n1\r\n");
}

TEST(DxfTagWriter, NoValueBreaksTheLinesItIsWrittenOn) {
  // Values with any bytes at all (text set through the API, binary text) read back as the
  // same number of groups, each with its value, CR and LF written as caret pairs.
  std::mt19937 random(7);
  std::uniform_int_distribution<int> length(0, 12);
  std::uniform_int_distribution<int> byte(1, 255);
  for (int round = 0; round < 200; ++round) {
    std::vector<std::string> values;
    TagWriter writer;
    for (int i = 0; i < 20; ++i) {
      std::string value;
      for (int n = length(random); n > 0; --n) {
        // One byte in four a line end, so that most values hold one.
        value.push_back(static_cast<char>(byte(random) % 4 == 0 ? (n % 2 ? '\n' : '\r') : byte(random)));
      }
      writer.write(1, value);
      values.push_back(value);
    }
    // A number padded with line ends (a file of CR CR LF lines) stays the number.
    for (int i = 0; i < 5; ++i)
      writer.write(40, std::to_string(i) + ".5" + std::string(1 + i % 3, i % 2 ? '\r' : '\n'));
    TagReader reader(writer.data());
    std::vector<Tag> tags = readAll(reader);
    ASSERT_FALSE(reader.error()) << reader.error()->message;
    ASSERT_EQ(tags.size(), values.size() + 5);
    for (size_t i = 0; i < values.size(); ++i) {
      EXPECT_EQ(tags[i].value, withCarets(values[i], Carets::kLineEnds));
      EXPECT_EQ(tags[i].value.find_first_of("\r\n"), std::string_view::npos);
    }
    for (size_t i = 0; i < 5; ++i)
      EXPECT_EQ(tags[values.size() + i].toDouble(), static_cast<double>(i) + 0.5);
  }
}

TEST(DxfTagReader, BinaryTextIsKeptAsAnAsciiFileWritesIt) {
  std::string data(kBinarySentinel);
  data += std::string("\0\0", 2) + "TEXT" + '\0';
  data += std::string("\1\0", 2) + "a\nb^c\td" + '\0';
  TagReader reader(data);
  std::vector<Tag> tags = readAll(reader);
  ASSERT_FALSE(reader.error()) << reader.error()->message;
  ASSERT_EQ(tags.size(), 2u);
  EXPECT_EQ(tags[1].value, "a^Jb^ c^Id");
}

// Code lines as writers pad them and as damage leaves them: blanks and tabs on either side,
// leading zeros, signs, carriage returns, letters, numbers out of range or too long. The
// reader takes the usual ones a short way; whichever way, a line is a code exactly when its
// blank-trimmed text is a whole decimal from -5 to 1071, and the first one that is not stops
// reading on its line.
TEST(DxfTagReader, CodeLinesReadAsTheirTrimmedNumberWhicheverWayTheyAreTaken) {
  std::mt19937 rng(20261209);
  const std::string pieces[] = {" ",    "  ", "\t", "0",  "1", "7", "10", "999",   "1071",
                                "1072", "-",  "-5", "-6", "+", "x", "00", "123456"};
  auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
  for (int round = 0; round < 3000; ++round) {
    std::string data;
    std::vector<int> codes;  // the codes of the groups before the first bad code line
    std::uint32_t badLine = 0;
    const size_t groups = 1 + pick(6);
    for (size_t g = 0; g < groups; ++g) {
      std::string codeText;
      const size_t parts = 1 + pick(4);
      for (size_t p = 0; p < parts; ++p) codeText.append(pieces[pick(std::size(pieces))]);
      if (trimBlanks(codeText).empty()) codeText.push_back('8');  // blank code lines are another case
      const std::string_view trimmed = trimBlanks(codeText);
      int code = 0;
      auto [end, ec] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), code);
      const bool valid =
          ec == std::errc() && end == trimmed.data() + trimmed.size() && code >= -5 && code <= 1071;
      if (!valid && badLine == 0) badLine = static_cast<std::uint32_t>(2 * g + 1);
      if (valid && badLine == 0) codes.push_back(code);
      data.append(codeText).append(pick(2) ? "\r\n" : "\n");
      data.append("v").append(std::to_string(g)).append("\n");
    }
    TagReader reader(data);
    const std::vector<Tag> tags = readAll(reader);
    ASSERT_EQ(tags.size(), codes.size()) << data;
    for (size_t i = 0; i < tags.size(); ++i) {
      EXPECT_EQ(tags[i].code, codes[i]) << data;
      EXPECT_EQ(tags[i].line, 2 * i + 1) << data;
      EXPECT_EQ(tags[i].value.substr(1), std::to_string(i)) << data;
    }
    if (badLine != 0) {
      ASSERT_TRUE(reader.error()) << data;
      EXPECT_EQ(reader.error()->line, badLine) << data;
    } else {
      EXPECT_FALSE(reader.error()) << data;
    }
  }
}
