// The headless user interface: everything through the command line's transcript.
#include "platform/HeadlessUi.h"

#include <cstdio>

#include "platform/FilePrompt.h"
#include "platform/MessageBox.h"
#include "platform/TextEncoding.h"

namespace vtcad::platform {

HeadlessUi::HeadlessUi(TranscriptHooks hooks) : hooks_(std::move(hooks)) {
  if (!hooks_.print) {
    hooks_.print = [](const std::wstring& text) {
      std::string bytes = encodeUtf8(text);
      std::fwrite(bytes.data(), 1, bytes.size(), stdout);
      std::fflush(stdout);
    };
  }
  if (!hooks_.promptLine) {
    hooks_.promptLine = [](const std::wstring&) -> std::optional<std::wstring> { return std::nullopt; };
  }
}

int HeadlessUi::messageBox(const std::wstring& caption, const std::wstring& text, unsigned type) {
  hooks_.print(L"\n[" + caption + L"] " + text);
  return messageBoxDefaultAnswer(type);
}

std::optional<std::wstring> HeadlessUi::fileDialog(const FileRequest& request) {
  return askForFileOnCommandLine(request, hooks_);
}

bool HeadlessUi::openDocument(const std::wstring& verb, const std::wstring& file,
                              const std::wstring& params) {
  std::wstring line = L"\n" + (verb.empty() ? std::wstring(L"open") : verb) + L": " + file;
  if (!params.empty()) line += L" " + params;
  hooks_.print(line);
  return true;
}

}  // namespace vtcad::platform
