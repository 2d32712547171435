// Message boxes on the command line: printed with their caption, answered with the default
// button.
#include <gtest/gtest.h>

#include "PlatformTestSupport.h"
#include "platform/MessageBox.h"
#include "zcad/platform/zcui.h"

using namespace vtcad::platform;
using namespace vtcad::platform::testing;

TEST(MessageBox, TheDefaultButtonIsTheAnswer) {
  EXPECT_EQ(messageBoxDefaultAnswer(MB_OK), IDOK);
  EXPECT_EQ(messageBoxDefaultAnswer(MB_OKCANCEL | MB_ICONQUESTION), IDOK);
  EXPECT_EQ(messageBoxDefaultAnswer(MB_YESNO), IDYES);
  EXPECT_EQ(messageBoxDefaultAnswer(MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(messageBoxDefaultAnswer(MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
  EXPECT_EQ(messageBoxDefaultAnswer(MB_CANCELTRYCONTINUE | MB_DEFBUTTON2), IDTRYAGAIN);
  // A default button the box lacks is its first; an unknown button set is OK.
  EXPECT_EQ(messageBoxDefaultAnswer(MB_YESNO | MB_DEFBUTTON3), IDYES);
  EXPECT_EQ(messageBoxDefaultAnswer(0xF), IDOK);
}

TEST(MessageBox, BoxesAndAlertsArePrintedWithTheirCaption) {
  FakeUi ui;
  EXPECT_EQ(MessageBoxW(nullptr, L"Saved 3 files.", L"Export", MB_OK), IDOK);
  EXPECT_EQ(ui.commandLine.transcript, L"\n[Export] Saved 3 files.");
  ui.commandLine.transcript.clear();
  EXPECT_EQ(MessageBoxW(nullptr, L"Overwrite?", nullptr, MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(ui.commandLine.transcript, L"\n[vtcad] Overwrite?");
  ui.commandLine.transcript.clear();
  EXPECT_EQ(zcedAlert(L"No polyline selected."), RTNORM);
  EXPECT_EQ(AfxMessageBox(L"Done."), IDOK);
  EXPECT_EQ(ui.commandLine.transcript, L"\n[vtcad] No polyline selected.\n[vtcad] Done.");
  EXPECT_EQ(zcedAlert(nullptr), RTERROR);
  // No prompt: nobody is asked to press anything.
  EXPECT_TRUE(ui.commandLine.prompts.empty());
}
