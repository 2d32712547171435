// ShellExecuteW: what would be started is decided without starting anything; headless, the
// request only appears in the transcript.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "PlatformTestSupport.h"
#include "platform/Headless.h"
#include "platform/Shell.h"
#include "platform/TextEncoding.h"
#include "zcad/platform/zcshell.h"

using namespace vtcad::platform;
using namespace vtcad::platform::testing;

namespace {

using Args = std::vector<std::wstring>;

std::intptr_t code(HINSTANCE result) { return reinterpret_cast<std::intptr_t>(result); }

}  // namespace

TEST(Shell, ProgramsRunWithTheirParametersAndEverythingElseGoesToXdgOpen) {
  ShellPlan run =
      planShellLaunch(L"open", L"/opt/tool/convert", L"\"/home/u/a b.dxf\" $HOME;x", ShellTarget::kProgram);
  EXPECT_EQ(run.error, 0);
  EXPECT_EQ(run.argv, (Args{L"/opt/tool/convert", L"/home/u/a b.dxf", L"$HOME;x"}));
  EXPECT_EQ(planShellLaunch(L"", L"/opt/tool/convert", L"", ShellTarget::kProgram).argv,
            Args{L"/opt/tool/convert"});
  // A document takes no parameters; a program opened for editing is a document.
  EXPECT_EQ(planShellLaunch(L"OPEN", L"/home/u/report.pdf", L"-x", ShellTarget::kDocument).argv,
            (Args{L"xdg-open", L"/home/u/report.pdf"}));
  EXPECT_EQ(planShellLaunch(L"edit", L"/opt/tool/run.sh", L"", ShellTarget::kProgram).argv,
            (Args{L"xdg-open", L"/opt/tool/run.sh"}));
  EXPECT_EQ(planShellLaunch(L"explore", L"/home/u", L"", ShellTarget::kFolder).argv,
            (Args{L"xdg-open", L"/home/u"}));
  EXPECT_EQ(planShellLaunch(L"", L"https://example.org/?a=1;b=$2", L"", ShellTarget::kUrl).argv,
            (Args{L"xdg-open", L"https://example.org/?a=1;b=$2"}));
}

TEST(Shell, WhatCannotBeDoneGivesWindowsErrorCodes) {
  EXPECT_EQ(planShellLaunch(L"open", L"/missing", L"", ShellTarget::kMissing).error, SE_ERR_FNF);
  EXPECT_EQ(planShellLaunch(L"print", L"/home/u/a.pdf", L"", ShellTarget::kDocument).error, SE_ERR_NOASSOC);
  EXPECT_EQ(planShellLaunch(L"runas", L"/opt/tool", L"", ShellTarget::kProgram).error, SE_ERR_NOASSOC);
  EXPECT_EQ(planShellLaunch(L"explore", L"/home/u/a.pdf", L"", ShellTarget::kDocument).error, SE_ERR_NOASSOC);
  EXPECT_TRUE(planShellLaunch(L"print", L"/home/u/a.pdf", L"", ShellTarget::kDocument).argv.empty());
}

TEST(Shell, OnlyExecutableFilesThatStartAsProgramsAreRun) {
  TempFolder folder;
  fs::path script = folder.path / "tool.sh";
  writeFile(script, "#!/bin/sh\nexit 0\n");
  fs::path document = folder.path / "notes.txt";
  writeFile(document, "plain text");
  EXPECT_EQ(classifyShellTarget(wideFromPath(script)), ShellTarget::kDocument);
  ::chmod(script.c_str(), 0755);
  EXPECT_EQ(classifyShellTarget(wideFromPath(script)), ShellTarget::kProgram);
  // Regression guard: every file on a FAT stick has the execute bit; a document stays one.
  ::chmod(document.c_str(), 0755);
  EXPECT_EQ(classifyShellTarget(wideFromPath(document)), ShellTarget::kDocument);
  EXPECT_EQ(classifyShellTarget(wideFromPath(folder.path)), ShellTarget::kFolder);
  EXPECT_EQ(classifyShellTarget(wideFromPath(folder.path / "missing")), ShellTarget::kMissing);
  EXPECT_EQ(classifyShellTarget(L"HTTPS://example.org"), ShellTarget::kUrl);
  EXPECT_EQ(classifyShellTarget(L"mailto:someone@example.org"), ShellTarget::kUrl);
  EXPECT_EQ(classifyShellTarget(L"C:\\Drawings\\a.dxf"), ShellTarget::kMissing);
}

TEST(Shell, HeadlessTheRequestIsPrintedAndNothingStarts) {
  setHeadless(true);
  FakeUi ui;
  TempFolder folder;
  fs::path file = folder.path / "it's $(id); a.pdf";
  writeFile(file, "%PDF");
  std::wstring name = wideFromPath(file);
  EXPECT_GT(code(ShellExecuteW(nullptr, L"open", name.c_str(), L"-page 2", nullptr, SW_SHOWNORMAL)), 32);
  EXPECT_EQ(ui.commandLine.transcript, L"\nopen: " + name + L" -page 2");
  ui.commandLine.transcript.clear();
  EXPECT_GT(code(ShellExecuteW(nullptr, nullptr, L"https://example.org", nullptr, nullptr, SW_SHOWNORMAL)),
            32);
  EXPECT_EQ(ui.commandLine.transcript, L"\nopen: https://example.org");
  ui.commandLine.transcript.clear();
  std::wstring missing = wideFromPath(folder.path / "missing.pdf");
  EXPECT_EQ(code(ShellExecuteW(nullptr, L"open", missing.c_str(), nullptr, nullptr, SW_SHOWNORMAL)),
            SE_ERR_FNF);
  EXPECT_EQ(code(ShellExecuteW(nullptr, L"open", nullptr, nullptr, nullptr, SW_SHOWNORMAL)), SE_ERR_FNF);
  EXPECT_TRUE(ui.commandLine.transcript.empty());
  setHeadless(false);
}
