#pragma once
// The user interface without windows: message boxes are printed to the command line's
// transcript as "\n[caption] text", file names are asked for on the command line
// (FilePrompt.h), documents are named in the transcript as "\n<verb>: <file> <params>" and
// not opened.
#include "platform/UiBackend.h"

namespace vtcad::platform {

class HeadlessUi final : public UiBackend {
 public:
  // Without a print hook, text goes to standard output; without a prompt hook, every prompt is
  // cancelled.
  explicit HeadlessUi(TranscriptHooks hooks);

  // Answers with the default button, as pressing Enter would (messageBoxDefaultAnswer).
  int messageBox(const std::wstring& caption, const std::wstring& text, unsigned type) override;
  std::optional<std::wstring> fileDialog(const FileRequest& request) override;
  bool openDocument(const std::wstring& verb, const std::wstring& file, const std::wstring& params) override;

 private:
  TranscriptHooks hooks_;
};

}  // namespace vtcad::platform
