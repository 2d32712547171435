#pragma once
// Cuts the command line's input into single inputs. Sources nest: the topmost line source (a
// script or the terminal) is cut at spaces and line ends; argument sources above it (one per
// zcedCommand call in progress) give their typed items first, and a pause among them takes one
// input from the line source.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/InputSource.h"

namespace vtcad::editor {

class InputReader {
 public:
  enum class Mode {
    kToken,      // up to the next space or line end (a space is an Enter)
    kRestOfLine  // everything up to the line end (texts with spaces)
  };

  // Where the next input will come from, so the prompt can be shown the right way.
  struct Peek {
    InputSource* source = nullptr;  // nullptr: no input left
    bool needsNewLine = false;      // a line source must read a fresh line
  };

  void push(std::unique_ptr<InputSource> source);
  // Removes the topmost source (with what is left of its current line).
  void pop();
  size_t depth() const { return sources_.size(); }
  InputSource* top() const { return sources_.empty() ? nullptr : sources_.back().source.get(); }

  Peek peek() const;
  // The next input. `prompt` goes to a line source that shows prompts itself. `from` tells
  // which source gave it.
  InputItem next(Mode mode, std::wstring_view prompt, InputSource** from = nullptr);

  // Drops what is left of the current line of the topmost line source (after a cancel in the
  // terminal, the rest of the typed line is not run).
  void discardLine();

 private:
  struct Entry {
    std::unique_ptr<InputSource> source;
    std::optional<std::wstring> line;  // the current line; nullopt once its end was read
    size_t pos = 0;
  };
  Entry* topLineSource();
  const Entry* topLineSource() const;
  InputItem fromLine(Entry& entry, Mode mode, std::wstring_view prompt);
  InputItem cutInput(Entry& entry, Mode mode);

  std::vector<Entry> sources_;
};

}  // namespace vtcad::editor
