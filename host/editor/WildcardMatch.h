#pragma once
// WildcardMatch: the command line's wildcard patterns (zcutWcMatch, selection filters), with
// the rules listed in zcad/zcut.h. A reversed range ("[z-a]") is the same range forwards.
//
// Letters ('@') and case folding follow Unicode (the C.UTF-8 locale, whatever the process
// locale is), so '@' takes an accented letter and "étage" matches "ÉTAGE" without case; where
// the system has no C.UTF-8 they fall back to ASCII.
//
// Cost: each alternative is matched in O(string length * pattern length) at worst (one
// backtracking point per '*', every other token takes exactly one character), so a hostile
// pattern cannot make it exponential.
#include <string>
#include <string_view>

namespace vtcad::editor {

// Case-sensitive, as zcutWcMatch.
bool wildcardMatches(std::wstring_view text, std::wstring_view pattern);
// Without regard to case, as CAD hosts compare names (layers, linetypes, entity types): both
// sides are upper-cased first.
bool wildcardMatchesIgnoringCase(std::wstring_view text, std::wstring_view pattern);

}  // namespace vtcad::editor
