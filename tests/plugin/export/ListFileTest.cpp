// The list file's name, its all-or-nothing writing, and the open step.
#include <algorithm>

#include "export/ListFile.h"
#include "plugin/export/ExportTestSupport.h"

namespace veltrace::testing {
namespace {

namespace fs = std::filesystem;

class ListFileTest : public ExportTest {
 protected:
  static void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  // Names in the list folder, temporary files included.
  std::vector<std::string> files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(outDir_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST(ListFileNameTest, XlsBecomesHtmlInTheFileNameOnly) {
  EXPECT_EQ(listFileName(L"D:\\out\\a.xls"), L"D:\\out\\a.html");
  EXPECT_EQ(listFileName(L"/lists/A.XLS"), L"/lists/A.XLS") << "compared with case";
  EXPECT_EQ(listFileName(L"/lists/a.xls.xls"), L"/lists/a.html.html");
  // The folder is where the user chose to write: a ".xls" in it is not touched.
  EXPECT_EQ(listFileName(L"/data/run.xls.d/b.xls"), L"/data/run.xls.d/b.html");
}

TEST_F(ListFileTest, OnlyACompleteFileReplacesTheOldOne) {
  const fs::path target = outDir_ / "a.html";
  writeFile(target, "old list");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  {
    ListFile file;
    ASSERT_TRUE(file.create(target.wstring())) << file.error();
    file.write("new ");
    EXPECT_EQ(readBytes(target.wstring()), "old list") << "the old file stays until the new one is complete";
    file.write("list\r\n");
    ASSERT_TRUE(file.commit()) << file.error();
  }
  EXPECT_EQ(readBytes(target.wstring()), "new list\r\n");
  EXPECT_EQ(fs::status(target).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  {
    ListFile abandoned;
    ASSERT_TRUE(abandoned.create(target.wstring()));
    abandoned.write("half a list");
  }
  // The folder goes away before the list is put in place: the rename fails.
  fs::create_directories(outDir_ / "gone");
  ListFile vanished;
  ASSERT_TRUE(vanished.create((outDir_ / "gone" / "b.html").wstring()));
  fs::remove_all(outDir_ / "gone");
  EXPECT_FALSE(vanished.commit());
  EXPECT_EQ(vanished.error(), "No such file or directory");
  EXPECT_EQ(files(), std::vector<std::string>{"a.html"}) << "no temporary file is left behind";
  EXPECT_EQ(readBytes(target.wstring()), "new list\r\n");
}

TEST_F(ListFileTest, WhereNoFileCanBeMadeCreateSaysWhy) {
  ListFile file;
  EXPECT_FALSE(file.create((outDir_ / "missing" / "a.html").wstring()));
  EXPECT_EQ(file.error(), "No such file or directory");
  fs::create_directories(outDir_ / "folder.html");
  EXPECT_FALSE(file.create((outDir_ / "folder.html").wstring()));
  EXPECT_EQ(file.error(), "it is a folder");
  writeFile(outDir_ / "kept.html", "kept");
  fs::permissions(outDir_ / "kept.html", fs::perms::owner_read);
  EXPECT_FALSE(file.create((outDir_ / "kept.html").wstring()));
  EXPECT_EQ(file.error(), "the file is read-only");
  EXPECT_FALSE(file.commit()) << "nothing to commit";
  // The longest name a folder takes still has room for its temporary file.
  const fs::path longest = outDir_ / (std::string(250, 'n') + ".html");
  ASSERT_TRUE(file.create(longest.wstring())) << file.error();
  ASSERT_TRUE(file.commit());
  fs::remove(longest);
  EXPECT_EQ(files(), (std::vector<std::string>{"folder.html", "kept.html"}));
  // A link is written through: it stays a link to the new list.
  writeFile(outDir_ / "real.html", "old");
  fs::create_symlink(outDir_ / "real.html", outDir_ / "link.html");
  ASSERT_TRUE(file.create((outDir_ / "link.html").wstring()));
  file.write("new");
  ASSERT_TRUE(file.commit());
  EXPECT_TRUE(fs::is_symlink(outDir_ / "link.html"));
  EXPECT_EQ(readBytes((outDir_ / "real.html").wstring()), "new");
}

TEST(QuotedArgumentTest, ArrivesAsOneArgumentWhateverItHolds) {
  EXPECT_EQ(quotedArgument(L"/my lists/a b.html"), L"\"/my lists/a b.html\"");
  EXPECT_EQ(quotedArgument(L"/x/say \"hi\".html"), L"\"/x/say \\\"hi\\\".html\"");
  EXPECT_EQ(quotedArgument(L"/x/back\\slash\\"), L"\"/x/back\\slash\\\\\"");
  EXPECT_EQ(quotedArgument(L"/x/a\\\"b"), L"\"/x/a\\\\\\\"b\"");
}

TEST_F(ListFileTest, TheCompanionOpensTheListOnlyWhenItCanRunHere) {
  const fs::path companion = programDir_ / "openExcel.exe";
  const std::wstring list = (outDir_ / "my list.html").wstring();
  const std::string shown = (outDir_ / "my list.html").string();
  writeFile(list, "list");
  openListFile(list);
  EXPECT_EQ(transcript_, "\nopen: " + shown) << "no companion: the shell opens the list, silently";
  // Not executable: a Windows program or a plain file is no companion here.
  writeFile(companion, "#!/bin/sh\nexit 0\n");
  transcript_.clear();
  openListFile(list);
  EXPECT_EQ(transcript_, "\nopen: " + shown);
  fs::permissions(companion, fs::perms::owner_exec, fs::perm_options::add);
  transcript_.clear();
  openListFile(list);
  EXPECT_EQ(transcript_, "\nopen: " + companion.string() + " \"" + shown +
                             "\"\nThe list has been output as <" + shown +
                             ">, and will be automatically opened soon.");
  chineseVersion = true;
  transcript_.clear();
  openListFile(list);
  EXPECT_TRUE(said("\n列表已输出为<" + shown + ">, 马上会自动打开。")) << transcript_;
  // Executable but no program of this system (a Windows one): passed over.
  writeFile(companion, "MZ\x90");
  transcript_.clear();
  openListFile(list);
  EXPECT_EQ(transcript_, "\nopen: " + shown);
}

}  // namespace
}  // namespace veltrace::testing
