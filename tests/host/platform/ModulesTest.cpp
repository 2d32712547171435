// Module handles and file names: code finds the file of the library or program it is in.
#include <gtest/gtest.h>

#include <cwchar>
#include <filesystem>
#include <vector>

#include "platform/TextEncoding.h"
#include "zcad/platform/zcfile.h"
#include "zcad/platform/zcmodule.h"

using vtcad::platform::pathFromWide;
namespace fs = std::filesystem;

namespace {

void functionOfTheProgram() {}

constexpr DWORD kFromAddress =
    GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;

template <typename Function>
HMODULE moduleOf(Function* function) {
  HMODULE module = nullptr;
  EXPECT_TRUE(GetModuleHandleExW(kFromAddress, reinterpret_cast<LPCWSTR>(function), &module));
  return module;
}

std::wstring fileOf(HMODULE module) {
  std::vector<wchar_t> buffer(4096);
  DWORD length = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
  EXPECT_EQ(length, std::wcslen(buffer.data()));
  return std::wstring(buffer.data(), length);
}

}  // namespace

TEST(Modules, AnAddressInTheHostLibraryNamesTheHostLibrary) {
  HMODULE host = moduleOf(&GetTempPathW);
  ASSERT_NE(host, nullptr);
  std::wstring path = fileOf(host);
  // The file the dynamic linker loaded: the soname, libvtcadhost.so.<major>.<minor>.
  const std::wstring name = pathFromWide(path).filename().wstring();
  EXPECT_TRUE(name.starts_with(L"libvtcadhost.so")) << pathFromWide(path);
  EXPECT_TRUE(fs::equivalent(pathFromWide(path), VTCAD_HOST_LIBRARY));
  // Every function of the library gives the same handle, and so does its name or full path.
  EXPECT_EQ(moduleOf(&GetModuleFileNameW), host);
  HMODULE byName = nullptr;
  EXPECT_TRUE(GetModuleHandleExW(/*flags=*/0, name.c_str(), &byName));
  EXPECT_EQ(byName, host);
  HMODULE byPath = nullptr;
  EXPECT_TRUE(GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, path.c_str(), &byPath));
  EXPECT_EQ(byPath, host);
}

TEST(Modules, TheProgramIsTheNullModule) {
  HMODULE program = nullptr;
  ASSERT_TRUE(GetModuleHandleExW(/*flags=*/0, nullptr, &program));
  EXPECT_NE(program, nullptr);
  EXPECT_EQ(moduleOf(&functionOfTheProgram), program);
  EXPECT_NE(moduleOf(&GetTempPathW), program);
  std::wstring path = fileOf(nullptr);
  EXPECT_EQ(pathFromWide(path), fs::read_symlink("/proc/self/exe"));
  EXPECT_EQ(fileOf(program), path);
}

TEST(Modules, AFileNameTooLongIsCutAndTerminated) {
  std::wstring path = fileOf(nullptr);
  auto length = static_cast<DWORD>(path.size());
  ASSERT_GT(length, 2u);
  std::vector<wchar_t> buffer(path.size() + 8, L'#');
  EXPECT_EQ(GetModuleFileNameW(nullptr, buffer.data(), length + 1), length);
  EXPECT_EQ(std::wstring(buffer.data()), path);
  // One character short: the last one gives way to the terminator, and the size is returned.
  std::fill(buffer.begin(), buffer.end(), L'#');
  EXPECT_EQ(GetModuleFileNameW(nullptr, buffer.data(), length), length);
  EXPECT_EQ(std::wstring(buffer.data()), path.substr(0, length - 1));
  EXPECT_EQ(buffer[length], L'#');
  EXPECT_EQ(GetModuleFileNameW(nullptr, buffer.data(), 1), 1u);
  EXPECT_EQ(buffer[0], L'\0');
  EXPECT_EQ(GetModuleFileNameW(nullptr, buffer.data(), 0), 0u);
  EXPECT_EQ(GetModuleFileNameW(nullptr, nullptr, MAX_PATH), 0u);
}

TEST(Modules, WhatIsNoLoadedModuleFails) {
  HMODULE module = reinterpret_cast<HMODULE>(std::uintptr_t{8});
  EXPECT_FALSE(GetModuleHandleExW(/*flags=*/0, L"libnot-loaded.so", &module));
  EXPECT_EQ(module, nullptr);
  // The kernel's vDSO is loaded under a name, but there is no file of that name.
  EXPECT_FALSE(GetModuleHandleExW(/*flags=*/0, L"linux-vdso.so.1", &module));
  std::vector<int> heap(16);
  EXPECT_FALSE(GetModuleHandleExW(kFromAddress, reinterpret_cast<LPCWSTR>(heap.data()), &module));
  EXPECT_FALSE(GetModuleHandleExW(kFromAddress, nullptr, &module));
  EXPECT_FALSE(GetModuleHandleExW(/*unknown flag=*/0x8, nullptr, &module));
  EXPECT_FALSE(GetModuleHandleExW(/*flags=*/0, nullptr, nullptr));
  // An address inside a library is not its handle.
  HMODULE host = moduleOf(&GetTempPathW);
  wchar_t buffer[MAX_PATH];
  EXPECT_EQ(GetModuleFileNameW(reinterpret_cast<HMODULE>(reinterpret_cast<std::uintptr_t>(host) + 4096),
                               buffer, MAX_PATH),
            0u);
}
