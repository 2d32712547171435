#pragma once
// Every text the plug-in shows exists in Chinese and in English; `chineseVersion`, read once
// per load from the "ChineseVersion" setting, picks one. Commands print, show and ask through
// the wrappers below, which take the Chinese text first. None of the wrappers calls
// zcedInitGet except the Yes/No prompt: a caller that wants input checks or keywords calls it
// just before the wrapper.
#include <string>

#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

// The release text shown in the banner and the message box captions.
inline constexpr const wchar_t* kVersionText = L"V1.20";
// The program name of the Chinese message box caption ("Veltrace[V1.20]").
inline constexpr const wchar_t* kProgramName = L"Veltrace";

// The language of this load. Set by the frame at load before any command can run, and never
// changed while the plug-in is loaded.
extern bool chineseVersion;

// A text as (Chinese, English); formatted messages are pairs of format strings that take the
// same arguments in the same order.
struct MessagePair {
  const wchar_t* chinese;
  const wchar_t* english;
  // The text of this load's language.
  const wchar_t* text() const { return chineseVersion ? chinese : english; }
};

// Prints the chosen text on the command line as it is (no formatting: percent signs stay).
void printBilingual(const wchar_t* chinese, const wchar_t* english);
// Formats the chosen format string with `args` (zcutPrintf rules: %s takes a wide string).
template <typename... Args>
void printfBilingual(const MessagePair& formats, Args... args) {
  zcutPrintf(formats.text(), args...);
}
// `format` with its "%s" replaced by `path` as it is (no other conversion: a path may hold
// percent signs); a format without "%s" is returned unchanged.
std::wstring withPath(const wchar_t* format, const std::wstring& path);
// A modal message box with an OK button. Chinese: caption "Veltrace[V1.20]"; English: the
// host's standard box under the host's title.
void messageBoxBilingual(const wchar_t* chinese, const wchar_t* english);
// Asks "Yes No"; true when the keyword given starts with "Y", false for any other keyword, and
// `defaultAnswer` for Enter, Esc or an error: cancelling answers the default and the command
// goes on.
bool getYesNoBilingual(const wchar_t* chinese, const wchar_t* english, bool defaultAnswer);
// The host prompts with the chosen text; each returns the host's result code unchanged.
int entSelBilingual(const wchar_t* chinese, const wchar_t* english, zds_name entity, zds_point picked);
// `base` may be null (no rubber band).
int getDistBilingual(const zds_point base, const wchar_t* chinese, const wchar_t* english, double* distance);
int getIntBilingual(const wchar_t* chinese, const wchar_t* english, int* value);
int getPointBilingual(const zds_point base, const wchar_t* chinese, const wchar_t* english, zds_point point);

}  // namespace veltrace
