#include "editor/WildcardMatch.h"

#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <vector>

#include "zcad/zcut.h"

namespace vtcad::editor {
namespace {

enum class TokenKind { kLiteral, kAnyOne, kDigit, kLetter, kNonAlphanumeric, kAnySequence, kClass };

struct CharRange {
  wchar_t low = 0;
  wchar_t high = 0;
};

// One element of an alternative. Every kind but kAnySequence takes exactly one character.
struct Token {
  TokenKind kind = TokenKind::kLiteral;
  wchar_t literal = 0;
  bool negatedClass = false;
  std::vector<CharRange> ranges;
};

// The process locale may be "C", where the wide-character functions know only ASCII:
// letters and case come from a locale of our own (null when the system has no C.UTF-8).
locale_t unicodeLocale() {
  static const locale_t locale = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return locale;
}

bool isAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

bool isLetter(wchar_t c) {
  if (c <= 0x7F) return isAsciiLetter(c);
  const locale_t locale = unicodeLocale();
  return locale != static_cast<locale_t>(nullptr) && ::iswalpha_l(static_cast<wint_t>(c), locale) != 0;
}

std::wstring upperCase(std::wstring_view text) {
  std::wstring result(text);
  const locale_t locale = unicodeLocale();
  for (wchar_t& c : result) {
    if (locale != static_cast<locale_t>(nullptr)) {
      c = static_cast<wchar_t>(::towupper_l(static_cast<wint_t>(c), locale));
    } else if (c >= L'a' && c <= L'z') {
      c = static_cast<wchar_t>(c - L'a' + L'A');
    }
  }
  return result;
}

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

bool takesChar(const Token& token, wchar_t c) {
  switch (token.kind) {
    case TokenKind::kLiteral:
      return c == token.literal;
    case TokenKind::kAnyOne:
      return true;
    case TokenKind::kDigit:
      return isDigit(c);
    case TokenKind::kLetter:
      return isLetter(c);
    case TokenKind::kNonAlphanumeric:
      return !isDigit(c) && !isLetter(c);
    case TokenKind::kAnySequence:
      return false;
    case TokenKind::kClass: {
      const bool listed = std::any_of(token.ranges.begin(), token.ranges.end(),
                                      [c](const CharRange& r) { return c >= r.low && c <= r.high; });
      return listed != token.negatedClass;
    }
  }
  return false;
}

// Parses a bracket class starting at pattern[start] == '['. Returns the index just past its
// ']', or `start` when the class is never closed (the '[' is then an ordinary character).
// A ']' right after "[" or "[~" is a member, so "[]]" lists ']'.
size_t parseClass(std::wstring_view pattern, size_t start, Token& token) {
  token = Token{};
  token.kind = TokenKind::kClass;
  size_t i = start + 1;
  if (i < pattern.size() && pattern[i] == L'~') {
    token.negatedClass = true;
    ++i;
  }
  const size_t firstMember = i;
  struct Member {
    wchar_t c = 0;
    bool escaped = false;
  };
  std::vector<Member> members;
  while (i < pattern.size()) {
    Member member{pattern[i]};
    if (member.c == L']' && i != firstMember) {
      // Ranges: "a-z" among the members; a '-' first, last or escaped is itself a member.
      for (size_t m = 0; m < members.size(); ++m) {
        if (m + 2 < members.size() && members[m + 1].c == L'-' && !members[m + 1].escaped) {
          const wchar_t a = members[m].c, b = members[m + 2].c;
          token.ranges.push_back({std::min(a, b), std::max(a, b)});
          m += 2;
        } else {
          token.ranges.push_back({members[m].c, members[m].c});
        }
      }
      return i + 1;
    }
    if (member.c == L'`' && i + 1 < pattern.size()) member = {pattern[++i], /*escaped=*/true};
    members.push_back(member);
    ++i;
  }
  return start;
}

// Classic wildcard matching with one backtracking point: when a token fails, the last '*'
// takes one more character. Correct because every other token takes exactly one character.
bool matchTokens(std::wstring_view text, const std::vector<Token>& tokens) {
  size_t t = 0, p = 0;
  size_t starToken = tokens.size(), starText = 0;
  while (t < text.size()) {
    if (p < tokens.size() && tokens[p].kind == TokenKind::kAnySequence) {
      starToken = p++;
      starText = t;
    } else if (p < tokens.size() && takesChar(tokens[p], text[t])) {
      ++p;
      ++t;
    } else if (starToken < tokens.size()) {
      p = starToken + 1;
      t = ++starText;
    } else {
      return false;
    }
  }
  while (p < tokens.size() && tokens[p].kind == TokenKind::kAnySequence) ++p;
  return p == tokens.size();
}

}  // namespace

bool wildcardMatches(std::wstring_view text, std::wstring_view pattern) {
  size_t i = 0;
  // Each pass reads one alternative (up to an unescaped ',' outside brackets) and tries it.
  while (true) {
    std::vector<Token> tokens;
    bool negated = false;
    if (i < pattern.size() && pattern[i] == L'~') {
      negated = true;
      ++i;
    }
    bool lastAlternative = true;
    while (i < pattern.size()) {
      const wchar_t c = pattern[i];
      if (c == L',') {
        lastAlternative = false;
        ++i;
        break;
      }
      Token token;
      switch (c) {
        case L'`':
          // A trailing '`' escapes nothing and stands for itself.
          token.literal = i + 1 < pattern.size() ? pattern[++i] : c;
          break;
        case L'#':
          token.kind = TokenKind::kDigit;
          break;
        case L'@':
          token.kind = TokenKind::kLetter;
          break;
        case L'.':
          token.kind = TokenKind::kNonAlphanumeric;
          break;
        case L'?':
          token.kind = TokenKind::kAnyOne;
          break;
        case L'*':
          token.kind = TokenKind::kAnySequence;
          break;
        case L'[': {
          const size_t end = parseClass(pattern, i, token);
          if (end != i) {
            tokens.push_back(std::move(token));
            i = end;
            continue;
          }
          token = Token{};
          token.literal = c;
          break;
        }
        default:
          token.literal = c;
          break;
      }
      tokens.push_back(std::move(token));
      ++i;
    }
    if (matchTokens(text, tokens) != negated) return true;
    if (lastAlternative) return false;
  }
}

bool wildcardMatchesIgnoringCase(std::wstring_view text, std::wstring_view pattern) {
  return wildcardMatches(upperCase(text), upperCase(pattern));
}

}  // namespace vtcad::editor

int zcutWcMatch(const ZTCHAR* string, const ZTCHAR* pattern) {
  if (!string || !pattern) return RTERROR;
  return vtcad::editor::wildcardMatches(string, pattern) ? RTNORM : RTERROR;
}
