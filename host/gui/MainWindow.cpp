#include "gui/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QSettings>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <cstdio>

#include "commands/Document.h"
#include "dxf/DxfText.h"
#include "editor/Session.h"
#include "gui/CommandLine.h"
#include "gui/DrawingCanvas.h"

namespace vtcad::gui {

MainWindow::MainWindow() {
  canvas_ = new DrawingCanvas(this);
  setCentralWidget(canvas_);
  commandLine_ = new CommandLine(this);
  auto* dock = new QDockWidget(tr("Command Line"), this);
  dock->setObjectName(QStringLiteral("commandLine"));
  dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
  dock->setWidget(commandLine_);
  addDockWidget(Qt::BottomDockWidgetArea, dock);
  progressLabel_ = new QLabel(this);
  progressBar_ = new QProgressBar(this);
  progressBar_->setRange(0, 100);
  progressBar_->setMaximumWidth(160);
  progressLabel_->hide();
  progressBar_->hide();
  working_ = new QLabel(this);
  coordinates_ = new QLabel(this);
  statusBar()->addWidget(progressLabel_);
  statusBar()->addWidget(progressBar_);
  statusBar()->addPermanentWidget(working_);
  statusBar()->addPermanentWidget(coordinates_);
  resize(1100, 760);

  commandLine_->onLine = [this](const std::wstring& line) { submit(line); };
  commandLine_->onEscape = [this] {
    // At a prompt Esc cancels it; while a command works it asks the command to stop.
    if (waiting()) {
      submit(L"^C");
    } else {
      editor::Session::instance().noteUserBreak();
    }
  };
  canvas_->onPoint = [this](const std::wstring& point) { submit(point); };
  canvas_->onCursor = [this](const ZcGePoint3d& at) {
    coordinates_->setText(QStringLiteral("%1, %2").arg(at.x, 0, 'f', 4).arg(at.y, 0, 'f', 4));
  };
  buildMenus();
  drawingOpened();
  commandLine_->input()->setFocus();
}

namespace {

constexpr int kRecentFilesKept = 8;
const QString kRecentKey = QStringLiteral("recentFiles");

QSettings windowSettings() { return QSettings(QStringLiteral("vtcad"), QStringLiteral("vtcad")); }

const QString kDrawingFilter = QObject::tr("Drawings (*.dxf);;All files (*)");

}  // namespace

void MainWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  file->addAction(tr("&New"), QKeySequence::New, this, [this] {
    if (askToKeepChanges()) runAtCommandPrompt({L"_NEW"});
  });
  file->addAction(tr("&Open..."), QKeySequence::Open, this, [this] {
    const QString path = QFileDialog::getOpenFileName(this, tr("Open Drawing"), QString(), kDrawingFilter);
    if (!path.isEmpty()) openFile(path);
  });
  file->addAction(tr("&Save"), QKeySequence::Save, this, [this] {
    if (commands::Document::instance().saveTarget().empty()) {
      const QString path =
          QFileDialog::getSaveFileName(this, tr("Save Drawing As"), QString(), kDrawingFilter);
      if (!path.isEmpty()) runAtCommandPrompt({L"_SAVEAS", path.toStdWString()});
    } else {
      runAtCommandPrompt({L"_QSAVE"});
    }
  });
  file->addAction(tr("Save &As..."), QKeySequence::SaveAs, this, [this] {
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Save Drawing As"), shownPath_, kDrawingFilter);
    if (!path.isEmpty()) runAtCommandPrompt({L"_SAVEAS", path.toStdWString()});
  });
  recentMenu_ = file->addMenu(tr("Recent &Files"));
  rebuildRecentMenu();
  file->addSeparator();
  file->addAction(tr("E&xit"), QKeySequence::Quit, this, [this] { close(); });

  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  edit->addAction(tr("&Undo"), QKeySequence::Undo, this, [this] { runAtCommandPrompt({L"_U"}); });
  edit->addAction(tr("&Redo"), QKeySequence::Redo, this, [this] { runAtCommandPrompt({L"_REDO"}); });

  QMenu* view = menuBar()->addMenu(tr("&View"));
  view->addAction(tr("Zoom &Extents"), this, [this] { runAtCommandPrompt({L"'_ZOOM", L"_E"}); });
  view->addAction(tr("Zoom &Window"), this, [this] { runAtCommandPrompt({L"'_ZOOM", L"_W"}); });
}

void MainWindow::openFile(const QString& path) {
  if (askToKeepChanges()) runAtCommandPrompt({L"_OPEN", path.toStdWString()});
}

QStringList MainWindow::recentFiles() const { return windowSettings().value(kRecentKey).toStringList(); }

void MainWindow::rememberRecent(const QString& path) {
  QStringList files = recentFiles();
  files.removeAll(path);
  files.prepend(path);
  while (files.size() > kRecentFilesKept) files.removeLast();
  windowSettings().setValue(kRecentKey, files);
  rebuildRecentMenu();
}

void MainWindow::rebuildRecentMenu() {
  if (!recentMenu_) return;
  recentMenu_->clear();
  const QStringList files = recentFiles();
  for (const QString& path : files) {
    recentMenu_->addAction(path, this, [this, path] { openFile(path); });
  }
  recentMenu_->setEnabled(!files.isEmpty());
}

void MainWindow::runAtCommandPrompt(const std::vector<std::wstring>& lines) {
  if (!waiting()) {
    statusBar()->showMessage(tr("A command is working; Esc stops it."), 3000);
    return;
  }
  if (editor::Session::instance().commandDepth() > 0) submit(L"^C");
  for (const std::wstring& line : lines) submit(line);
}

bool MainWindow::saveNow() {
  commands::Document& document = commands::Document::instance();
  std::filesystem::path target = document.saveTarget();
  if (target.empty()) {
    const QString path = QFileDialog::getSaveFileName(this, tr("Save Drawing As"), QString(), kDrawingFilter);
    if (path.isEmpty()) return false;
    target = path.toStdString();
  }
  const commands::Document::SaveResult saved = document.saveAs(target);
  if (!saved.saved) {
    QMessageBox::warning(this, tr("vtcad"),
                         tr("The drawing was not saved: %1").arg(QString::fromStdString(saved.reason)));
    return false;
  }
  drawingOpened();
  return true;
}

bool MainWindow::askToKeepChanges() {
  if (!commands::Document::instance().modified()) return true;
  const QString name = shownPath_.isEmpty() ? tr("the new drawing") : QFileInfo(shownPath_).fileName();
  const QMessageBox::StandardButton answer = QMessageBox::question(
      this, tr("vtcad"), tr("Save the changes to %1?").arg(name),
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (answer == QMessageBox::Save) return saveNow();
  return answer == QMessageBox::Discard;
}

void MainWindow::closeWithoutAsking() {
  askOnClose_ = false;
  close();
}

MainWindow::~MainWindow() = default;

void MainWindow::appendOutput(std::string_view utf8) {
  commandLine_->appendOutput(utf8);
  // The transcript goes to standard output too, as in the terminal: a window session's log.
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fflush(stdout);
}

void MainWindow::drawingOpened() {
  const std::filesystem::path& path = commands::Document::instance().path();
  std::error_code error;
  const QString shown =
      path.empty() ? QString() : QString::fromStdString(std::filesystem::absolute(path, error).string());
  if (shown != shownPath_) {
    shownPath_ = shown;
    if (!shown.isEmpty()) rememberRecent(shown);
  }
  const QString name = path.empty() ? tr("Drawing1.dxf") : QString::fromStdString(path.filename().string());
  setWindowTitle(name + QStringLiteral("[*] \u2014 vtcad"));
  setWindowModified(commands::Document::instance().modified());
  canvas_->refresh();
}

namespace {

// Work shorter than this shows no busy cursor (it would only flicker).
constexpr qint64 kBusyAfterMs = 300;
// How often work lets the window take its events.
constexpr qint64 kPollEveryMs = 30;

}  // namespace

void MainWindow::keepAlive() {
  if (waiting() || !workTimer_.isValid()) return;
  if (QThread::currentThread() != thread()) return;
  if (lastPoll_.isValid() && lastPoll_.elapsed() < kPollEveryMs) return;
  lastPoll_.start();
  const qint64 worked = workTimer_.elapsed();
  if (worked >= kBusyAfterMs) {
    if (!busy_) {
      QApplication::setOverrideCursor(Qt::BusyCursor);
      busy_ = true;
    }
    working_->setText(tr("Working %1 s (Esc stops)").arg(static_cast<double>(worked) / 1000.0, 0, 'f', 1));
  }
  canvas_->refresh();
  QCoreApplication::processEvents(QEventLoop::AllEvents, /*maxtime=*/10);
}

void MainWindow::workEnded() {
  workTimer_.invalidate();
  lastPoll_.invalidate();
  if (busy_) {
    QApplication::restoreOverrideCursor();
    busy_ = false;
  }
  working_->clear();
}

std::optional<std::wstring> MainWindow::waitForLine(std::wstring_view prompt) {
  workEnded();
  if (closed_) return std::nullopt;
  commandLine_->setPrompt(prompt);
  drawingOpened();  // a command may have opened another drawing
  canvas_->promptStarted();
  while (typed_.empty() && !closed_) {
    QEventLoop loop;
    loop_ = &loop;
    if (onWaiting)
      QTimer::singleShot(0, this, [this] {
        if (onWaiting) onWaiting();
      });
    loop.exec();
    loop_ = nullptr;
  }
  commandLine_->clearPrompt();
  if (typed_.empty()) return std::nullopt;
  std::wstring line = std::move(typed_.front());
  typed_.pop_front();
  // The prompt and its answer stay in the transcript, as a terminal keeps them.
  std::wstring shown(prompt);
  while (!shown.empty() && shown.front() == L'\n') shown.erase(0, 1);
  appendOutput(dxf::wideToUtf8(shown + line + L"\n"));
  workTimer_.start();
  return line;
}

void MainWindow::submit(const std::wstring& line) {
  typed_.push_back(line);
  if (loop_) loop_->quit();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (askOnClose_ && !askToKeepChanges()) {
    event->ignore();
    return;
  }
  closed_ = true;
  if (loop_) loop_->quit();
  event->accept();
}

}  // namespace vtcad::gui
