#pragma once
// MainWindow: vtcad's desktop window. The drawing fills it (DrawingCanvas), the command line
// is docked below (CommandLine), the status bar shows the cursor's coordinates. The command
// loop runs on this thread as in the terminal: each prompt waits in waitForLine, which keeps
// the window working (events run) until a line is typed, clicked or chosen from a menu.
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QEventLoop;
class QProgressBar;

namespace vtcad::gui {

class CommandLine;
class DrawingCanvas;

class MainWindow : public QMainWindow {
 public:
  MainWindow();
  ~MainWindow() override;

  DrawingCanvas* canvas() const { return canvas_; }
  CommandLine* commandLine() const { return commandLine_; }

  // The next line for the prompt, or nothing once the window has closed (the end of input).
  std::optional<std::wstring> waitForLine(std::wstring_view prompt);
  // A line as if typed at the waiting prompt (a click, a keyword, a menu); lines given while a
  // command works wait for its next prompt.
  void submit(const std::wstring& line);
  // Whether a prompt waits for input now.
  bool waiting() const { return loop_ != nullptr; }
  // Text the session printed.
  void appendOutput(std::string_view utf8);
  // The drawing was opened or replaced.
  void drawingOpened();

  // Lines run at the command prompt as if typed (menus): a command that waits is cancelled
  // first; while a command works they are refused.
  void runAtCommandPrompt(const std::vector<std::wstring>& lines);
  // Whether the drawing may be dropped: unchanged, saved now, or the user said to discard it.
  bool askToKeepChanges();
  // Closes without asking about unsaved changes (tests, after the answer was given).
  void closeWithoutAsking();
  // The recent files menu's entries, newest first.
  QStringList recentFiles() const;

  // While a command works: lets the window take its events (repaint, Esc) now and then, and
  // once the work has gone on for a moment shows that it works (busy cursor, elapsed time).
  void keepAlive();
  // Whether the window shows that a command works.
  bool busy() const { return busy_; }
  QLabel* progressLabel() const { return progressLabel_; }
  QProgressBar* progressBar() const { return progressBar_; }

  // Called (from the event loop) each time a prompt starts to wait with nothing typed ahead:
  // what the tests drive the window with.
  std::function<void()> onWaiting;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenus();
  void rememberRecent(const QString& path);
  void rebuildRecentMenu();
  void openFile(const QString& path);
  bool saveNow();

  DrawingCanvas* canvas_;
  CommandLine* commandLine_;
  QLabel* coordinates_;
  QLabel* working_;
  QLabel* progressLabel_;
  QProgressBar* progressBar_;
  QElapsedTimer workTimer_;
  QElapsedTimer lastPoll_;
  bool busy_ = false;
  void workEnded();
  std::deque<std::wstring> typed_;
  QEventLoop* loop_ = nullptr;
  bool closed_ = false;
  bool askOnClose_ = true;
  class QMenu* recentMenu_ = nullptr;
  QString shownPath_;
};

}  // namespace vtcad::gui
