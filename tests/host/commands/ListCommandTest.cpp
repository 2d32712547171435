// LIST through the command line: the common part and the geometry of each kind.
#include <cwctype>

#include "EditCommandTestSupport.h"
#include "zcad/db/ZcDbHelix.h"
#include "zcad/db/ZcDbText.h"
#include "zcad/zced.h"

namespace edit_test {
namespace {

class ListCommandTest : public EditCommandTest {};

TEST_F(ListCommandTest, LineShowsTypeLayerSpaceHandleAndGeometry) {
  const ZcDbObjectId line = addLine({1, 2, 0}, {4, 6, 0});
  std::wstring handle = line.handle().getIntoAsciiBuffer();
  for (wchar_t& c : handle) c = static_cast<wchar_t>(std::towlower(c));
  const std::string said = run(L"LIST " + pick(line) + L" \n");
  for (const std::string& expected : std::vector<std::string>{
           "LINE  Layer: \"0\"", "Space: Model space",
           "Handle = " + std::string(handle.begin(), handle.end()),
           "from point, X=1.0000  Y=2.0000  Z=0.0000", "to point,   X=4.0000  Y=6.0000  Z=0.0000",
           "Length = 5.0000,  Angle in XY Plane = 53", "Delta X = 3.0000, Delta Y = 4.0000"}) {
    EXPECT_NE(said.find(expected), std::string::npos) << expected << " in\n" << said;
  }
}

TEST_F(ListCommandTest, ClosedPolylineShowsAreaPerimeterAndVertices) {
  const ZcDbObjectId rectangle = addPolyline({{0, 0}, {4, 0}, {4, 3}, {0, 3}}, /*closed=*/true);
  const std::string said = run(L"LIST " + pick(rectangle) + L" \n");
  for (const char* expected : {"LWPOLYLINE", "Closed", "Area = 12.0000", "Perimeter = 14.0000",
                               "at point X=4.0000  Y=3.0000  Z=0.0000"}) {
    EXPECT_NE(said.find(expected), std::string::npos) << expected << " in\n" << said;
  }
}

TEST_F(ListCommandTest, SeveralKindsInOneListingFollowLuprec) {
  resbuf precision{};
  precision.restype = RTSHORT;
  precision.resval.rint = 2;
  ASSERT_EQ(zcedSetVar(L"LUPREC", &precision), RTNORM);
  addCircle({1, 1, 0}, /*radius=*/1);
  add(new ZcDbText({0, 5, 0}, L"Label", ZcDbObjectId::kNull, /*height=*/2.5));
  add(new ZcDbHelix());
  const std::string said = run(L"LIST ALL \n");
  for (const char* expected :
       {"CIRCLE", "radius 1.00", "area 3.14", "TEXT", "text Label", "height 2.50", "HELIX  Layer: \"0\""}) {
    EXPECT_NE(said.find(expected), std::string::npos) << expected << " in\n" << said;
  }
}

}  // namespace
}  // namespace edit_test
