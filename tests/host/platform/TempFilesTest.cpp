// Temporary files: a folder that ends in '/', and names no two callers share.
#include <gtest/gtest.h>

#include <cwctype>
#include <set>

#include "PlatformTestSupport.h"
#include "platform/TextEncoding.h"
#include "zcad/platform/zcfile.h"

using namespace vtcad::platform;
using namespace vtcad::platform::testing;

TEST(TempFiles, TheTempFolderComesFromTmpdirAndEndsInASlash) {
  TempFolder folder;
  std::wstring expected = wideFromPath(folder.path) + L"/";
  {
    ScopedEnv tmpdir("TMPDIR", folder.path.c_str());
    wchar_t buffer[MAX_PATH] = {};
    EXPECT_EQ(GetTempPathW(MAX_PATH, buffer), expected.size());
    EXPECT_EQ(std::wstring(buffer), expected);
    // Too small a buffer: the size needed, terminator included, and the buffer untouched.
    wchar_t small[4] = {L'x'};
    EXPECT_EQ(GetTempPathW(4, small), expected.size() + 1);
    EXPECT_EQ(small[0], L'x');
  }
  for (const char* unusable : {static_cast<const char*>(nullptr), "", "relative", "/no/such/folder"}) {
    ScopedEnv tmpdir("TMPDIR", unusable);
    wchar_t buffer[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, buffer);
    EXPECT_EQ(std::wstring(buffer), L"/tmp/");
  }
}

TEST(TempFiles, EveryNewNameIsAFreshEmptyFile) {
  TempFolder folder;
  std::wstring dir = wideFromPath(folder.path);
  std::set<std::wstring> names;
  for (int i = 0; i < 300; ++i) {
    wchar_t name[MAX_PATH] = {};
    UINT number = GetTempFileNameW(dir.c_str(), L"vtcad", /*uUnique=*/0, name);
    ASSERT_NE(number, 0u);
    names.insert(name);
    std::wstring base = std::wstring(name).substr(dir.size() + 1);
    // "vtc" + 4 upper-case hex digits + ".tmp": the prefix is cut to three characters.
    ASSERT_EQ(base.size(), 11u) << base;
    EXPECT_EQ(base.substr(0, 3), L"vtc");
    EXPECT_TRUE(std::all_of(base.begin() + 3, base.begin() + 7, [](wchar_t c) { return std::iswxdigit(c); }));
    EXPECT_EQ(base.substr(7), L".tmp");
    EXPECT_EQ(std::stoul(base.substr(3, 4), nullptr, 16), number);
    EXPECT_EQ(fs::file_size(pathFromWide(name)), 0u);
  }
  EXPECT_EQ(names.size(), 300u);
  EXPECT_EQ(folder.names().size(), 300u);
}

TEST(TempFiles, AGivenNumberOnlyFormsTheName) {
  TempFolder folder;
  std::wstring dir = wideFromPath(folder.path) + L"/";
  wchar_t name[MAX_PATH] = {};
  EXPECT_EQ(GetTempFileNameW(dir.c_str(), L"ab", 0x1234ABCD, name), 0x1234ABCDu);
  EXPECT_EQ(std::wstring(name), dir + L"abABCD.tmp");
  EXPECT_FALSE(PathFileExistsW(name));
  EXPECT_TRUE(folder.names().empty());
}

TEST(TempFiles, AMissingFolderOrAPathTooLongFails) {
  wchar_t name[MAX_PATH] = {};
  EXPECT_EQ(GetTempFileNameW(L"/no/such/folder", L"tmp", /*uUnique=*/0, name), 0u);
  std::wstring longPath = L"/tmp/" + std::wstring(MAX_PATH, L'a');
  EXPECT_EQ(GetTempFileNameW(longPath.c_str(), L"tmp", /*uUnique=*/0, name), 0u);
  EXPECT_EQ(GetTempFileNameW(nullptr, L"tmp", /*uUnique=*/0, name), 0u);
}

TEST(TempFiles, FilesCanBeTestedForAndDeleted) {
  TempFolder folder;
  std::wstring dir = wideFromPath(folder.path);
  wchar_t name[MAX_PATH] = {};
  ASSERT_NE(GetTempFileNameW(dir.c_str(), L"\u5730", /*uUnique=*/0, name), 0u);
  EXPECT_TRUE(PathFileExistsW(name));
  EXPECT_TRUE(PathFileExistsW(dir.c_str()));
  EXPECT_TRUE(DeleteFileW(name));
  EXPECT_FALSE(PathFileExistsW(name));
  EXPECT_FALSE(DeleteFileW(name));
  EXPECT_FALSE(DeleteFileW(dir.c_str()));
  EXPECT_FALSE(PathFileExistsW(nullptr));
}
