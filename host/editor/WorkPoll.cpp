#include "editor/WorkPoll.h"

#include <utility>

namespace vtcad::editor {
namespace {

std::function<void()>& workPoll() {
  static std::function<void()> poll;
  return poll;
}

}  // namespace

void setWorkPoll(std::function<void()> poll) { workPoll() = std::move(poll); }

void pollWork() {
  if (const auto& poll = workPoll(); poll) poll();
}

}  // namespace vtcad::editor
