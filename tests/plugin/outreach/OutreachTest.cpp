// Usage reports, version queries, counters and the product page, against a web server on the
// loopback address.
#include <string>

#include "outreach/Outreach.h"
#include "plugin/VeltraceTestSupport.h"
#include "support/LoopbackHttpServer.h"

namespace veltrace::outreach {
namespace {

using vtcad::testing::LoopbackHttpServer;

std::wstring wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

class OutreachTest : public veltrace::testing::VeltraceTest {
 protected:
  void SetUp() override {
    VeltraceTest::SetUp();
    setStringSetting(kProductPageSetting, L"http://product.invalid/veltrace");
    // Short time-outs: the time-out cases wait this long.
    setFetchTimeouts({/*connectMs=*/500, /*sendMs=*/300, /*receiveMs=*/300, /*connectRetries=*/0});
  }
  void TearDown() override {
    stopOutreach();
    setFetchTimeouts({});
    VeltraceTest::TearDown();
  }
  // The version page answers `response`; a query is made and awaited.
  void queryVersion(LoopbackHttpServer::Response response) {
    server_.respond("/version", std::move(response));
    setStringSetting(kVersionPageSetting, wide(server_.url("/version")));
    startVersionQuery();
    waitForOutreach();
  }
  // Runs one command use as the prologue counts it; answers what it printed.
  std::string countOneUse() {
    const std::size_t before = transcript_.size();
    countCommandUse();
    return transcript_.substr(before);
  }

  LoopbackHttpServer server_;
};

TEST_F(OutreachTest, ANewerReleaseIsAnnouncedAtTheNextCommand) {
  EXPECT_EQ(countOneUse().find("new version"), std::string::npos) << "nothing is known yet";
  queryVersion({.status = 200, .body = "<html>\r\nNewVersion:0130\r\n</html>"});
  EXPECT_EQ(publishedVersion(), 130);
  EXPECT_EQ(countOneUse(),
            "\nVeltrace new version V[1.30] is ready For Download on http://product.invalid/veltrace");
  chineseVersion = true;
  EXPECT_EQ(countOneUse(), "\nhttp://product.invalid/veltrace [Veltrace]新版本 V[1.30] 可下载");
}

TEST_F(OutreachTest, ASmallStepOrAFailedQueryAnnouncesNothing) {
  queryVersion({.status = 200, .body = "NewVersion:0125"});
  EXPECT_EQ(publishedVersion(), 125);
  EXPECT_EQ(countOneUse(), "") << "125 is less than ten hundredths above the running 120";
  // Failures keep what was known.
  queryVersion({.status = 404, .body = "NewVersion:0150"});
  EXPECT_EQ(publishedVersion(), 125);
  queryVersion({.status = 200, .body = "nothing to see"});
  EXPECT_EQ(publishedVersion(), 125);
  queryVersion({.status = 200, .body = "NewVersion:0150", .neverAnswer = true});
  EXPECT_EQ(publishedVersion(), 125) << "a time-out";
}

TEST_F(OutreachTest, TheUsageReportNamesTheCommand) {
  server_.respond("/use", {.status = 200, .body = "ok"});
  setStringSetting(kUsageReportSetting, wide(server_.url("/use?cmdName=")));
  recordCommand(L"plineReverse");
  waitForOutreach();
  EXPECT_EQ(currentCommandName(), L"plineReverse");
  ASSERT_EQ(server_.requests().size(), 1u);
  EXPECT_EQ(server_.requests()[0], "/use?cmdName=plineReverse");
}

TEST_F(OutreachTest, WithoutAddressesNothingGoesOut) {
  setStringSetting(kProductPageSetting, L"");
  writeSetting(kCommandCountSetting, 49);
  recordCommand(L"VTRC_PLYH");
  startVersionQuery();
  EXPECT_EQ(countOneUse(), "");
  waitForOutreach();
  EXPECT_EQ(server_.requestCount(), 0u);
  EXPECT_EQ(readSetting(kCommandCountSetting), 50);
}

TEST_F(OutreachTest, EveryFiftiethCommandOpensTheProductPage) {
  writeSetting(kCommandCountSetting, 49);
  EXPECT_EQ(countOneUse(), "\nopen: http://product.invalid/veltrace");
  EXPECT_EQ(readSetting(kCommandCountSetting), 50);
  EXPECT_EQ(countOneUse(), "");
  EXPECT_EQ(readSetting(kCommandCountSetting), 51);
  writeSetting(kCommandCountSetting, 99);
  EXPECT_NE(countOneUse().find("open: "), std::string::npos);
}

TEST_F(OutreachTest, LoadsShowTheAboutBoxAndThePageOnTheirCycle) {
  struct Case {
    int loads;
    bool about;
    bool page;
    int stored;
  };
  for (const Case c : {Case{0, true, true, 1}, Case{32, true, true, 33}, Case{33, false, true, 34},
                       Case{34, false, true, 35}, Case{35, false, false, 36}, Case{120, false, false, 121},
                       Case{121, false, false, 0}, Case{-5, false, false, 0}}) {
    SCOPED_TRACE(c.loads);
    writeSetting(kLoadCountSetting, c.loads);
    const std::size_t before = transcript_.size();
    countLoad();
    const std::string said = transcript_.substr(before);
    EXPECT_EQ(said.find("[vtcad] Veltrace V1.20") != std::string::npos, c.about) << said;
    EXPECT_EQ(said.find("open: http://product.invalid/veltrace") != std::string::npos, c.page) << said;
    if (c.about && c.page) {
      EXPECT_LT(said.find("[vtcad]"), said.find("open: ")) << "the box first, then the page";
    }
    EXPECT_EQ(readSetting(kLoadCountSetting), c.stored);
  }
}

}  // namespace
}  // namespace veltrace::outreach
