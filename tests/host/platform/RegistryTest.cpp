// The Win32-shaped registry functions over the process's settings store, as plug-in code
// calls them.
#include <gtest/gtest.h>

#include <cstring>

#include "PlatformTestSupport.h"
#include "platform/SettingsStore.h"
#include "zcad/platform/zcreg.h"

using namespace vtcad::platform;
using namespace vtcad::platform::testing;

namespace {

constexpr const wchar_t* kSubKey = L"Software\\Brightfold\\Veltrace";

class Registry : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(configureSettings(folder_.path)); }

  HKEY create(const wchar_t* subKey = kSubKey, REGSAM access = KEY_READ | KEY_WRITE) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, subKey, /*Reserved=*/0, nullptr, REG_OPTION_NON_VOLATILE,
                              access, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    return key;
  }

  TempFolder folder_;
};

}  // namespace

TEST_F(Registry, AMissingKeyIsNotFoundUntilCreated) {
  HKEY key = reinterpret_cast<HKEY>(std::uintptr_t{1});
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kSubKey, /*ulOptions=*/0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);

  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSubKey, /*Reserved=*/0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_WRITE, nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"software\\BRIGHTFOLD\\veltrace", 0, nullptr,
                            REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  RegCloseKey(key);
  // Its parents are there too, as in the registry; the key is in the file.
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", /*ulOptions=*/0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_NE(
      readFile(folder_.path / "registry.reg").find("[HKEY_CURRENT_USER\\Software\\Brightfold\\Veltrace]"),
      std::string::npos);
}

TEST_F(Registry, StringsAreCountedInBytesOfWideCharactersWithTheTerminator) {
  HKEY key = create();
  const wchar_t text[] = L"plan.dxf";
  ASSERT_EQ(RegSetValueExW(key, L"LastFile", /*Reserved=*/0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                           sizeof text),
            ERROR_SUCCESS);
  DWORD type = 0;
  DWORD size = 0;
  ASSERT_EQ(RegQueryValueExW(key, L"LastFile", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, 9 * sizeof(wchar_t));

  wchar_t small[4] = {L'x', L'x', L'x', L'x'};
  DWORD smallSize = sizeof small;
  EXPECT_EQ(RegQueryValueExW(key, L"lastfile", nullptr, &type, reinterpret_cast<BYTE*>(small), &smallSize),
            ERROR_MORE_DATA);
  EXPECT_EQ(smallSize, size);
  EXPECT_EQ(small[0], L'x');

  wchar_t buffer[16] = {};
  DWORD bufferSize = sizeof buffer;
  ASSERT_EQ(
      RegQueryValueExW(key, L"LastFile", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &bufferSize),
      ERROR_SUCCESS);
  EXPECT_EQ(bufferSize, size);
  EXPECT_STREQ(buffer, L"plan.dxf");
  RegCloseKey(key);
}

TEST_F(Registry, DwordsBinariesAndMultiStringsComeBackAsSet) {
  HKEY key = create();
  DWORD units = 10;
  ASSERT_EQ(RegSetValueExW(key, L"Units", /*Reserved=*/0, REG_DWORD, reinterpret_cast<const BYTE*>(&units),
                           sizeof units),
            ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExW(key, L"Bad", /*Reserved=*/0, REG_DWORD, reinterpret_cast<const BYTE*>(&units), 2),
            ERROR_INVALID_PARAMETER);
  const BYTE blob[] = {0, 1, 0xFE, 0xFF};
  ASSERT_EQ(RegSetValueExW(key, L"Blob", /*Reserved=*/0, REG_BINARY, blob, sizeof blob), ERROR_SUCCESS);
  const wchar_t list[] = L"a\0bc\0";  // two strings and the final terminator
  ASSERT_EQ(RegSetValueExW(key, L"List", /*Reserved=*/0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(list),
                           sizeof list),
            ERROR_SUCCESS);
  const wchar_t defaultText[] = L"default";
  ASSERT_EQ(RegSetValueExW(key, nullptr, /*Reserved=*/0, REG_SZ, reinterpret_cast<const BYTE*>(defaultText),
                           sizeof defaultText),
            ERROR_SUCCESS);
  RegCloseKey(key);

  // Read through a key opened afresh, from the file written.
  ASSERT_FALSE(configureSettings(folder_.path));
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kSubKey, /*ulOptions=*/0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD type = 0;
  DWORD read = 0;
  DWORD size = sizeof read;
  ASSERT_EQ(RegQueryValueExW(key, L"Units", nullptr, &type, reinterpret_cast<BYTE*>(&read), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(read, 10u);
  BYTE bytes[8] = {};
  size = sizeof bytes;
  ASSERT_EQ(RegQueryValueExW(key, L"Blob", nullptr, &type, bytes, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_BINARY);
  ASSERT_EQ(size, 4u);
  EXPECT_EQ(std::memcmp(bytes, blob, 4), 0);
  wchar_t strings[8] = {};
  size = sizeof strings;
  ASSERT_EQ(RegQueryValueExW(key, L"List", nullptr, &type, reinterpret_cast<BYTE*>(strings), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, REG_MULTI_SZ);
  EXPECT_EQ(std::wstring(strings, size / sizeof(wchar_t)), std::wstring(list, std::size(list)));
  wchar_t text[16] = {};
  size = sizeof text;
  ASSERT_EQ(RegQueryValueExW(key, L"", nullptr, &type, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
  EXPECT_STREQ(text, L"default");
  RegCloseKey(key);
}

TEST_F(Registry, DeletedValuesAreGoneAndMissingOnesNotFound) {
  HKEY key = create();
  DWORD one = 1;
  RegSetValueExW(key, L"Units", /*Reserved=*/0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
  EXPECT_EQ(RegDeleteValueW(key, L"UNITS"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueW(key, L"Units"), ERROR_FILE_NOT_FOUND);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, L"Units", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
}

TEST_F(Registry, RightsOfTheHandleAndOfTheRootAreEnforced) {
  HKEY key = create(kSubKey, KEY_READ);
  DWORD one = 1;
  EXPECT_EQ(RegSetValueExW(key, L"Units", /*Reserved=*/0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                           sizeof one),
            ERROR_ACCESS_DENIED);
  RegCloseKey(key);
  key = create(kSubKey, KEY_WRITE & ~KEY_QUERY_VALUE);
  EXPECT_EQ(RegQueryValueExW(key, L"Units", nullptr, nullptr, nullptr, nullptr), ERROR_ACCESS_DENIED);
  RegCloseKey(key);

  // HKEY_LOCAL_MACHINE reads from the file, and is never written.
  writeFile(
      folder_.path / "registry.reg",
      "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Veltrace]\n\"Site\"=dword:7\n");
  ASSERT_FALSE(configureSettings(folder_.path));
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Veltrace", /*ulOptions=*/0, KEY_ALL_ACCESS, &key),
            ERROR_SUCCESS);
  DWORD site = 0;
  DWORD size = sizeof site;
  ASSERT_EQ(RegQueryValueExW(key, L"Site", nullptr, nullptr, reinterpret_cast<BYTE*>(&site), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(site, 7u);
  EXPECT_EQ(RegSetValueExW(key, L"Site", /*Reserved=*/0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                           sizeof one),
            ERROR_ACCESS_DENIED);
  RegCloseKey(key);
  HKEY created = nullptr;
  EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\New", /*Reserved=*/0, nullptr,
                            REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &created, nullptr),
            ERROR_ACCESS_DENIED);
}

TEST_F(Registry, StaleAndMadeUpHandlesAreErrorsNotCrashes) {
  HKEY key = create();
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, L"X", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegSetValueExW(reinterpret_cast<HKEY>(std::uintptr_t{0xdead}), L"X", /*Reserved=*/0, REG_SZ,
                           nullptr, 0),
            ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyExW(nullptr, kSubKey, /*ulOptions=*/0, KEY_READ, &key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kSubKey, 0, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}
