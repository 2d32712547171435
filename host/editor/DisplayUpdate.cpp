// zcedUpdateDisplay through the installed update (none headless: it costs a test).
#include "editor/DisplayUpdate.h"

#include <utility>

#include "zcad/zced.h"

namespace vtcad::editor {
namespace {

std::function<void()>& displayUpdate() {
  static std::function<void()> update;
  return update;
}

}  // namespace

void setDisplayUpdate(std::function<void()> update) { displayUpdate() = std::move(update); }

}  // namespace vtcad::editor

void zcedUpdateDisplay() {
  if (const auto& update = vtcad::editor::displayUpdate(); update) update();
}
