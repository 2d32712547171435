// Demonstration addresses from the settings or the links file beside the plug-in, and what
// the commands say and open.
#include <fstream>

#include "outreach/AboutBox.h"
#include "outreach/DemoLinks.h"
#include "outreach/Outreach.h"
#include "plugin/VeltraceTestSupport.h"

namespace veltrace::outreach {
namespace {

class DemoLinksTest : public veltrace::testing::VeltraceTest {
 protected:
  void SetUp() override {
    VeltraceTest::SetUp();
    std::filesystem::create_directories(settingsDir_ / "program");
    setStringSetting(L"Location", (settingsDir_ / "program").wstring());
  }
  void writeLinksFile(const std::string& text) {
    std::ofstream(settingsDir_ / "program" / "demolinks.txt", std::ios::binary) << text;
  }
};

TEST_F(DemoLinksTest, TheSettingWinsOverTheLinksFile) {
  writeLinksFile(
      "# addresses of the demonstrations\r\n"
      "demo1 = http://file.invalid/1\r\n"
      "Demo2=http://file.invalid/2\n"
      "not a link line\n"
      "SiblingDemo3 =  http://file.invalid/s3  \n");
  setStringSetting(L"Demo2", L" http://setting.invalid/2 ");
  EXPECT_EQ(demoAddress(L"Demo1"), L"http://file.invalid/1") << "names compare without case";
  EXPECT_EQ(demoAddress(L"Demo2"), L"http://setting.invalid/2");
  EXPECT_EQ(demoAddress(L"SiblingDemo3"), L"http://file.invalid/s3");
  EXPECT_EQ(demoAddress(L"Demo4"), L"");
}

TEST_F(DemoLinksTest, CommandsOpenTheAddressOrSayNoneIsSet) {
  setStringSetting(L"Demo5", L"http://setting.invalid/5?a=1%20b");
  demo5Command();
  EXPECT_TRUE(said("\nopen: http://setting.invalid/5?a=1%20b")) << transcript_;
  demo6Command();
  EXPECT_TRUE(said("\nNo address is set for the demonstration Demo6 (setting \"Demo6\" or demolinks.txt"));
}

TEST_F(DemoLinksTest, TheAboutBoxShowsTheConfiguredPages) {
  setStringSetting(kPrivacyPageSetting, L"http://privacy.invalid/");
  const std::wstring text = aboutText();
  EXPECT_NE(text.find(L"Veltrace V1.20"), std::wstring::npos);
  EXPECT_NE(text.find(L"Product page: (not configured)"), std::wstring::npos);
  EXPECT_NE(text.find(L"Privacy: http://privacy.invalid/"), std::wstring::npos);
  EXPECT_EQ(text.find(L"New release"), std::wstring::npos) << "none is published";
}

}  // namespace
}  // namespace veltrace::outreach
