#pragma once
// Keyword lists of zcedInitGet: "Width Close Undo" (capitals are the shortest abbreviation a
// user may type), optionally followed by "_" and the global names in the same order
// ("Ja Nein _ Yes No"), which an input starting with "_" names.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vtcad::editor {

class Keywords {
 public:
  explicit Keywords(std::wstring_view list);
  bool empty() const { return local_.empty(); }
  // The keyword the input names, as its global name (the local one when there is no global
  // list). Nothing when it names none, or names more than one without an exact match.
  std::optional<std::wstring> match(std::wstring_view input) const;

 private:
  static bool names(std::wstring_view keyword, std::wstring_view input);
  std::vector<std::wstring> local_;
  std::vector<std::wstring> global_;
};

}  // namespace vtcad::editor
