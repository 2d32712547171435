#include "editor/KeyLines.h"

#include <cwctype>
#include <optional>
#include <string>

#include "editor/Session.h"
#include "platform/KeyboardState.h"
#include "zcad/platform/zckeys.h"

namespace vtcad::editor {

namespace {

constexpr std::wstring_view kHold = L"~hold";
constexpr std::wstring_view kRelease = L"~release";

std::wstring lowered(std::wstring_view text) {
  std::wstring result(text);
  for (wchar_t& c : result) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return result;
}

bool startsWithWord(std::wstring_view line, std::wstring_view word) {
  if (line.size() < word.size() || lowered(line.substr(0, word.size())) != word) return false;
  return line.size() == word.size() || line[word.size()] == L' ' || line[word.size()] == L'\t';
}

std::optional<int> keyNamed(std::wstring_view name) {
  const std::wstring key = lowered(name);
  if (key == L"shift") return VK_SHIFT;
  if (key == L"ctrl" || key == L"control") return VK_CONTROL;
  if (key == L"alt") return VK_MENU;
  if (key == L"esc" || key == L"escape") return VK_ESCAPE;
  return std::nullopt;
}

}  // namespace

bool isKeyLine(std::wstring_view line) {
  return startsWithWord(line, kHold) || startsWithWord(line, kRelease);
}

void applyKeyLine(std::wstring_view line) {
  const bool hold = startsWithWord(line, kHold);
  std::wstring_view rest = line.substr(hold ? kHold.size() : kRelease.size());
  platform::KeyboardState& keys = platform::keyboardState();
  bool named = false;
  while (!rest.empty()) {
    const size_t start = rest.find_first_not_of(L" \t");
    if (start == std::wstring_view::npos) break;
    rest.remove_prefix(start);
    const size_t end = std::min(rest.find_first_of(L" \t"), rest.size());
    const std::wstring_view name = rest.substr(0, end);
    rest.remove_prefix(end);
    named = true;
    const std::optional<int> key = keyNamed(name);
    if (!key) {
      Session::instance().print(L"\nUnknown key name: " + std::wstring(name) + L".");
      continue;
    }
    if (hold) {
      keys.press(*key);
    } else {
      keys.release(*key);
    }
  }
  // "~release" alone lets go of everything; "~hold" alone holds nothing.
  if (!named && !hold) keys.releaseAll();
}

}  // namespace vtcad::editor
