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
  const std::vector<ZcDbObjectId>* dragged = current().dragged;
  current() = prompt;
  current().restOfLine = restOfLine;
  // The corners a selection asks for keep its entities highlighted; the point of a move keeps
  // what it moves.
  if (!prompt.selected) current().selected = selected;
  if (!prompt.dragged) current().dragged = dragged;
}

WaitingPromptScope::~WaitingPromptScope() { current() = previous_; }

DragScope::DragScope(const std::vector<ZcDbObjectId>& dragged) : previous_(current().dragged) {
  current().dragged = &dragged;
}

DragScope::~DragScope() { current().dragged = previous_; }

void setWaitingRestOfLine(bool restOfLine) { current().restOfLine = restOfLine; }

}  // namespace vtcad::editor
