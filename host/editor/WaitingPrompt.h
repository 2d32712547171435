#pragma once
// WaitingPrompt: what the prompt that waits for input now asks for, for a window that answers
// it with the mouse: whether a point is wanted and from which base point the rubber band runs
// (a line for zcedGetPoint, zcedGetDist and angles; a box for zcedGetCorner and windows), and
// the entities a selection in progress holds (the window highlights them), and the entities a
// second point moves (the window draws them following the cursor). Headless runs set it too
// and nobody reads it.
#include <optional>
#include <vector>

#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGePoint3d.h"

namespace vtcad::editor {

struct WaitingPrompt {
  enum class Wants { kAnything, kPoint, kSelection };
  enum class Band { kNone, kLine, kBox };
  Wants wants = Wants::kAnything;
  Band band = Band::kNone;
  ZcGePoint3d base;  // where the band starts (band != kNone)
  // Entities chosen so far by the selection that asks (not owned; empty outside a selection).
  const std::vector<ZcDbObjectId>* selected = nullptr;
  // Entities the point asked for moves from `base` (MOVE's and COPY's second point, also when a
  // plug-in's command pauses there): not owned; null when the point moves nothing.
  const std::vector<ZcDbObjectId>* dragged = nullptr;
  // The read takes the rest of the line (a text with spaces): a space is no Enter there.
  bool restOfLine = false;
};

// The prompt waiting now; a plain "anything" outside of prompts.
const WaitingPrompt& waitingPrompt();

// Sets what the prompts read inside its lifetime ask for; the previous state comes back at its
// end (prompts nest: a selection asks for corners).
class WaitingPromptScope {
 public:
  explicit WaitingPromptScope(const WaitingPrompt& prompt);
  ~WaitingPromptScope();
  WaitingPromptScope(const WaitingPromptScope&) = delete;
  WaitingPromptScope& operator=(const WaitingPromptScope&) = delete;

 private:
  WaitingPrompt previous_;
};

// The entities the point prompts inside its lifetime move from their base point.
class DragScope {
 public:
  explicit DragScope(const std::vector<ZcDbObjectId>& dragged);
  ~DragScope();
  DragScope(const DragScope&) = delete;
  DragScope& operator=(const DragScope&) = delete;

 private:
  const std::vector<ZcDbObjectId>* previous_;
};

// The read mode of the read in progress (set by Session::read).
void setWaitingRestOfLine(bool restOfLine);

}  // namespace vtcad::editor
