#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "zcad/zds.h"

namespace {

TEST(ResultBufferTest, CopiesAreDeepAndValueKindsFollowGroupCodes) {
  double point[3] = {1, 2, 3};
  resbuf* chain = zcutBuildList(RTSTR, L"text", RT3DPOINT, point, 1004, 0, 0);
  ASSERT_EQ(chain, nullptr) << "binary chunks cannot be built from a list";
  chain = zcutBuildList(RTSTR, L"text", RT3DPOINT, point, 70, 12, 0);
  ASSERT_NE(chain, nullptr);
  resbuf* copy = zcutCopyRbChain(chain);
  chain->resval.rstring[0] = L'X';
  EXPECT_EQ(std::wstring(copy->resval.rstring), L"text");
  EXPECT_EQ(copy->rbnext->resval.rpoint[2], 3.0);
  EXPECT_EQ(copy->rbnext->rbnext->resval.rint, 12);
  zcutRelRb(chain);
  zcutRelRb(copy);

  EXPECT_EQ(zcutValueKind(10), ZdsValueKind::kPoint);
  EXPECT_EQ(zcutValueKind(40), ZdsValueKind::kReal);
  EXPECT_EQ(zcutValueKind(330), ZdsValueKind::kName);
  EXPECT_EQ(zcutValueKind(1071), ZdsValueKind::kLong);
  EXPECT_EQ(zcutValueKind(1004), ZdsValueKind::kBinary);
  EXPECT_EQ(zcutValueKind(RTLB), ZdsValueKind::kNone);

  resbuf* binary = zcutNewRb(310);
  binary->resval.rbinary.clen = 3;
  binary->resval.rbinary.buf = static_cast<char*>(std::malloc(3));
  binary->resval.rbinary.buf[2] = 'z';
  resbuf* binaryCopy = zcutCopyRbChain(binary);
  EXPECT_EQ(binaryCopy->resval.rbinary.buf[2], 'z');
  EXPECT_NE(binaryCopy->resval.rbinary.buf, binary->resval.rbinary.buf);
  zcutRelRb(binary);
  zcutRelRb(binaryCopy);
}

}  // namespace
