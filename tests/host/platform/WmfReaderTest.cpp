// Metafiles: random pictures written and read back unchanged, records of other programs read
// as their shapes, malformed files refused with their fault.
#include <gtest/gtest.h>

#include <random>

#include "platform/WmfReader.h"
#include "platform/WmfRecords.h"
#include "platform/WmfWriter.h"

namespace vtcad::platform {
namespace {

std::span<const std::uint8_t> asBytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

WmfContent decoded(const std::string& bytes) {
  auto result = decodeWmf(asBytes(bytes));
  if (const auto* bad = std::get_if<WmfError>(&result)) ADD_FAILURE() << bad->message;
  return std::holds_alternative<WmfContent>(result) ? std::get<WmfContent>(result) : WmfContent{};
}

std::string refused(const std::string& bytes) {
  auto result = decodeWmf(asBytes(bytes));
  return std::holds_alternative<WmfError>(result) ? std::get<WmfError>(result).message
                                                  : std::string("accepted");
}

// A metafile of hand-made records after a standard header (no placeable header).
class RecordFile {
 public:
  RecordFile& record(std::uint16_t function, std::vector<std::int16_t> params) {
    dword(static_cast<std::uint32_t>(3 + params.size()));
    word(function);
    for (std::int16_t p : params) word(static_cast<std::uint16_t>(p));
    return *this;
  }
  std::string bytes() const {
    std::string header;
    for (std::uint16_t w : {1, 9, 0x0300, 0, 0, 0, 0, 0, 0}) {
      header.push_back(static_cast<char>(w & 0xFF));
      header.push_back(static_cast<char>(w >> 8));
    }
    return header + body_;
  }

 private:
  void word(std::uint16_t w) {
    body_.push_back(static_cast<char>(w & 0xFF));
    body_.push_back(static_cast<char>(w >> 8));
  }
  void dword(std::uint32_t d) {
    word(static_cast<std::uint16_t>(d & 0xFFFF));
    word(static_cast<std::uint16_t>(d >> 16));
  }
  std::string body_;
};

TEST(WmfReaderTest, RandomPicturesComeBackAsWritten) {
  std::mt19937 random(17);
  std::uniform_int_distribution<int> coordinate(-32768, 32767), count(2, 300);
  for (int round = 0; round < 200; ++round) {
    WmfPicture picture;
    picture.frame = {-1000, -800, 1000, 800};
    picture.unitsPerInch = static_cast<std::uint16_t>(1 + round);
    picture.drawingUnitsPerLogical = 0.001 * (round + 1) / 3.0;
    const auto points = [&](int n) {
      std::vector<WmfPoint> out;
      for (int i = 0; i < n; ++i) {
        out.push_back(
            {static_cast<std::int16_t>(coordinate(random)), static_cast<std::int16_t>(coordinate(random))});
      }
      return out;
    };
    for (int i = round % 5; i > 0; --i) picture.paths.push_back({points(count(random)), (i % 2) == 0});
    for (int i = round % 3; i > 0; --i) picture.fills.push_back({{points(count(random) + 1), points(3)}});
    const WmfContent back = decoded(encodeWmf(picture));
    EXPECT_TRUE(back.placeable);
    EXPECT_EQ(back.picture.frame, picture.frame);
    EXPECT_EQ(back.picture.unitsPerInch, picture.unitsPerInch);
    EXPECT_EQ(back.picture.drawingUnitsPerLogical, picture.drawingUnitsPerLogical) << "the exact scale";
    // Fills come back as their contours, closed, after the stroked paths.
    std::vector<WmfPath> expected = picture.paths;
    for (const WmfFill& fill : picture.fills) {
      for (const auto& contour : fill.contours) expected.push_back({contour, true});
    }
    ASSERT_EQ(back.picture.paths, expected) << "round " << round;
  }
}

TEST(WmfReaderTest, AClosedPathLongerThanOneRecordIsWrittenAsJoinedPolylines) {
  WmfPicture picture;
  WmfPath ring{{}, true};
  for (int i = 0; i < 40000; ++i)
    ring.points.push_back({static_cast<std::int16_t>(i - 20000), static_cast<std::int16_t>(i % 7)});
  picture.paths.push_back(ring);
  const WmfContent back = decoded(encodeWmf(picture));
  ASSERT_EQ(back.picture.paths.size(), 2u);
  EXPECT_EQ(back.picture.paths[0].points.back(), back.picture.paths[1].points.front());
  EXPECT_EQ(back.picture.paths[1].points.back(), ring.points.front()) << "closed by its last record";
}

TEST(WmfReaderTest, ShapesOfOtherProgramsAreRead) {
  using namespace wmf;
  const std::string file = RecordFile()
                               .record(kSetWindowOrg, {-10, -20})
                               .record(kSetWindowExt, {100, 200})
                               .record(0x0201, {0, 0})  // SETBKCOLOR: skipped
                               .record(kMoveTo, {1, 2})
                               .record(kLineTo, {3, 4})
                               .record(kLineTo, {5, 6})
                               .record(kRectangle, {40, 30, 20, 10})
                               .record(kRoundRect, {5, 5, 40, 30, 20, 10})
                               .record(kEllipse, {100, 100, 0, 0})
                               .record(kPolyPolygon, {2, 3, 3, 0, 0, 1, 0, 0, 1, 5, 5, 6, 5, 5, 6})
                               .record(kEof, {})
                               .bytes();
  const WmfContent back = decoded(file);
  EXPECT_FALSE(back.placeable);
  EXPECT_EQ(back.picture.frame, (WmfFrame{-20, -10, 180, 90})) << "the window is the frame";
  EXPECT_EQ(back.skippedRecords, 1);
  ASSERT_EQ(back.picture.paths.size(), 6u);
  EXPECT_EQ(back.picture.paths[0], (WmfPath{{{2, 1}, {4, 3}, {6, 5}}, false})) << "a run of LINETO";
  EXPECT_EQ(back.picture.paths[1], (WmfPath{{{10, 20}, {30, 20}, {30, 40}, {10, 40}}, true}));
  EXPECT_EQ(back.picture.paths[2], back.picture.paths[1]) << "a rounded rectangle as its rectangle";
  EXPECT_EQ(back.picture.paths[3].points.size(), 64u);
  EXPECT_TRUE(back.picture.paths[3].closed);
  for (const WmfPoint& p : back.picture.paths[3].points) {
    EXPECT_NEAR(std::hypot(p.x - 50.0, p.y - 50.0), 50.0, 1.0);
  }
  EXPECT_EQ(back.picture.paths[5], (WmfPath{{{5, 5}, {6, 5}, {5, 6}}, true}));
}

TEST(WmfReaderTest, MalformedFilesAreRefusedWithTheirFault) {
  using namespace wmf;
  EXPECT_EQ(refused(""), "not a Windows metafile: the file is too short (byte 0)");
  EXPECT_EQ(refused(std::string(40, 'x')), "not a Windows metafile: the header is not one (byte 0)");
  std::string cut = RecordFile().record(kPolyline, {3, 0, 0, 1, 1, 2, 2}).bytes();
  cut.resize(cut.size() - 2);
  EXPECT_EQ(refused(cut), "a record runs past the end of the file (byte 18)");
  EXPECT_EQ(refused(RecordFile().record(kPolyline, {9, 0, 0}).bytes()),
            "a record's point count is more than it holds (byte 18)");
  EXPECT_EQ(refused(RecordFile().record(kPolyPolygon, {2, 3}).bytes()),
            "a poly-polygon's count is more than it holds (byte 18)");
  EXPECT_EQ(refused(RecordFile().record(kLineTo, {1}).bytes()),
            "a record is shorter than its fields (byte 18)");
  std::string zero = RecordFile().bytes() + std::string("\0\0\0\0\0\0", 6);
  EXPECT_EQ(refused(zero), "a record is shorter than its own size field (byte 18)");
  std::string placeable = encodeWmf(WmfPicture{});
  placeable[14] = placeable[15] = 0;
  EXPECT_EQ(refused(placeable), "the placeable header gives 0 units per inch (byte 14)");
}

}  // namespace
}  // namespace vtcad::platform
