#include "gui/WindowSource.h"

#include "gui/MainWindow.h"

namespace vtcad::gui {

std::optional<std::wstring> WindowSource::readLine(std::wstring_view prompt) {
  return window_.waitForLine(prompt);
}

}  // namespace vtcad::gui
