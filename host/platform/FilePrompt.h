#pragma once
// Asking for a file name on the command line, as a CAD host does when there is no file dialog
// (headless, or FILEDIA 0).
#include <optional>
#include <string>

#include "platform/UiBackend.h"

namespace vtcad::platform {

// Unusable answers (a missing file to open, a folder) after which the prompt gives up.
inline constexpr int kFilePromptAttempts = 3;

// "\n<title> <<default>>: ", or "\n<title>: " without a default; "File name" stands for an
// empty title.
std::wstring filePromptText(const FileRequest& request);
// `name` with the request's extension appended when its last part has none (a leading dot, as
// in ".profile", is no extension).
std::wstring withDefaultExtension(const std::wstring& name, const std::wstring& extension);

// Asks until the answer is usable: the whole line is the name (surrounding blanks and one pair
// of surrounding double quotes removed; '~' and '$' stay as they are); an empty answer takes
// the default, or cancels without one. A folder is refused ("Not a file: <path>"); so is a
// file that does not exist unless it is for saving ("File not found: <path>"). nullopt when
// cancelled or after kFilePromptAttempts unusable answers.
std::optional<std::wstring> askForFileOnCommandLine(const FileRequest& request, const TranscriptHooks& hooks);

}  // namespace vtcad::platform
