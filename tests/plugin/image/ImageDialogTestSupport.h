#pragma once
// The image dialogs' tests: a command run by its table row with its dialog driven by the
// script, file names asked on the command line, and the drawing read back from DXF.
#include <filesystem>
#include <string>
#include <vector>

#include "dxf/DxfFile.h"
#include "plugin/frame/FrameTestSupport.h"
#include "plugin/image/ImageTestSupport.h"
#include "zcad/ed/ZcEdCommandStack.h"

namespace veltrace::testing {

class ImageDialogTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    askFileNamesOnTheCommandLine();
    driveDialogsFromTheScript();
    folder_ = testFolder();
  }
  void TearDown() override {
    zcedRegCmds()->removeGroup(L"ImageDialogTest");
    FrameTest::TearDown();
  }
  void addCommand(const wchar_t* name, void (*handler)()) {
    zcedRegCmds()->addCommand(L"ImageDialogTest", name, name, 0, handler);
  }
  // `picture` saved in the test's folder (the codec by the name's extension).
  std::wstring saved(const CImage& picture, const std::string& name) {
    const std::wstring path = (folder_ / name).wstring();
    EXPECT_EQ(picture.Save(path.c_str()), S_OK);
    return path;
  }
  // The model space of the drawing written to DXF and read back, in drawing order.
  std::vector<ZcDbObjectId> reloadedEntities() {
    reloaded_ = vtcad::dxf::readDxf(vtcad::dxf::writeDxf(*db_));
    std::vector<ZcDbObjectId> ids;
    EXPECT_TRUE(reloaded_.ok()) << reloaded_.refusal;
    if (!reloaded_.ok()) return ids;
    Opened<ZcDbBlockTableRecord> space(reloaded_.database->modelSpaceId());
    for (ZcDbObjectId id : space->entityIds()) ids.push_back(id);
    return ids;
  }
  std::filesystem::path folder_;
  vtcad::dxf::LoadResult reloaded_;
};

}  // namespace veltrace::testing
