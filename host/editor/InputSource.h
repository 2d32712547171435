#pragma once
// Where the command line's input comes from. Line sources (a script, the terminal) give whole
// lines that the reader cuts into inputs; an argument source (zcedCommand) gives typed items.
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "editor/InputItem.h"

namespace vtcad::editor {

class InputSource {
 public:
  enum class Kind { kLines, kArguments };
  virtual ~InputSource() = default;
  virtual Kind kind() const = 0;
  // Lines: the next line without its end, or nothing at the end. `prompt` is shown by sources
  // that print their own prompt (the terminal's line editor).
  virtual std::optional<std::wstring> readLine(std::wstring_view prompt) {
    (void)prompt;
    return std::nullopt;
  }
  // Arguments: the next item, or nothing when they are used up.
  virtual std::optional<InputItem> nextItem() { return std::nullopt; }
  // Whether an input taken from here is echoed after its prompt in the transcript (scripts and
  // arguments are; a terminal shows what the user typed already).
  virtual bool echoes() const = 0;
  // Whether the source printed the prompt itself (a line editor does).
  virtual bool showsPrompt() const { return false; }
  // A name for messages ("script.scr").
  virtual std::wstring name() const = 0;
};

// A script held in memory: lines split at LF (a CR before it is dropped); lines whose first
// character is ';' are comments and are skipped.
class ScriptSource final : public InputSource {
 public:
  ScriptSource(std::wstring text, std::wstring name);
  Kind kind() const override { return Kind::kLines; }
  std::optional<std::wstring> readLine(std::wstring_view prompt) override;
  bool echoes() const override { return true; }
  std::wstring name() const override { return name_; }

 private:
  std::wstring text_;
  size_t pos_ = 0;
  std::wstring name_;
};

// The typed arguments of one zcedCommand call.
class ArgumentSource final : public InputSource {
 public:
  explicit ArgumentSource(std::deque<InputItem> items) : items_(std::move(items)) {}
  Kind kind() const override { return Kind::kArguments; }
  std::optional<InputItem> nextItem() override;
  bool echoes() const override { return true; }
  std::wstring name() const override { return L"command arguments"; }
  bool empty() const { return items_.empty(); }

 private:
  std::deque<InputItem> items_;
};

// Marks a pause ("\\") among command arguments: the input comes from the source beneath.
inline constexpr const wchar_t* kPauseText = L"\\";

}  // namespace vtcad::editor
