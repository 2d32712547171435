// The external tracer started by the plug-in: the project's tracer program found under the
// program folder (a folder with spaces), and tracers that hang or fail, which are ended and
// leave nothing behind.
#include <filesystem>
#include <fstream>
#include <random>

#include "commands/HostCommands.h"
#include "dxf/DxfFile.h"
#include "image/ExternalTracer.h"
#include "image/ExternalVectorize.h"
#include "platform/CommandLine.h"
#include "plugin/frame/FrameTestSupport.h"
#include "plugin/image/ImageTestSupport.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/ed/ZcEdCommandStack.h"

namespace veltrace::testing {
namespace {

namespace fs = std::filesystem;

class ExternalTracerTest : public FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    // The traced drawing comes in through the host's INSERT.
    vtcad::commands::registerHostCommands();
    folder_ = testFolder();
  }
  void TearDown() override {
    zcedRegCmds()->removeGroup(vtcad::commands::kHostGroup);
    FrameTest::TearDown();
  }
  // A program folder of its own whose tracer is `tracer` (a copy), or none when empty.
  fs::path programFolderWith(const fs::path& tracer) {
    const fs::path folder = folder_ / "program folder";
    fs::create_directories(folder / "autotrace");
    if (!tracer.empty()) fs::copy_file(tracer, folder / "autotrace" / "autotrace");
    setStringSetting(L"Location", folder.wstring() + L"/");
    return folder;
  }
  // A shell script as the tracer; $7 is the output file.
  fs::path scriptTracer(const std::string& body) {
    const fs::path script = folder_ / "script.sh";
    std::ofstream(script) << "#!/bin/sh\n" << body << "\n";
    fs::permissions(script, fs::perms::owner_all);
    return script;
  }
  fs::path folder_;
  std::wstring picture(const fs::path& folder) {
    CImage square = blackRectangleOnWhite(60, 40, 10, 10, 30, 30);
    const std::wstring path = (folder / "the picture.bmp").wstring();
    EXPECT_EQ(square.Save(path.c_str()), S_OK);
    return path;
  }
};

TEST_F(ExternalTracerTest, TheTracerProgramTracesABitmapIntoADxfFileOfClosedPolylines) {
  const fs::path folder = programFolderWith(VTCAD_TRACER);
  EXPECT_EQ(tracerProgramPath(), (folder / "autotrace" / "autotrace").wstring());
  const TracerRun run = runExternalTracer(picture(folder));
  ASSERT_EQ(run.outcome, TracerOutcome::kTraced) << transcript_;
  EXPECT_TRUE(said("waiting..."));
  vtcad::dxf::LoadResult loaded = vtcad::dxf::loadDxfFile(fs::path(run.dxfPath));
  ASSERT_TRUE(loaded.ok()) << loaded.refusal;
  EXPECT_EQ(loaded.losses, 0u);
  Opened<ZcDbBlockTableRecord> space(loaded.database->modelSpaceId());
  ASSERT_EQ(space->entityIds().size(), 1u);
  Opened<ZcDbEntity> entity(space->entityIds()[0]);
  const auto* polyline = ZcDbPolyline::cast(entity.get());
  ASSERT_NE(polyline, nullptr);
  EXPECT_TRUE(polyline->isClosed());
  fs::remove(fs::path(run.dxfPath));
}

TEST_F(ExternalTracerTest, TheTracedDrawingIsInsertedAtThePickedPointDrawnByBlock) {
  const fs::path folder = programFolderWith(VTCAD_TRACER);
  const std::wstring bmp = picture(folder);
  ZcDbObjectId reference;
  body() = [&] { reference = vectorizeWithTracer(bmp, /*clutter=*/3); };
  run(L"T\n5,7\n");
  ASSERT_FALSE(reference.isNull()) << transcript_;
  Opened<ZcDbEntity> entity(reference);
  const auto* insert = ZcDbBlockReference::cast(entity.get());
  ASSERT_NE(insert, nullptr);
  EXPECT_TRUE(closeTo(insert->position(), ZcGePoint3d(5, 7, 0)));
  Opened<ZcDbBlockTableRecord> block(insert->blockTableRecord());
  ASSERT_EQ(block->entityIds().size(), 1u);
  Opened<ZcDbEntity> traced(block->entityIds()[0]);
  ASSERT_TRUE(traced);
  EXPECT_EQ(traced->colorIndex(), 0);
}

TEST_F(ExternalTracerTest, AHangingTracerIsEndedAtTheTimeLimitAndLeavesNoFile) {
  const fs::path folder = programFolderWith(scriptTracer("printf half > \"$7\"\nexec sleep 30"));
  const TracerRun run = runExternalTracer(picture(folder), /*timeLimitMs=*/300);
  EXPECT_EQ(run.outcome, TracerOutcome::kTimedOut);
  EXPECT_TRUE(run.dxfPath.empty());
}

TEST_F(ExternalTracerTest, ATracerThatFailsAfterWritingLeavesNoFile) {
  const fs::path folder = programFolderWith(
      scriptTracer("printf half > \"$7\"\necho \"$7\" > \"$(dirname \"$1\")/out\"\nexit 3"));
  const TracerRun run = runExternalTracer(picture(folder));
  EXPECT_EQ(run.outcome, TracerOutcome::kFailed);
  std::ifstream named(folder / "out");
  std::string written;
  std::getline(named, written);
  ASSERT_FALSE(written.empty());
  EXPECT_FALSE(fs::exists(written));
}

TEST_F(ExternalTracerTest, AMissingTracerGetsTheReinstallMessage) {
  const fs::path folder = programFolderWith({});
  const TracerRun run = runExternalTracer(picture(folder));
  EXPECT_EQ(run.outcome, TracerOutcome::kProgramMissing);
  EXPECT_TRUE(said("autotrace/autotraceProgram file not found, please reinstall.")) << transcript_;
}

// Whatever the arguments hold, the command line gives them back as they were.
TEST(TracerCommandLineTest, ArgumentsComeBackFromTheCommandLineUnchanged) {
  std::mt19937 random(20);
  const std::wstring alphabet = L"a \\\"$;*'\t";
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 8);
  std::uniform_int_distribution<int> count(1, 5);
  for (int round = 0; round < 3000; ++round) {
    std::vector<std::wstring> arguments(static_cast<std::size_t>(count(random)));
    for (std::wstring& argument : arguments) {
      for (int i = length(random); i > 0; --i) argument += alphabet[pick(random)];
    }
    EXPECT_EQ(vtcad::platform::splitCommandLine(commandLineOf(arguments)), arguments) << round;
  }
}

}  // namespace
}  // namespace veltrace::testing
