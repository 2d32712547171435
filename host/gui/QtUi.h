#pragma once
// QtUi: the platform's user interface in the window: message boxes (QMessageBox), file
// dialogs (QFileDialog, when FILEDIA is 1 and no script feeds the prompts) and documents opened
// with the desktop's program. While a script feeds the prompts, message boxes go to the
// transcript as without a window (nobody would click them). Calls from other threads than the window's are
// answered as the headless backend answers them (the window's thread may be waiting for that very thread).
#include <memory>

#include "platform/UiBackend.h"

class QWidget;

namespace vtcad::gui {

class QtUi final : public platform::UiBackend {
 public:
  QtUi(QWidget* owner, std::shared_ptr<platform::UiBackend> otherThreads);
  int messageBox(const std::wstring& caption, const std::wstring& text, unsigned type) override;
  std::optional<std::wstring> fileDialog(const platform::FileRequest& request) override;
  bool openDocument(const std::wstring& verb, const std::wstring& file, const std::wstring& params) override;

 private:
  bool onWindowThread() const;
  QWidget* owner_;
  std::shared_ptr<platform::UiBackend> otherThreads_;
};

}  // namespace vtcad::gui
