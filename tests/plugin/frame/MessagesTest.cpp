// The bilingual wrappers on the command line: the text of the load's language, shown as it is.
#include <vector>

#include "frame/Messages.h"
#include "plugin/frame/FrameTestSupport.h"

namespace veltrace::testing {
namespace {

class Messages : public FrameTest {
 protected:
  // One call per input; after "^C" the end of the script cancels once more.
  std::vector<bool> yesNoAnswers(bool defaultAnswer) {
    std::vector<bool> answers;
    body() = [&] {
      for (int i = 0; i < 6; ++i)
        answers.push_back(getYesNoBilingual(L"\n继续？", L"\nGo on?", defaultAnswer));
    };
    run(L"T\n\nN\nNo\ny\n^C\n");
    return answers;
  }
};

TEST_F(Messages, YesNoAnswersTheKeywordAndTheDefaultForEnterOrCancel) {
  EXPECT_EQ(yesNoAnswers(/*defaultAnswer=*/true), (std::vector<bool>{true, false, false, true, true, true}));
  EXPECT_EQ(yesNoAnswers(/*defaultAnswer=*/false),
            (std::vector<bool>{false, false, false, true, false, false}));
  EXPECT_TRUE(said("Go on?")) << transcript_;
  chineseVersion = true;
  yesNoAnswers(/*defaultAnswer=*/true);
  EXPECT_TRUE(said("继续？")) << transcript_;
}

TEST_F(Messages, TextsAreShownAsTheyAreInTheLoadsLanguage) {
  printBilingual(L"\n完成 100%s", L"\n100% done %s");
  messageBoxBilingual(L"出错了", L"Something went wrong");
  chineseVersion = true;
  printBilingual(L"\n完成 100%s", L"\n100% done %s");
  printfBilingual(MessagePair{L"\n%d 条，共 %s", L"\n%d of %s"}, 3, L"七");
  messageBoxBilingual(L"出错了 50%", L"Something went wrong");
  EXPECT_TRUE(said("\n100% done %s")) << transcript_;
  EXPECT_TRUE(said("\n[vtcad] Something went wrong")) << transcript_;
  EXPECT_TRUE(said("\n完成 100%s")) << transcript_;
  EXPECT_TRUE(said("\n3 条，共 七")) << transcript_;
  EXPECT_TRUE(said("\n[Veltrace[V1.20]] 出错了 50%")) << transcript_;
}

TEST_F(Messages, InputWrappersPromptInTheLoadsLanguage) {
  int count = 0;
  zds_point point = {0, 0, 0};
  body() = [&] {
    EXPECT_EQ(getIntBilingual(L"\n数量：", L"\nCount: ", &count), RTNORM);
    chineseVersion = true;
    EXPECT_EQ(getPointBilingual(nullptr, L"\n点：", L"\nPoint: ", point), RTNORM);
  };
  run(L"T 7 3,4,2\n");
  EXPECT_EQ(count, 7);
  EXPECT_EQ(point[2], 2.0);
  EXPECT_TRUE(said("\nCount: 7")) << transcript_;
  EXPECT_TRUE(said("\n点：3,4,2")) << transcript_;
}

}  // namespace
}  // namespace veltrace::testing
