// Saving never risks the drawing that is on disk.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "dxf/DxfFile.h"
#include "zcad/db/ZcDbDatabase.h"

using namespace vtcad::dxf;
namespace fs = std::filesystem;

namespace {

std::string contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct TempFolder {
  fs::path path;
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "vtcad-save-XXXXXX").string();
    path = ::mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ec;
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path, ec);
  }
  size_t entries() const { return static_cast<size_t>(std::distance(fs::directory_iterator(path), {})); }
};

}  // namespace

TEST(DxfFile, SaveKeepsThePreviousDrawingAsBakAndLeavesNoTemporaryFile) {
  TempFolder folder;
  fs::path target = folder.path / "plan.dxf";
  ZcDbDatabase db;
  ASSERT_TRUE(saveDxfFile(db, target).ok);
  std::string first = contents(target);
  EXPECT_EQ(folder.entries(), 1u);
  db.setPdmode(3);
  SaveResult again = saveDxfFile(db, target);
  ASSERT_TRUE(again.ok) << again.message;
  EXPECT_EQ(contents(fs::path(target.string() + ".bak")), first);
  EXPECT_NE(contents(target), first);
  EXPECT_EQ(folder.entries(), 2u);
  // What was saved opens again.
  EXPECT_TRUE(loadDxfFile(target).ok());
}

TEST(DxfFile, AFailedSaveLeavesTheTargetAsItWasAndSaysWhy) {
  ZcDbDatabase db;
  SaveResult missing = saveDxfFile(db, "/nonexistent/folder/plan.dxf");
  EXPECT_FALSE(missing.ok);
  EXPECT_NE(missing.message.find("/nonexistent/folder/plan.dxf"), std::string::npos);

  TempFolder folder;
  SaveResult onFolder = saveDxfFile(db, folder.path);
  EXPECT_FALSE(onFolder.ok);

  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  fs::path target = folder.path / "plan.dxf";
  ASSERT_TRUE(saveDxfFile(db, target).ok);
  std::string before = contents(target);
  fs::permissions(folder.path, fs::perms::owner_write, fs::perm_options::remove);
  db.setPdmode(3);
  SaveResult readOnly = saveDxfFile(db, target);
  fs::permissions(folder.path, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_FALSE(readOnly.ok);
  EXPECT_EQ(contents(target), before);
  EXPECT_EQ(folder.entries(), 1u);
}
