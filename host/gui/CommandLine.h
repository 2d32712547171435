#pragma once
// CommandLine: the command line docked below the drawing. The transcript (scrollable, read
// only) shows what the session prints; the input row shows the waiting prompt, its keywords
// as links to click, and the line being typed. Keys as in a CAD host: Enter ends the input,
// Space does too except where a text with spaces is read, Esc cancels the prompt (or breaks off
// the command that works), Up and Down walk the history.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vtcad::gui {

class CommandLine : public QWidget {
 public:
  explicit CommandLine(QWidget* parent = nullptr);

  // Text the session printed (UTF-8), appended to the transcript.
  void appendOutput(std::string_view utf8);
  // The prompt waiting for input (its last line is shown), or none while a command works.
  void setPrompt(std::wstring_view prompt);
  void clearPrompt();
  // Puts a line typed elsewhere (a click, a menu) into the history as if typed.
  void remember(const std::wstring& line);

  QLineEdit* input() const { return input_; }
  QPlainTextEdit* transcript() const { return transcript_; }
  QLabel* promptLabel() const { return prompt_; }

  // An input ended with Enter (or Space, or a keyword clicked): the line as typed.
  std::function<void(const std::wstring&)> onLine;
  // Esc: at a prompt it answers the prompt with a cancel; while a command works it asks it to stop.
  std::function<void()> onEscape;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void submit(const std::wstring& line);
  QPlainTextEdit* transcript_;
  QLabel* prompt_;
  QLineEdit* input_;
  std::vector<std::wstring> history_;
  size_t historyAt_ = 0;
};

// The prompt's last line as rich text with each keyword of its "[A/B/C]" list a link whose
// address is the keyword.
QString promptWithKeywordLinks(std::wstring_view prompt);

}  // namespace vtcad::gui
