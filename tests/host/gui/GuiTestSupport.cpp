#include "GuiTestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <cstdlib>
#include <filesystem>

#include "commands/Document.h"
#include "commands/HostCommands.h"
#include "editor/Session.h"
#include "editor/SystemVariables.h"
#include "gui/CommandLine.h"
#include "gui/DrawingCanvas.h"
#include "gui/GuiDesktop.h"
#include "gui/MainWindow.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"

namespace gui_test {

void WindowTest::SetUp() {
  vtcad::commands::registerHostCommands();
  vtcad::editor::resetSessionVariables();
  vtcad::commands::Document::instance().openNew();
  int argc = 0;
  vtcad::gui::DesktopOpened opened = vtcad::gui::openDesktop(argc, nullptr);
  ASSERT_TRUE(opened.desktop) << opened.why;
  desktop_ = std::move(opened.desktop);
  window().resize(900, 640);
  desktop_->startServices();
  desktop_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
}

void WindowTest::TearDown() {
  desktop_.reset();
  vtcad::commands::Document::instance().openNew();
  vtcad::editor::resetSessionVariables();
}

vtcad::gui::MainWindow& WindowTest::window() const { return vtcad::gui::mainWindowOf(*desktop_); }
vtcad::gui::DrawingCanvas& WindowTest::canvas() const { return *window().canvas(); }

void WindowTest::drive(std::vector<std::function<void()>> steps) {
  size_t next = 0;
  window().onWaiting = [&] {
    if (next < steps.size()) {
      steps[next++]();
    } else {
      window().closeWithoutAsking();
    }
  };
  vtcad::editor::Session::instance().run(desktop_->commandLine());
  window().onWaiting = nullptr;
  EXPECT_EQ(next, steps.size()) << "steps left over; the transcript:\n" << transcript();
}

void WindowTest::type(const QString& text, int end) {
  QLineEdit* input = window().commandLine()->input();
  QTest::keyClicks(input, text);
  QTest::keyClick(input, end ? static_cast<Qt::Key>(end) : Qt::Key_Return);
}

QPoint WindowTest::pixelOf(const ZcGePoint3d& world) const {
  const ZcGePoint2d pixel = canvas().view().pixelOf(world);
  return QPoint(static_cast<int>(std::lround(pixel.x)), static_cast<int>(std::lround(pixel.y)));
}

void WindowTest::clickAt(const ZcGePoint3d& world) {
  QTest::mouseClick(&canvas(), Qt::LeftButton, {}, pixelOf(world));
}

std::string WindowTest::transcript() const {
  return window().commandLine()->transcript()->toPlainText().toStdString();
}

std::vector<ZcDbObjectId> modelSpaceEntities() {
  std::vector<ZcDbObjectId> ids;
  ZcDbDatabase* db = zcdbCurDwg();
  ZcDbBlockTableRecord* space = nullptr;
  if (!db || zcdbOpenObject(space, db->modelSpaceId(), ZcDb::kForRead) != Zcad::eOk) return ids;
  for (ZcDbObjectId id : space->entityIds()) {
    if (id.isValid() && !id.isErased()) ids.push_back(id);
  }
  space->close();
  return ids;
}

::testing::AssertionResult matchesGolden(const QImage& actual, const std::string& name, double share) {
  const std::string path = std::string(VTCAD_GUI_GOLDEN_DIR) + "/" + name + ".png";
  const QImage picture = actual.convertToFormat(QImage::Format_RGB32);
  if (const char* update = std::getenv("VTCAD_UPDATE_GOLDENS"); update && std::string(update) == "1") {
    picture.save(QString::fromStdString(path));
    return ::testing::AssertionSuccess();
  }
  QImage golden(QString::fromStdString(path));
  if (golden.isNull()) return ::testing::AssertionFailure() << "no golden " << path;
  golden = golden.convertToFormat(QImage::Format_RGB32);
  if (golden.size() != picture.size()) {
    return ::testing::AssertionFailure() << name << ": " << picture.width() << "x" << picture.height()
                                         << ", the golden is " << golden.width() << "x" << golden.height();
  }
  long off = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb a = picture.pixel(x, y), b = golden.pixel(x, y);
      if (std::abs(qRed(a) - qRed(b)) > 40 || std::abs(qGreen(a) - qGreen(b)) > 40 ||
          std::abs(qBlue(a) - qBlue(b)) > 40) {
        ++off;
      }
    }
  }
  const long allowed = static_cast<long>(share * picture.width() * picture.height());
  if (off <= allowed) return ::testing::AssertionSuccess();
  const std::string saved = (std::filesystem::temp_directory_path() / (name + "-actual.png")).string();
  picture.save(QString::fromStdString(saved));
  return ::testing::AssertionFailure()
         << name << ": " << off << " pixels differ (" << allowed << " allowed); the picture is in " << saved;
}

}  // namespace gui_test

int main(int argc, char** argv) {
  // The tests draw offscreen wherever they run.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The window keeps its recent files in the user's settings: the tests keep theirs apart.
  const std::filesystem::path settings = std::filesystem::temp_directory_path() / "vtcad-gui-tests-config";
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(settings.string()));
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
