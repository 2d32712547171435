// The lines of a coordinate file: every kind of line and the clean-up, split and number rules
// that decide between them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "polyline/CoordinateFileLines.h"

namespace veltrace {
namespace {

using Kind = CoordinateLineKind;

struct CoordinateFileLineCase {
  const wchar_t* raw;
  Kind kind;
  double x = 0, y = 0, z = 0;
};

TEST(CoordinateFileLinesTest, EveryLineIsAPointATerminatorOrABadPoint) {
  const std::vector<CoordinateFileLineCase> cases{
      // Points: three fields, two fields, separators of every kind, spaces anywhere.
      {L"1,2,3", Kind::point, 1, 2, 3},
      {L"1,2", Kind::point, 1, 2, 0},
      {L"1,2,3,4,junk", Kind::point, 1, 2, 3},  // further fields are ignored
      {L"1,2,", Kind::point, 1, 2, 0},          // an empty third field is 0
      {L"1,2,,", Kind::point, 1, 2, 0},
      {L"10，20；5", Kind::point, 10, 20, 5},
      {L"3|4;5", Kind::point, 3, 4, 5},
      {L"5、6、7", Kind::point, 5, 6, 7},
      {L"  1 , 2 5 ,3  ", Kind::point, 1, 25, 3},
      {L"\t\u30001,2\u3000\r", Kind::point, 1, 2, 0},  // tabs, ideographic spaces, a stray CR
      {L"1,2 // start", Kind::point, 1, 2, 0},
      {L"1,2//a//b", Kind::point, 1, 2, 0},  // cut at the first "//"
      // Numbers: wcstod's prefix in the C locale; text that is not a number is 0.
      {L"1e3,-.5,+2", Kind::point, 1000, -0.5, 2},
      {L"0x10,12abc,7m", Kind::point, 16, 12, 7},
      {L"x,y,z", Kind::point, 0, 0, 0},
      {L"1e-999,1", Kind::point, 0, 1, 0},   // underflow is a finite 0
      {L"1,2,3,inf", Kind::point, 1, 2, 3},  // an ignored field may be anything
      // A pair checks only its second field: an empty first one reads 0.
      {L",5", Kind::point, 0, 5, 0},
      // A commented line is not cut: with separators it is still read.
      {L"// 1,2", Kind::point, 0, 2, 0},
      // Terminators: no field or one.
      {L"", Kind::terminator},
      {L"   \t ", Kind::terminator},
      {L"label", Kind::terminator},
      {L"起点", Kind::terminator},
      {L"42", Kind::terminator},
      {L"10 20", Kind::terminator},  // "1020"
      {L"// note", Kind::terminator},
      {L"//", Kind::terminator},
      {L"x // 1,2", Kind::terminator},
      {L"1\t2", Kind::terminator},  // a tab is no separator
      // Bad points: an empty first or second field of three, an empty second one of two.
      {L"1,,2", Kind::badPoint},
      {L",2,3", Kind::badPoint},
      {L",,", Kind::badPoint},
      {L",", Kind::badPoint},
      {L"1,", Kind::badPoint},
      {L"1，", Kind::badPoint},
      {L"1, ,2", Kind::badPoint},  // the space goes, the field stays empty
      // Coordinates that are not finite never reach the drawing.
      {L"inf,1", Kind::badPoint},
      {L"1,nan", Kind::badPoint},
      {L"1,2,-infinity", Kind::badPoint},
      {L"1e999,0", Kind::badPoint},
      // Finite but beyond any drawing: its lengths would overflow to infinity.
      {L"1e200,0", Kind::badPoint},
      {L"1,2,-1e101", Kind::badPoint},
      {L"1e100,-1e100", Kind::point, 1e100, -1e100, 0},
      {L"0,0,-1e400", Kind::badPoint},
  };
  for (const CoordinateFileLineCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "line [" << c.raw << "]");
    const CoordinateLine line = classifyCoordinateLine(c.raw);
    ASSERT_EQ(line.kind, c.kind);
    if (c.kind != Kind::point) continue;
    EXPECT_EQ(line.point.x, c.x);
    EXPECT_EQ(line.point.y, c.y);
    EXPECT_EQ(line.point.z, c.z);
  }
}

TEST(CoordinateFileLinesTest, CleanUpAndSplitCountEmptyFields) {
  EXPECT_EQ(cleanCoordinateLine(L"  1 ， 2 ； 3 // c"), L"1,2,3");
  EXPECT_EQ(cleanCoordinateLine(L"// a,b"), L"//a,b");
  using Fields = std::vector<std::wstring_view>;
  EXPECT_EQ(splitCoordinateFields(L""), Fields{});
  EXPECT_EQ(splitCoordinateFields(L"1020"), Fields{L"1020"});
  EXPECT_EQ(splitCoordinateFields(L"1,,2"), (Fields{L"1", L"", L"2"}));
  EXPECT_EQ(splitCoordinateFields(L"1,2,"), (Fields{L"1", L"2", L""}));
  EXPECT_EQ(splitCoordinateFields(L","), (Fields{L"", L""}));
}

}  // namespace
}  // namespace veltrace
