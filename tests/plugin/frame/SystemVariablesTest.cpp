// Typed reads and writes of the host's system variables, and CMDECHO around host commands.
#include "frame/SystemVariables.h"
#include "plugin/frame/FrameTestSupport.h"

namespace veltrace::testing {
namespace {

using SystemVariablesTest = FrameTest;

TEST_F(SystemVariablesTest, WritesAndTheirFailures) {
  EXPECT_EQ(setSysVarInt(L"PDMODE", 35), kSysVarOk);
  EXPECT_EQ(getSysVarIntOr(L"pdmode"), 35);
  EXPECT_FALSE(said("Could not set")) << transcript_;
  chineseVersion = true;  // the message is English in both languages
  EXPECT_EQ(setSysVarInt(L"NOSUCHVAR", 1), kSysVarFailed);
  EXPECT_EQ(setSysVarInt(L"CMDACTIVE", 1), kSysVarFailed);  // read-only
  EXPECT_TRUE(said("\n[vtcad] Could not set system variable \"NOSUCHVAR\".")) << transcript_;
  EXPECT_TRUE(said("\n[vtcad] Could not set system variable \"CMDACTIVE\".")) << transcript_;
  transcript_.clear();
  EXPECT_NE(setSysVarQuiet(L"CMDECHO", 7), RTNORM);  // out of range, and nothing said
  EXPECT_EQ(transcript_, "");
}

TEST_F(SystemVariablesTest, ReadsTakeOnlyTheirTypesAndLeaveTheValueOtherwise) {
  EXPECT_EQ(getSysVarIntOr(L"NOSUCHVAR"), kSysVarUnreadable);
  EXPECT_EQ(getSysVarIntOr(L"TEXTSIZE"), kSysVarUnreadable);  // a real
  EXPECT_EQ(getSysVarIntOr(L"CLAYER"), kSysVarUnreadable);    // a text
  double real = -1.0;
  EXPECT_EQ(getSysVarReal(L"PDMODE", real), kSysVarOk);  // a short, widened
  EXPECT_EQ(real, 0.0);
  EXPECT_EQ(getSysVarReal(L"TEXTSIZE", real), kSysVarOk);
  EXPECT_EQ(real, 2.5);
  EXPECT_EQ(getSysVarReal(L"CLAYER", real), kSysVarFailed);
  EXPECT_EQ(getSysVarReal(L"LIMMAX", real), kSysVarFailed);
  EXPECT_EQ(real, 2.5);
  double x = 0, y = 0;
  EXPECT_EQ(getSysVarPoint2d(L"LIMMAX", x, y), kSysVarOk);  // a 2-D point
  EXPECT_EQ(x, 420.0);
  EXPECT_EQ(y, 297.0);
  EXPECT_EQ(getSysVarPoint2d(L"VIEWCTR", x, y), kSysVarOk);  // a 3-D point
  x = y = -1.0;
  EXPECT_EQ(getSysVarPoint2d(L"TEXTSIZE", x, y), kSysVarFailed);
  EXPECT_EQ(x + y, -2.0);
  EXPECT_EQ(transcript_, "");  // reads never show anything
}

TEST_F(SystemVariablesTest, QuietHostCommandsTurnEchoOffAndThenOn) {
  {
    QuietHostCommands quiet;
    EXPECT_EQ(getSysVarIntOr(L"CMDECHO"), 0);
  }
  EXPECT_EQ(getSysVarIntOr(L"CMDECHO"), 1);
  ASSERT_EQ(setSysVarQuiet(L"CMDECHO", 0), RTNORM);
  { QuietHostCommands quiet; }
  EXPECT_EQ(getSysVarIntOr(L"CMDECHO"), 1);  // on afterwards even when it was off before
}

}  // namespace
}  // namespace veltrace::testing
