// The Veltrace plug-in loaded into the window: FORMULA's dialog is a Qt dialog, its preview
// button hides it for the origin prompt, and a slider moved redraws the curve at once.
#include <unistd.h>

#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "GuiTestSupport.h"
#include "dxf/DxfText.h"
#include "editor/DynamicLinker.h"
#include "gui/MainWindow.h"
#include "gui/QtDialogs.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbExtents.h"

namespace gui_test {
namespace {

class VeltraceInWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    // The plug-in's settings go to a folder of this test, not the user's.
    settings_ = std::filesystem::temp_directory_path() / ("vtcad-gui-settings-" + std::to_string(::getpid()));
    std::filesystem::create_directories(settings_);
    const char* old = std::getenv("XDG_CONFIG_HOME");
    oldSettings_ = old ? std::optional<std::string>(old) : std::nullopt;
    ::setenv("XDG_CONFIG_HOME", settings_.c_str(), /*overwrite=*/1);
    WindowTest::SetUp();
  }
  void TearDown() override {
    vtcad::editor::DynamicLinker::instance().unloadModule(plugin().c_str(), /*printIt=*/false);
    WindowTest::TearDown();
    if (oldSettings_) {
      ::setenv("XDG_CONFIG_HOME", oldSettings_->c_str(), 1);
    } else {
      ::unsetenv("XDG_CONFIG_HOME");
    }
    std::filesystem::remove_all(settings_);
  }
  static std::wstring plugin() { return vtcad::dxf::utf8ToWide(VELTRACE_PLUGIN); }

  std::filesystem::path settings_;
  std::optional<std::string> oldSettings_;
};

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
           QTimer::singleShot(200, &window(), [&] {
             QDialog* dialog = vtcad::gui::QtDialogs::runningWindow();
             ASSERT_TRUE(dialog);
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
           QTimer::singleShot(200, &window(), [&] {
             first = onlyEntityExtents();
             QDialog* shown = vtcad::gui::QtDialogs::runningWindow();
             ASSERT_TRUE(shown && shown->isVisible());
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

}  // namespace
}  // namespace gui_test
