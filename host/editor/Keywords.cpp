#include "editor/Keywords.h"

#include <algorithm>
#include <cwctype>

namespace vtcad::editor {
namespace {

wchar_t up(wchar_t c) { return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c))); }

bool equalNoCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return up(x) == up(y); });
}

}  // namespace

Keywords::Keywords(std::wstring_view list) {
  bool global = false;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(L' ', start);
    std::wstring_view word =
        list.substr(start, end == std::wstring_view::npos ? std::wstring_view::npos : end - start);
    if (word == L"_") {
      global = true;
    } else if (!word.empty()) {
      (global ? global_ : local_).emplace_back(word);
    }
    if (end == std::wstring_view::npos) break;
    start = end + 1;
  }
  // A global list that does not pair up with the local one is ignored rather than misread.
  if (global_.size() != local_.size()) global_.clear();
}

// Whether `input` names `keyword`: the whole keyword, its capital letters ("eXit" -> "X",
// "LType" -> "LT"), or a prefix at least as long as its leading capitals. A keyword without
// capitals (all lower case) may be shortened to any prefix.
bool Keywords::names(std::wstring_view keyword, std::wstring_view input) {
  if (input.empty()) return false;
  if (equalNoCase(keyword, input)) return true;
  std::wstring capitals;
  for (wchar_t c : keyword) {
    if (std::iswupper(static_cast<wint_t>(c))) capitals.push_back(c);
  }
  if (capitals.size() == keyword.size()) return false;  // all capitals: only the whole word
  if (!capitals.empty() && equalNoCase(capitals, input)) return true;
  if (input.size() > keyword.size() || !equalNoCase(keyword.substr(0, input.size()), input)) return false;
  size_t leading = 0;
  while (leading < keyword.size() && std::iswupper(static_cast<wint_t>(keyword[leading]))) ++leading;
  if (capitals.empty()) return true;
  // Capitals inside the word ("eXit") are the only abbreviation besides the whole word.
  return leading > 0 && leading == capitals.size() && input.size() >= leading;
}

std::optional<std::wstring> Keywords::match(std::wstring_view input) const {
  bool globalInput = !input.empty() && input.front() == L'_';
  if (globalInput) input.remove_prefix(1);
  const std::vector<std::wstring>& list = (globalInput && !global_.empty()) ? global_ : local_;
  std::optional<size_t> found;
  for (size_t i = 0; i < list.size(); ++i) {
    if (equalNoCase(list[i], input)) {
      found = i;
      break;
    }
    if (names(list[i], input) && !found) found = i;
  }
  if (!found) return std::nullopt;
  return global_.empty() ? local_[*found] : global_[*found];
}

}  // namespace vtcad::editor
