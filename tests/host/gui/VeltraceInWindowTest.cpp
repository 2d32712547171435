// The Veltrace plug-in loaded into the window: its dialogs are Qt dialogs. FORMULA's preview
// button hides it for the origin prompt and a slider moved redraws the curve at once; txwk
// loads a picture (asked on the command line with FILEDIA 0) and draws its net of holes after
// the origin and height prompts; R2V traces the picture into a block placed the same way.
#include <unistd.h>

#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "GuiTestSupport.h"
#include "commands/HostServices.h"
#include "dxf/DxfText.h"
#include "editor/DynamicLinker.h"
#include "gui/MainWindow.h"
#include "gui/QtDialogs.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/platform/zcimage.h"
#include "zcad/zced.h"

namespace gui_test {
namespace {

class VeltraceInWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    // The host's services as the program starts them (the plug-in's settings in a folder of
    // this test, file prompts on the command line), then the window's over them.
    settings_ = std::filesystem::temp_directory_path() / ("vtcad-gui-settings-" + std::to_string(::getpid()));
    std::filesystem::create_directories(settings_);
    vtcad::commands::startHostServices(settings_, /*interactive=*/true);
    WindowTest::SetUp();
  }
  void TearDown() override {
    vtcad::editor::DynamicLinker::instance().unloadModule(plugin().c_str(), /*printIt=*/false);
    WindowTest::TearDown();
    std::filesystem::remove_all(settings_);
  }
  static std::wstring plugin() { return vtcad::dxf::utf8ToWide(VELTRACE_PLUGIN); }

  std::filesystem::path settings_;
};

// Saves a white picture with a black rectangle (left, top, width, height in pixels).
bool savedPicture(const std::filesystem::path& file, int width, int height, int left, int top, int w, int h) {
  CImage picture;
  if (!picture.Create(width, height, 24)) return false;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool black = x >= left && x < left + w && y >= top && y < top + h;
      picture.SetPixel(x, y, black ? RGB(0, 0, 0) : RGB(255, 255, 255));
    }
  }
  return SUCCEEDED(picture.Save(file.wstring().c_str()));
}

// Runs `act` on the plug-in's dialog once it shows: a while after the answer just typed has
// been taken, then as soon as the dialog is up (a loaded machine is slow to show it), giving
// up after some seconds so that a dialog that never comes fails the test, not hangs it.
void whenDialogShown(std::function<void(QDialog*)> act, int delayMs = 200, int triesLeft = 400) {
  QTimer::singleShot(delayMs, [act = std::move(act), triesLeft]() mutable {
    QDialog* dialog = vtcad::gui::QtDialogs::runningWindow();
    if (!dialog || !dialog->isVisible()) {
      if (triesLeft > 0) whenDialogShown(std::move(act), /*delayMs=*/25, triesLeft - 1);
      return;
    }
    act(dialog);
  });
}

// Presses the button `id` of the dialog once it shows.
void pressWhenShown(int id) {
  whenDialogShown([id](QDialog* dialog) {
    auto* button = dialog->findChild<QPushButton*>(QString::number(id));
    ASSERT_TRUE(button);
    QTest::mouseClick(button, Qt::LeftButton);
  });
}

// File prompts on the command line (FILEDIA 0), so that the steps can answer them.
void fileNamesOnTheCommandLine() {
  resbuf noDialog{};
  noDialog.restype = RTSHORT;
  noDialog.resval.rint = 0;
  ASSERT_EQ(zcedSetVar(L"FILEDIA", &noDialog), RTNORM);
}

// The plan extents of the only entity of model space (empty when there is not exactly one).
std::optional<ZcDbExtents> onlyEntityExtents() {
  const std::vector<ZcDbObjectId> ids = modelSpaceEntities();
  if (ids.size() != 1) return std::nullopt;
  ZcDbEntity* entity = nullptr;
  if (zcdbOpenObject(entity, ids[0], ZcDb::kForRead) != Zcad::eOk) return std::nullopt;
  ZcDbExtents box;
  const bool known = entity->getGeomExtents(box) == Zcad::eOk;
  entity->close();
  return known ? std::optional<ZcDbExtents>(box) : std::nullopt;
}

TEST_F(VeltraceInWindowTest, FormulaPreviewAsksTheOriginWithTheDialogHiddenAndASliderRedrawsTheCurve) {
  ASSERT_TRUE(vtcad::editor::DynamicLinker::instance().loadModule(plugin().c_str(), /*printIt=*/false));
  bool hiddenForTheOrigin = false;
  int curves = 0;
  std::optional<ZcDbExtents> first, redrawn;
  drive({[&] {
           whenDialogShown([&](QDialog* dialog) {
             auto* list = dialog->findChild<QListWidget*>(QStringLiteral("2010"));
             ASSERT_TRUE(list);
             curves = list->count();
             list->setCurrentRow(0);
             QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("4004")), Qt::LeftButton);
           });
           type("FORMULA");
         },
         [&] {
           QDialog* dialog = vtcad::gui::QtDialogs::runningWindow();
           hiddenForTheOrigin = dialog && !dialog->isVisible();
           whenDialogShown([&](QDialog* shown) {
             first = onlyEntityExtents();
             auto* slider = shown->findChild<QSlider*>(QStringLiteral("4010"));
             ASSERT_TRUE(slider);
             slider->setValue(slider->value() + (slider->maximum() - slider->value()) / 2);
             redrawn = onlyEntityExtents();
             shown->close();
           });
           type("0,0");
         }});
  EXPECT_EQ(curves, 71) << transcript();
  EXPECT_TRUE(hiddenForTheOrigin);
  ASSERT_TRUE(first && redrawn) << transcript();
  // The curve is drawn about the origin picked, and the slider changed it in the drawing at once.
  EXPECT_LE(first->minPoint().x, 0.0);
  EXPECT_GE(first->maxPoint().x, 0.0);
  EXPECT_FALSE(first->maxPoint().isEqualTo(redrawn->maxPoint())) << transcript();
  EXPECT_EQ(vtcad::gui::QtDialogs::runningWindow(), nullptr);
}

TEST_F(VeltraceInWindowTest, TxwkLoadsAPictureAndDrawsItsHolesAtTheOriginAndHeightGiven) {
  ASSERT_TRUE(vtcad::editor::DynamicLinker::instance().loadModule(plugin().c_str(), /*printIt=*/false));
  // 96 x 48 pixels, white with a black 16 x 8 corner at the top left: at the picture's 48
  // rows (cells of one pixel) the corner gives 128 holes.
  const std::filesystem::path file = settings_ / "corner.png";
  ASSERT_TRUE(savedPicture(file, 96, 48, 0, 0, 16, 8));
  fileNamesOnTheCommandLine();
  drive({[&] {
           pressWhenShown(4004);  // Load Image
           type("txwk");
         },
         [&] {
           pressWhenShown(4016);  // Do Drawing
           type(QString::fromStdString(file.string()));
         },
         [&] { type("0,0"); }, [&] { type("48"); }});
  // The net drawn, the dialog has ended.
  EXPECT_EQ(vtcad::gui::QtDialogs::runningWindow(), nullptr);
  EXPECT_EQ(modelSpaceEntities().size(), 128u) << transcript();
  EXPECT_NE(transcript().find("Please specify the height>>48"), std::string::npos) << transcript();
}

TEST_F(VeltraceInWindowTest, R2VTracesTheLoadedPictureIntoABlockOfClosedPolylinesAtTheOriginAndHeight) {
  ASSERT_TRUE(vtcad::editor::DynamicLinker::instance().loadModule(plugin().c_str(), /*printIt=*/false));
  const std::filesystem::path file = settings_ / "square.bmp";
  ASSERT_TRUE(savedPicture(file, 80, 60, 20, 15, 20, 20));
  fileNamesOnTheCommandLine();
  drive({[&] {
           pressWhenShown(4004);  // Load Image
           type("R2V");
         },
         [&] {
           pressWhenShown(4015);  // Do Vectorize
           type(QString::fromStdString(file.string()));
         },
         [&] { type("10,20"); }, [&] { type("30"); }});
  EXPECT_EQ(vtcad::gui::QtDialogs::runningWindow(), nullptr);
  // One block reference: 60 rows placed 30 high, its top-left corner at the origin + (0, 30).
  const std::vector<ZcDbObjectId> ids = modelSpaceEntities();
  ASSERT_EQ(ids.size(), 1u) << transcript();
  ZcDbBlockReference* insert = nullptr;
  ASSERT_EQ(zcdbOpenObject(insert, ids[0], ZcDb::kForRead), Zcad::eOk);
  EXPECT_TRUE(insert->position().isEqualTo(ZcGePoint3d(10, 50, 0)));
  EXPECT_NEAR(insert->scaleFactors().sx, 0.5, 1e-12);
  insert->close();
}

}  // namespace
}  // namespace gui_test
