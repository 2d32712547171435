#pragma once
// What the host's user interface does for platform services: message boxes, file dialogs,
// opening documents. A headless backend (HeadlessUi.h) answers on the command line; a desktop
// one comes later. The process has one backend at a time; plug-in calls may reach it from any
// thread, so a backend and the hooks it calls must be safe to call from any thread.
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace vtcad::platform {

// The host application's title: the caption of zcedAlert and AfxMessageBox.
inline constexpr const wchar_t* kHostTitle = L"vtcad";

struct FileRequest {
  std::wstring title;
  std::wstring defaultName;  // empty: no default
  // What zcedGetFileD was given: "dxf", ".dxf", "dwg;dxf" (the first is appended to a name
  // without one), or empty or "*" for any file.
  std::wstring extension;
  bool forSaving = false;  // the file need not exist
};

// The editor's command line as a backend reaches it without depending on the editor: the
// editor installs these at startup.
struct TranscriptHooks {
  // Prints text to the command line's transcript, as given ("\n" first for a new line).
  std::function<void(const std::wstring&)> print;
  // Shows the prompt and reads one line, the whole line. nullopt: the user cancelled (Esc);
  // an empty string: an empty answer (Enter).
  std::function<std::optional<std::wstring>(const std::wstring& prompt)> promptLine;
};

class UiBackend {
 public:
  virtual ~UiBackend() = default;
  // Shows a message box and answers with the button the user chose (IDOK, IDYES, ... of
  // zcui.h); `type` is MessageBoxW's (buttons, icon, default button).
  virtual int messageBox(const std::wstring& caption, const std::wstring& text, unsigned type) = 0;
  // The file the user chose, nullopt when cancelled.
  virtual std::optional<std::wstring> fileDialog(const FileRequest& request) = 0;
  // Opens `file` with the program that handles it (verb "open", ...); false when it cannot.
  virtual bool openDocument(const std::wstring& verb, const std::wstring& file,
                            const std::wstring& params) = 0;
};

// The process's backend: a headless one printing to standard output and cancelling every
// prompt until another is set.
std::shared_ptr<UiBackend> uiBackend();
// Null brings back that default backend.
void setUiBackend(std::shared_ptr<UiBackend> backend);

}  // namespace vtcad::platform
