// Programs started and waited for: exit codes, a wait that runs out, ending a program with
// what it started, and handles that are no process's.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "zcad/platform/zcimage.h"
#include "zcad/platform/zcprocess.h"

namespace {

PROCESS_INFORMATION start(std::wstring commandLine) {
  PROCESS_INFORMATION info;
  STARTUPINFOW startup;
  EXPECT_TRUE(CreateProcessW(L"/bin/sh", commandLine.data(), nullptr, nullptr, /*bInheritHandles=*/0,
                             CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info));
  return info;
}

TEST(ProcessTest, TheExitCodeIsThePrograms) {
  PROCESS_INFORMATION info = start(L"sh -c \"exit 7\"");
  EXPECT_EQ(WaitForSingleObject(info.hProcess, INFINITE), WAIT_OBJECT_0);
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeProcess(info.hProcess, &code));
  EXPECT_EQ(code, 7u);
  EXPECT_TRUE(CloseHandle(info.hProcess));
}

TEST(ProcessTest, AProgramStillRunningAfterTheWaitIsEndedWithWhatItStarted) {
  // The shell starts a sleep of its own: ending the shell alone would leave it running.
  PROCESS_INFORMATION info = start(L"sh -c \"sleep 30; sleep 30\"");
  const auto before = std::chrono::steady_clock::now();
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 100), WAIT_TIMEOUT);
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeProcess(info.hProcess, &code));
  EXPECT_EQ(code, STILL_ACTIVE);
  EXPECT_TRUE(TerminateProcess(info.hProcess, 9));
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(10));
  ASSERT_TRUE(GetExitCodeProcess(info.hProcess, &code));
  EXPECT_EQ(code, 9u);
  EXPECT_TRUE(CloseHandle(info.hProcess));
}

TEST(ProcessTest, MissingProgramsAndUnknownHandlesAreRefused) {
  PROCESS_INFORMATION info;
  STARTUPINFOW startup;
  std::wstring line = L"nothing";
  EXPECT_FALSE(CreateProcessW(L"/no/such/program", line.data(), nullptr, nullptr, 0, 0, nullptr, nullptr,
                              &startup, &info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(info.hProcess, nullptr);
  EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(0x1234), 0), WAIT_FAILED);
  EXPECT_FALSE(CloseHandle(reinterpret_cast<HANDLE>(0x1234)));
}

}  // namespace
