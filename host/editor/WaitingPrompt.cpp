#include "editor/WaitingPrompt.h"

namespace vtcad::editor {
namespace {

WaitingPrompt& current() {
  static WaitingPrompt prompt;
  return prompt;
}

}  // namespace

const WaitingPrompt& waitingPrompt() { return current(); }

WaitingPromptScope::WaitingPromptScope(const WaitingPrompt& prompt) : previous_(current()) {
  const bool restOfLine = current().restOfLine;
  const std::vector<ZcDbObjectId>* selected = current().selected;
  current() = prompt;
  current().restOfLine = restOfLine;
  // The corners a selection asks for keep its entities highlighted.
  if (!prompt.selected) current().selected = selected;
}

WaitingPromptScope::~WaitingPromptScope() { current() = previous_; }

void setWaitingRestOfLine(bool restOfLine) { current().restOfLine = restOfLine; }

}  // namespace vtcad::editor
