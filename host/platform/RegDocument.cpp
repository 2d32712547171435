// Registry keys and values in memory, found without regard to case.
#include "platform/RegDocument.h"

#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <array>
#include <set>

namespace vtcad::platform {

namespace {

constexpr std::array<std::wstring_view, 5> kRoots = {
    L"HKEY_CURRENT_USER", L"HKEY_LOCAL_MACHINE", L"HKEY_CLASSES_ROOT", L"HKEY_USERS", L"HKEY_CURRENT_CONFIG"};

// The registry compares names by their upper case. The process locale may be "C", where
// towupper knows only ASCII, so the fold uses a locale of its own; without C.UTF-8 it falls
// back to ASCII.
locale_t foldLocale() {
  static locale_t locale = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return locale;
}

std::wstring fold(std::wstring_view text) {
  std::wstring out(text);
  locale_t locale = foldLocale();
  for (wchar_t& c : out) {
    if (locale != static_cast<locale_t>(nullptr)) {
      c = static_cast<wchar_t>(::towupper_l(static_cast<wint_t>(c), locale));
    } else if (c >= L'a' && c <= L'z') {
      c = static_cast<wchar_t>(c - L'a' + L'A');
    }
  }
  return out;
}

bool hasControl(std::wstring_view text, bool tabAllowed) {
  return std::any_of(text.begin(), text.end(), [tabAllowed](wchar_t c) {
    return (c >= 0 && c < 0x20 && !(tabAllowed && c == L'\t')) || c == 0x7F;
  });
}

}  // namespace

bool RegDocument::isValidKeyPath(std::wstring_view path) {
  if (path.empty() || hasControl(path, /*tabAllowed=*/false)) return false;
  size_t rootEnd = path.find(L'\\');
  std::wstring_view root = path.substr(0, rootEnd);
  if (std::none_of(kRoots.begin(), kRoots.end(), [&](std::wstring_view r) { return sameName(r, root); })) {
    return false;
  }
  // Empty parts: "A\\B", a trailing "\" or a root followed by "\" alone.
  return path.find(L"\\\\") == std::wstring_view::npos && path.back() != L'\\';
}

bool RegDocument::isValidValueName(std::wstring_view name) { return !hasControl(name, /*tabAllowed=*/true); }

bool RegDocument::sameName(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && fold(a) == fold(b);
}

bool RegDocument::hasKey(std::wstring_view path) const {
  std::wstring folded = fold(path);
  if (keys_.count(folded) != 0) return true;
  folded.push_back(L'\\');
  auto below = keys_.lower_bound(folded);
  return below != keys_.end() && below->first.starts_with(folded);
}

bool RegDocument::addKey(std::wstring_view path) {
  auto [it, added] = keys_.try_emplace(fold(path));
  if (added) {
    it->second.path = std::wstring(path);
    it->second.order = nextOrder_++;
  }
  return added;
}

bool RegDocument::removeKeyTree(std::wstring_view path) {
  std::wstring folded = fold(path);
  bool removed = keys_.erase(folded) != 0;
  folded.push_back(L'\\');
  auto first = keys_.lower_bound(folded);
  auto last = first;
  while (last != keys_.end() && last->first.starts_with(folded)) ++last;
  removed = removed || first != last;
  keys_.erase(first, last);
  return removed;
}

const RegValue* RegDocument::findValue(std::wstring_view key, std::wstring_view name) const {
  auto k = keys_.find(fold(key));
  if (k == keys_.end()) return nullptr;
  auto v = k->second.values.find(fold(name));
  return v == k->second.values.end() ? nullptr : &v->second.value;
}

void RegDocument::setValue(std::wstring_view key, RegValue value) {
  addKey(key);
  KeyEntry& entry = keys_.find(fold(key))->second;
  auto [it, added] = entry.values.try_emplace(fold(value.name));
  if (added) {
    it->second.order = nextOrder_++;
  } else {
    value.name = it->second.value.name;
  }
  it->second.value = std::move(value);
}

bool RegDocument::removeValue(std::wstring_view key, std::wstring_view name) {
  auto k = keys_.find(fold(key));
  return k != keys_.end() && k->second.values.erase(fold(name)) != 0;
}

std::vector<std::wstring> RegDocument::subkeyNames(std::wstring_view key) const {
  std::wstring prefix = fold(key) + L'\\';
  std::vector<std::pair<std::uint64_t, std::wstring>> found;
  std::set<std::wstring> seen;  // folded names, to list an implied parent once
  for (auto it = keys_.lower_bound(prefix); it != keys_.end() && it->first.starts_with(prefix); ++it) {
    size_t end = it->first.find(L'\\', prefix.size());
    std::wstring folded = it->first.substr(prefix.size(), end - prefix.size());
    if (!seen.insert(folded).second) continue;
    found.emplace_back(it->second.order, it->second.path.substr(prefix.size(), end - prefix.size()));
  }
  std::sort(found.begin(), found.end());
  std::vector<std::wstring> names;
  for (auto& [order, name] : found) names.push_back(std::move(name));
  return names;
}

std::vector<std::wstring> RegDocument::valueNames(std::wstring_view key) const {
  std::vector<std::wstring> names;
  auto k = keys_.find(fold(key));
  if (k == keys_.end()) return names;
  std::vector<const ValueEntry*> entries;
  for (const auto& [folded, entry] : k->second.values) entries.push_back(&entry);
  std::sort(entries.begin(), entries.end(), [](auto* a, auto* b) { return a->order < b->order; });
  for (const ValueEntry* entry : entries) names.push_back(entry->value.name);
  return names;
}

std::vector<RegKeyContents> RegDocument::contents() const {
  std::vector<const KeyEntry*> keys;
  for (const auto& [folded, entry] : keys_) keys.push_back(&entry);
  std::sort(keys.begin(), keys.end(), [](auto* a, auto* b) { return a->order < b->order; });
  std::vector<RegKeyContents> out;
  out.reserve(keys.size());
  for (const KeyEntry* key : keys) {
    std::vector<const ValueEntry*> values;
    for (const auto& [folded, entry] : key->values) values.push_back(&entry);
    std::sort(values.begin(), values.end(), [](auto* a, auto* b) { return a->order < b->order; });
    RegKeyContents& contents = out.emplace_back();
    contents.path = key->path;
    for (const ValueEntry* value : values) contents.values.push_back(value->value);
  }
  return out;
}

}  // namespace vtcad::platform
