// Temporary file names for pictures and drawings handed to other code.
#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <string>

#include "frame/TempFiles.h"
#include "host/platform/PlatformTestSupport.h"

namespace veltrace::testing {
namespace {

TEST(TempFiles, NamesAreNewLowerCaseAndKeepTheExtension) {
  vtcad::platform::testing::TempFolder folder;
  const std::filesystem::path mixed = folder.path / "Mixed Case";
  std::filesystem::create_directory(mixed);
  vtcad::platform::testing::ScopedEnv tmpdir("TMPDIR", mixed.c_str());

  const std::wstring first = tempFilePath(L".PNG");
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(std::filesystem::path(first).parent_path(), mixed);  // the folder keeps its case
  EXPECT_TRUE(first.ends_with(L".PNG"));
  const std::wstring stem = std::filesystem::path(first).stem().wstring();
  EXPECT_TRUE(std::none_of(stem.begin(), stem.end(), [](wchar_t c) { return std::iswupper(c); })) << first;
  EXPECT_FALSE(fileExists(first));
  // The only file there is the empty one that reserved the name, before it was lowered.
  const auto reserved = *std::filesystem::directory_iterator(mixed);
  std::wstring reservedStem = reserved.path().stem().wstring();
  std::transform(reservedStem.begin(), reservedStem.end(), reservedStem.begin(), std::towlower);
  EXPECT_EQ(reservedStem, stem);
  EXPECT_EQ(reserved.path().extension(), ".tmp");
  EXPECT_EQ(std::filesystem::file_size(reserved.path()), 0u);
  EXPECT_NE(tempFilePath(L".PNG"), first);
  EXPECT_TRUE(fileExists(mixed.wstring()));  // a folder counts
  EXPECT_FALSE(fileExists(L""));
}

}  // namespace
}  // namespace veltrace::testing
