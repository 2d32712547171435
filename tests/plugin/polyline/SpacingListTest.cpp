// parseSpacingList as a table of typed lists: separators, empty pieces, small and missing
// values, more than ten values.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "polyline/SpacingList.h"

namespace veltrace {
namespace {

TEST(SpacingList, ReadsTypedListsAsTheUserMeansThem) {
  const struct {
    std::wstring text;
    std::array<double, 10> spacings;
    bool ok;
  } cases[] = {
      {L"9,2,1", {9, 2, 1, 1, 1, 1, 1, 1, 1, 1}, true},
      {L" 9\uFF0C2 , 1 ", {9, 2, 1, 1, 1, 1, 1, 1, 1, 1}, true},
      {L"9/2/1", {9, 2, 1, 1, 1, 1, 1, 1, 1, 1}, true},
      {L"9,,2", {9, 9, 2, 2, 2, 2, 2, 2, 2, 2}, true},
      {L"9,", {9, 9, 9, 9, 9, 9, 9, 9, 9, 9}, true},
      {L"0,2", {0, 2, 2, 2, 2, 2, 2, 2, 2, 2}, false},
      {L"5,x,0.00001,3abc", {5, 5, 5, 3, 3, 3, 3, 3, 3, 3}, true},
      {L"1,2,3,4,5,6,7,8,9,10,11,12", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, true},
      {L"inf,nan,1e999", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false},
      {L"2.5", {2.5, 2.5, 2.5, 2.5, 2.5, 2.5, 2.5, 2.5, 2.5, 2.5}, true},
  };
  for (const auto& c : cases) {
    SpacingTable table;
    const SpacingListReading reading = parseSpacingList(c.text, table);
    EXPECT_EQ(reading.ok, c.ok) << std::string(c.text.begin(), c.text.end());
    for (int i = 0; i < 10; ++i) EXPECT_DOUBLE_EQ(table.entries[i], c.spacings[i]) << i;
  }
  // Nothing typed but spaces: no piece, the table untouched.
  SpacingTable untouched;
  EXPECT_EQ(parseSpacingList(L"   ", untouched).pieces, 0);
  EXPECT_EQ(untouched.entries[0], -1.0);
  SpacingTable table;
  parseSpacingList(L"9,2,1", table);
  EXPECT_DOUBLE_EQ(table.cumulative(5), 14.0);
}

}  // namespace
}  // namespace veltrace
