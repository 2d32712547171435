#include "ui/DialogActions.h"

#include <array>
#include <cwctype>
#include <utility>

namespace vtcad::ui {

namespace {

constexpr std::array<std::pair<const wchar_t*, DialogVerb>, 11> kVerbs{{
    {L"select", DialogVerb::kSelect},
    {L"type", DialogVerb::kType},
    {L"slide", DialogVerb::kSlide},
    {L"check", DialogVerb::kCheck},
    {L"uncheck", DialogVerb::kUncheck},
    {L"press", DialogVerb::kPress},
    {L"close", DialogVerb::kClose},
    {L"ok", DialogVerb::kOk},
    {L"cancel", DialogVerb::kCancel},
    {L"show", DialogVerb::kShow},
    {L"picture", DialogVerb::kPicture},
}};

std::wstring lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return text;
}

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// The next word of `line` from `at`, leaving `at` after it and the blanks that follow.
std::wstring nextWord(const std::wstring& line, std::size_t& at) {
  const std::size_t start = at;
  while (at < line.size() && !isBlank(line[at])) ++at;
  std::wstring word = line.substr(start, at - start);
  while (at < line.size() && isBlank(line[at])) ++at;
  return word;
}

// The rest of the line without the blanks after it; a quoted rest loses its quotes.
std::wstring restOf(const std::wstring& line, std::size_t at) {
  std::wstring rest = line.substr(at);
  while (!rest.empty() && isBlank(rest.back())) rest.pop_back();
  if (rest.size() >= 2 && rest.front() == L'"' && rest.back() == L'"') rest = rest.substr(1, rest.size() - 2);
  return rest;
}

}  // namespace

bool verbTakesControl(DialogVerb verb) {
  switch (verb) {
    case DialogVerb::kClose:
    case DialogVerb::kOk:
    case DialogVerb::kCancel:
    case DialogVerb::kShow:
      return false;
    default:
      return true;
  }
}

bool verbTakesArgument(DialogVerb verb) {
  return verb == DialogVerb::kSelect || verb == DialogVerb::kType || verb == DialogVerb::kSlide ||
         verb == DialogVerb::kPicture;
}

ParsedDialogAction parseDialogAction(const std::wstring& line) {
  ParsedDialogAction parsed;
  std::size_t at = 0;
  while (at < line.size() && isBlank(line[at])) ++at;
  const std::wstring verbWord = lower(nextWord(line, at));
  bool known = false;
  for (const auto& [name, verb] : kVerbs) {
    if (verbWord == name) {
      parsed.action.verb = verb;
      known = true;
    }
  }
  if (!known) {
    parsed.error =
        L"Unknown dialog action \"" + verbWord +
        L"\"; one of select, type, slide, check, uncheck, press, close, ok, cancel, show, picture.";
    return parsed;
  }
  if (verbTakesControl(parsed.action.verb)) {
    parsed.action.control = nextWord(line, at);
    if (parsed.action.control.empty()) {
      parsed.error = L"\"" + verbWord + L"\" needs a control (its id or name).";
      return parsed;
    }
  }
  if (verbTakesArgument(parsed.action.verb)) {
    parsed.action.argument = restOf(line, at);
    // An empty text is a text an edit may be given; the other verbs need something.
    if (parsed.action.argument.empty() && parsed.action.verb != DialogVerb::kType) {
      parsed.error = L"\"" + verbWord + L"\" needs a value after the control.";
      return parsed;
    }
  } else if (!restOf(line, at).empty()) {
    parsed.error = L"\"" + verbWord + L"\" takes nothing more: \"" + restOf(line, at) + L"\".";
    return parsed;
  }
  parsed.ok = true;
  return parsed;
}

}  // namespace vtcad::ui
