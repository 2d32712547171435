// File names asked for on the command line, and zcedGetFileD.
#include "platform/FilePrompt.h"

#include <filesystem>

#include "platform/TextEncoding.h"
#include "zcad/platform/zcui.h"

namespace vtcad::platform {

namespace {

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring trimmed(const std::wstring& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// The extension to append: the first of "dwg;dxf", without "*." or "."; empty for any.
std::wstring firstExtension(const std::wstring& extension) {
  std::wstring first = trimmed(extension.substr(0, extension.find(L';')));
  if (first.starts_with(L"*")) first.erase(0, 1);
  if (first.starts_with(L".")) first.erase(0, 1);
  return first == L"*" ? std::wstring() : first;
}

}  // namespace

std::wstring filePromptText(const FileRequest& request) {
  std::wstring prompt = L"\n" + (request.title.empty() ? std::wstring(L"File name") : request.title);
  if (!request.defaultName.empty()) prompt += L" <" + request.defaultName + L">";
  return prompt + L": ";
}

std::wstring withDefaultExtension(const std::wstring& name, const std::wstring& extension) {
  std::wstring ext = firstExtension(extension);
  size_t slash = name.rfind(L'/');
  size_t base = slash == std::wstring::npos ? 0 : slash + 1;
  size_t dot = name.rfind(L'.');
  bool hasExtension = dot != std::wstring::npos && dot > base;
  // Degenerate case: a name ending in '/' names a folder; nothing is appended to it.
  if (ext.empty() || hasExtension || base == name.size()) return name;
  return name + L"." + ext;
}

std::optional<std::wstring> askForFileOnCommandLine(const FileRequest& request,
                                                    const TranscriptHooks& hooks) {
  if (!hooks.promptLine) return std::nullopt;
  std::wstring prompt = filePromptText(request);
  for (int attempt = 0; attempt < kFilePromptAttempts; ++attempt) {
    std::optional<std::wstring> answer = hooks.promptLine(prompt);
    if (!answer) return std::nullopt;
    std::wstring name = trimmed(*answer);
    if (name.size() >= 2 && name.front() == L'"' && name.back() == L'"')
      name = name.substr(1, name.size() - 2);
    if (name.empty()) {
      if (request.defaultName.empty()) return std::nullopt;
      name = request.defaultName;
    }
    name = withDefaultExtension(name, request.extension);
    std::error_code ec;
    std::filesystem::file_status status = std::filesystem::status(pathFromWide(name), ec);
    const wchar_t* refusal = nullptr;
    if (std::filesystem::is_directory(status)) {
      refusal = L"\nNot a file: ";
    } else if (!request.forSaving && !std::filesystem::exists(status)) {
      refusal = L"\nFile not found: ";
    }
    if (!refusal) return name;
    if (hooks.print) hooks.print(refusal + name);
  }
  return std::nullopt;
}

}  // namespace vtcad::platform

int zcedGetFileD(const ZTCHAR* title, const ZTCHAR* defawlt, const ZTCHAR* ext, int flags, resbuf* result) {
  if (!result) return RTERROR;
  vtcad::platform::FileRequest request;
  request.title = title ? title : L"";
  request.defaultName = defawlt ? defawlt : L"";
  request.extension = ext ? ext : L"";
  request.forSaving = (flags & kZcedGetFileSave) != 0;
  std::optional<std::wstring> chosen = vtcad::platform::uiBackend()->fileDialog(request);
  if (!chosen) return RTCAN;
  ZTCHAR* path = zcutNewString(chosen->c_str());
  if (!path) return RTERROR;
  result->restype = RTSTR;
  result->resval.rstring = path;
  return RTNORM;
}
