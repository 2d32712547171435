#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QThread>
#include <QTimer>

#include "GuiTestSupport.h"
#include "gui/CommandLine.h"
#include "gui/MainWindow.h"
#include "zcad/ed/ZcEdCommandStack.h"
#include "zcad/platform/zckeys.h"
#include "zcad/zced.h"

namespace gui_test {
namespace {

// What the test commands saw.
std::vector<std::string> heldSeen;
bool busySeen = false;
long loopsRun = 0;

// Reports which of Shift, Ctrl, Alt and Esc are down, as commands that change with held keys ask.
void keysCommand() {
  std::string held;
  for (auto [key, name] :
       {std::pair{VK_SHIFT, "Shift"}, {VK_CONTROL, "Ctrl"}, {VK_MENU, "Alt"}, {VK_ESCAPE, "Esc"}}) {
    if (GetKeyState(key) < 0) held += std::string(held.empty() ? "" : "+") + name;
  }
  heldSeen.push_back(held.empty() ? "none" : held);
}

// Works until it is asked to stop (at most about ten seconds).
void loopCommand() {
  QElapsedTimer timer;
  timer.start();
  loopsRun = 0;
  while (!zcedUsrBrk() && timer.elapsed() < 10000) {
    ++loopsRun;
    if (timer.elapsed() > 500 && QApplication::overrideCursor() &&
        QApplication::overrideCursor()->shape() == Qt::BusyCursor) {
      busySeen = true;
    }
    QThread::msleep(1);
  }
}

class WindowKeysTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    zcedRegCmds()->addCommand(L"GUI_TEST", L"HELDKEYS", L"HELDKEYS", ZcRx::kCmdModal, keysCommand);
    zcedRegCmds()->addCommand(L"GUI_TEST", L"BUSYLOOP", L"BUSYLOOP", ZcRx::kCmdModal, loopCommand);
    heldSeen.clear();
    busySeen = false;
  }
  void TearDown() override {
    zcedRegCmds()->removeGroup(L"GUI_TEST");
    WindowTest::TearDown();
  }
};

// Keys held on the real keyboard (here: key events to the window) are what GetKeyState says.
TEST_F(WindowKeysTest, HeldKeysOfTheKeyboardAreWhatCommandsRead) {
  QWidget* input = window().commandLine()->input();
  drive({[&] { type("HELDKEYS"); },
         [&] {
           QTest::keyPress(input, Qt::Key_Control);
           QTest::keyPress(input, Qt::Key_Shift);
           type("HELDKEYS");
         },
         [&] {
           QTest::keyRelease(input, Qt::Key_Shift);
           QTest::keyPress(input, Qt::Key_Alt);
           type("HELDKEYS");
         },
         [&] {
           QTest::keyRelease(input, Qt::Key_Control);
           QTest::keyRelease(input, Qt::Key_Alt);
           type("HELDKEYS");
         }});
  EXPECT_EQ(heldSeen, (std::vector<std::string>{"none", "Shift+Ctrl", "Ctrl+Alt", "none"})) << transcript();
}

// Esc while a command works reaches zcedUsrBrk; meanwhile the window shows that it works.
TEST_F(WindowKeysTest, EscWhileACommandWorksStopsItAndTheWindowShowsItWorks) {
  drive({[&] {
    QTimer::singleShot(800, &window(),
                       [&] { QTest::keyClick(window().commandLine()->input(), Qt::Key_Escape); });
    type("BUSYLOOP");
  }});
  EXPECT_GT(loopsRun, 0);
  EXPECT_TRUE(busySeen);
  EXPECT_FALSE(window().busy());
  EXPECT_NE(transcript().find("*Cancel*"), std::string::npos) << transcript();
}

}  // namespace
}  // namespace gui_test
