// Key lines: keys held and released by a script between its inputs, as GetKeyState sees them.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "EditorTestSupport.h"
#include "editor/InputReader.h"
#include "editor/KeyLines.h"
#include "platform/KeyboardState.h"
#include "zcad/platform/zckeys.h"

namespace vtcad::editor::testing {
namespace {

class KeyLines : public EditorTest {
 protected:
  void TearDown() override {
    platform::keyboardState().releaseAll();
    EditorTest::TearDown();
  }
  static bool held(int key) { return GetKeyState(key) < 0; }
};

TEST_F(KeyLines, KeysAreHeldFromTheInputAfterTheLineOn) {
  InputReader reader;
  reader.push(std::make_unique<ScriptSource>(
      L"a\n~hold Ctrl shift\nb\n~release CONTROL\nc\n~release\nd\n~hold Alt Esc\n", L"s"));
  auto next = [&] { return reader.next(InputReader::Mode::kToken, L"").text; };
  EXPECT_EQ(next(), L"a");
  EXPECT_FALSE(held(VK_CONTROL));
  EXPECT_EQ(next(), L"b");
  EXPECT_TRUE(held(VK_CONTROL));
  EXPECT_TRUE(held(VK_LCONTROL)) << "either Ctrl key";
  EXPECT_TRUE(GetAsyncKeyState(VK_SHIFT) < 0);
  EXPECT_EQ(next(), L"c");
  EXPECT_FALSE(held(VK_CONTROL));
  EXPECT_TRUE(held(VK_SHIFT));
  EXPECT_EQ(next(), L"d");
  EXPECT_FALSE(held(VK_SHIFT)) << "a bare release lets go of everything";
  EXPECT_EQ(reader.next(InputReader::Mode::kToken, L"").kind, InputItem::Kind::kEnd);
  EXPECT_TRUE(held(VK_MENU));
  EXPECT_TRUE(held(VK_ESCAPE));
  EXPECT_EQ(GetKeyState(0x1FF), 0) << "no such key";
}

TEST_F(KeyLines, UnknownNamesAreSaidAndTheOthersStillTakeEffect) {
  EXPECT_FALSE(isKeyLine(L"~holder Ctrl"));
  EXPECT_FALSE(isKeyLine(L"hold Ctrl"));
  applyKeyLine(L"~HOLD Meta Shift");
  EXPECT_TRUE(said("Unknown key name: Meta.")) << transcript_;
  EXPECT_TRUE(held(VK_SHIFT));
}

}  // namespace
}  // namespace vtcad::editor::testing
