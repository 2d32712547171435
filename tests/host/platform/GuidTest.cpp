// CoCreateGuid: random version-4 identifiers.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "zcad/platform/zcguid.h"

TEST(Guid, ManyGuidsAreDistinctVersionFourWithTheRfcVariant) {
  std::set<std::string> seen;
  for (int i = 0; i < 2000; ++i) {
    GUID guid{};
    ASSERT_EQ(CoCreateGuid(&guid), S_OK);
    EXPECT_EQ(guid.Data3 >> 12, 4);
    EXPECT_EQ(guid.Data4[0] >> 6, 2);
    std::string bytes(sizeof guid, '\0');
    std::memcpy(bytes.data(), &guid, sizeof guid);
    EXPECT_TRUE(seen.insert(bytes).second);
  }
  EXPECT_EQ(CoCreateGuid(nullptr), E_INVALIDARG);
}
