#pragma once
// The script lines that drive a headless dialog, one action a line (docs/dialogs.md):
//   select <control> <index | item text>   type <control> <text>   slide <control> <position>
//   check <control>   uncheck <control>   press <control>   close   ok   cancel
//   show   picture <control> <file.png>
// A control is named by its id or by its template name. Verbs are matched without regard to
// case; an argument may be quoted ("1. Heart"), and takes the rest of the line otherwise.
#include <string>

namespace vtcad::ui {

enum class DialogVerb {
  kSelect,
  kType,
  kSlide,
  kCheck,
  kUncheck,
  kPress,
  kClose,
  kOk,
  kCancel,
  kShow,
  kPicture
};

struct DialogAction {
  DialogVerb verb = DialogVerb::kShow;
  std::wstring control;   // empty for the verbs without one
  std::wstring argument;  // empty for the verbs without one
};

struct ParsedDialogAction {
  bool ok = false;
  DialogAction action;
  std::wstring error;  // what is wrong with the line, when not ok
};

ParsedDialogAction parseDialogAction(const std::wstring& line);

// Whether the verb names a control, and takes an argument after it.
bool verbTakesControl(DialogVerb verb);
bool verbTakesArgument(DialogVerb verb);

}  // namespace vtcad::ui
