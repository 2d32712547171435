// openDesktop: the Qt application and the main window, joined to the session: the transcript
// goes to the window, zcedUpdateDisplay repaints it.
#include "gui/GuiDesktop.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "editor/DisplayUpdate.h"
#include "editor/ProgressMeter.h"
#include "editor/Session.h"
#include "editor/WorkPoll.h"
#include "gui/DrawingCanvas.h"
#include "gui/MainWindow.h"
#include "gui/QtDialogs.h"
#include "gui/QtUi.h"
#include "gui/WindowKeys.h"
#include "gui/WindowProgress.h"
#include "gui/WindowSource.h"
#include "platform/KeyboardState.h"
#include "ui/DialogBackend.h"

namespace vtcad::gui {
namespace {

class QtDesktop final : public Desktop {
 public:
  QtDesktop(int& argc, char** argv) {
    if (!QCoreApplication::instance()) app_ = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vtcad"));
    QApplication::setDesktopFileName(QStringLiteral("vtcad"));
    window_ = std::make_unique<MainWindow>();
    MainWindow* window = window_.get();
    editor::Session::instance().setOutput([window](std::string_view utf8) { window->appendOutput(utf8); });
    editor::setDisplayUpdate([window] {
      window->canvas()->refresh();
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    editor::setWorkPoll([window] { window->keepAlive(); });
    keys_ = std::make_shared<WindowKeys>();
    keys_->onEscape = [window] {
      if (!window->waiting()) editor::Session::instance().noteUserBreak();
    };
    platform::setKeyboardState(keys_);
    editor::ProgressMeter::instance().setDisplay(
        std::make_shared<WindowProgress>(window->progressLabel(), window->progressBar()));
  }

  ~QtDesktop() override {
    editor::setDisplayUpdate({});
    editor::setWorkPoll({});
    editor::ProgressMeter::instance().setDisplay(nullptr);
    platform::setKeyboardState(nullptr);
    keys_.reset();
    if (previousUi_) platform::setUiBackend(previousUi_);
    if (previousDialogs_) ui::setDialogBackend(previousDialogs_);
    editor::Session::instance().setOutput([](std::string_view utf8) {
      std::fwrite(utf8.data(), 1, utf8.size(), stdout);
      std::fflush(stdout);
    });
    window_.reset();
    app_.reset();
  }

  void show() override {
    window_->show();
    window_->canvas()->refresh();
    QCoreApplication::processEvents();
  }

  void startServices() override {
    previousUi_ = platform::uiBackend();
    previousDialogs_ = ui::dialogBackend();
    ui::setDialogBackend(std::make_shared<QtDialogs>(window_.get()));
    platform::setUiBackend(std::make_shared<QtUi>(window_.get(), previousUi_));
  }

  void drawingOpened() override { window_->drawingOpened(); }

  std::unique_ptr<editor::InputSource> commandLine() override {
    return std::make_unique<WindowSource>(*window_);
  }

  std::string screenshot(const std::string& path) override {
    window_->canvas()->refresh();
    QCoreApplication::processEvents();
    if (!window_->grab().save(QString::fromStdString(path), "PNG")) return "cannot write the picture " + path;
    return {};
  }

  MainWindow& window() { return *window_; }

 private:
  std::unique_ptr<QApplication> app_;
  std::shared_ptr<platform::UiBackend> previousUi_;
  std::shared_ptr<WindowKeys> keys_;
  std::shared_ptr<ui::DialogBackend> previousDialogs_;
  std::unique_ptr<MainWindow> window_;
};

bool displayNamed() {
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

}  // namespace

DesktopOpened openDesktop(int& argc, char** argv) {
  // Without a display Qt would end the program; say why instead.
  if (!QCoreApplication::instance() && !displayNamed()) {
    return {nullptr,
            "no display to open a window on (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are not set)"};
  }
  return {std::make_unique<QtDesktop>(argc, argv), {}};
}

MainWindow& mainWindowOf(Desktop& desktop) { return static_cast<QtDesktop&>(desktop).window(); }

}  // namespace vtcad::gui
