#include "database/MTextParser.h"

#include <cmath>
#include <cwchar>
#include <cwctype>

#include "database/TextCodes.h"

namespace vtcad::db {
namespace {

class Parser {
 public:
  Parser(std::wstring_view text, double height, double widthFactor) : text_(text) {
    MTextFormat initial;
    initial.height = height;
    initial.widthFactor = widthFactor;
    current_ = initial;
    result_.formats.push_back(initial);
  }

  MTextContents run() {
    while (pos_ < text_.size()) step();
    return std::move(result_);
  }

 private:
  void step() {
    const wchar_t ch = text_[pos_];
    char32_t drawn = 0;
    if (consumePercentCode(text_, pos_, drawn)) {
      if (drawn != 0) addChar(drawn);
      return;
    }
    ++pos_;
    switch (ch) {
      case L'{':
        groups_.push_back(current_);
        return;
      case L'}':
        if (!groups_.empty()) {
          current_ = groups_.back();
          groups_.pop_back();
        }
        return;
      case L'\\':
        escape();
        return;
      case L'\n':
        add(MTextItem::Kind::kParagraphBreak);
        return;
      case L'\r':
        return;
      case L'\t':
        add(MTextItem::Kind::kTab);
        return;
      case L' ':
        add(MTextItem::Kind::kSpace);
        return;
      case L'\u00A0':
        add(MTextItem::Kind::kNoBreakSpace);
        return;
      default:
        addChar(static_cast<char32_t>(ch));
    }
  }

  void escape() {
    if (pos_ >= text_.size()) {
      addChar(U'\\');  // a backslash that ends the contents is text
      return;
    }
    const wchar_t code = text_[pos_++];
    switch (code) {
      case L'P':
      case L'N':
      case L'X':
        add(MTextItem::Kind::kParagraphBreak);
        return;
      case L'~':
        add(MTextItem::Kind::kNoBreakSpace);
        return;
      case L'\\':
      case L'{':
      case L'}':
        addChar(static_cast<char32_t>(code));
        return;
      case L'f':
      case L'F': {
        std::wstring name = argument();
        name = name.substr(0, name.find_first_of(L"|,"));
        current_.typeface = code == L'f' ? name : std::wstring();
        current_.fontFile = code == L'F' ? name : std::wstring();
        return;
      }
      case L'H':
        scaled(current_.height, /*base=*/current_.height);
        return;
      case L'W':
        scaled(current_.widthFactor, /*base=*/current_.widthFactor);
        return;
      case L'T':
        scaled(current_.tracking, /*base=*/current_.tracking);
        return;
      case L'S':
        stack();
        return;
      case L'U':
        unicode();
        return;
      case L'M':
        multibyte();
        return;
      case L'C':
      case L'c':
        color(code == L'c');
        return;
      case L'Q':
      case L'A':
      case L'p':
        argument();
        return;
      case L'L':
      case L'l':
      case L'O':
      case L'o':
      case L'K':
      case L'k':
        return;
      default:
        // Not a code: both characters are text.
        addChar(U'\\');
        addChar(static_cast<char32_t>(code));
    }
  }

  // Text up to the next ';' (consumed), or to the end.
  std::wstring argument() {
    const size_t end = text_.find(L';', pos_);
    const size_t stop = end == std::wstring_view::npos ? text_.size() : end;
    std::wstring arg(text_.substr(pos_, stop - pos_));
    pos_ = end == std::wstring_view::npos ? text_.size() : end + 1;
    return arg;
  }

  // "\Cn;" an index 0..256, "\cn;" a 24-bit colour; anything else leaves the colour as it is.
  void color(bool trueColor) {
    const std::wstring arg = argument();
    wchar_t* end = nullptr;
    const long number = std::wcstol(arg.c_str(), &end, 10);
    if (arg.empty() || end != arg.c_str() + arg.size()) return;
    if (trueColor && number >= 0 && number <= 0xFFFFFF) {
      current_.trueColor = number;
    } else if (!trueColor && number >= 0 && number <= 256) {
      current_.colorIndex = static_cast<int>(number);
      current_.trueColor = -1;
    }
  }

  // "\Hn;" sets an absolute value, "\Hnx;" multiplies `base`. Values that are not positive
  // and finite are ignored (the format stays as it was).
  void scaled(double& value, double base) {
    std::wstring arg = argument();
    const bool relative = !arg.empty() && (arg.back() == L'x' || arg.back() == L'X');
    if (relative) arg.pop_back();
    wchar_t* end = nullptr;
    const double number = std::wcstod(arg.c_str(), &end);
    if (arg.empty() || end != arg.c_str() + arg.size() || !std::isfinite(number) || number <= 0.0) return;
    const double result = relative ? base * number : number;
    if (std::isfinite(result) && result > 0.0) value = result;
  }

  void stack() {
    // The argument may hold escaped separators ("\/", "\^", "\#", "\;").
    std::u32string parts[2];
    char32_t separator = 0;
    int part = 0;
    while (pos_ < text_.size() && text_[pos_] != L';') {
      wchar_t ch = text_[pos_++];
      if (ch == L'\\' && pos_ < text_.size()) {
        parts[part].push_back(static_cast<char32_t>(text_[pos_++]));
        continue;
      }
      if (part == 0 && (ch == L'/' || ch == L'#' || ch == L'^')) {
        separator = static_cast<char32_t>(ch);
        part = 1;
        continue;
      }
      parts[part].push_back(static_cast<char32_t>(ch));
    }
    if (pos_ < text_.size()) ++pos_;  // the ';'
    MTextItem item;
    item.kind = MTextItem::Kind::kStack;
    item.stackTop = decodeParts(parts[0]);
    item.stackBottom = decodeParts(parts[1]);
    item.stackSeparator = separator;
    push(std::move(item));
  }

  static std::u32string decodeParts(const std::u32string& part) {
    std::wstring wide(part.begin(), part.end());
    return decodeTextCodes(wide);
  }

  // Up to `maxDigits` hexadecimal digits at pos_; -1 when there is none.
  long hexNumber(size_t maxDigits) {
    long value = 0;
    size_t digits = 0;
    while (pos_ < text_.size() && digits < maxDigits && std::iswxdigit(static_cast<wint_t>(text_[pos_]))) {
      const wchar_t d = text_[pos_++];
      value = value * 16 + (std::iswdigit(static_cast<wint_t>(d)) ? d - L'0' : std::towlower(d) - L'a' + 10);
      ++digits;
    }
    return digits == 0 ? -1 : value;
  }

  void unicode() {
    if (pos_ >= text_.size() || text_[pos_] != L'+') {
      addChar(U'\\');
      addChar(U'U');
      return;
    }
    ++pos_;
    const long value = hexNumber(/*maxDigits=*/4);
    if (value > 0) addChar(static_cast<char32_t>(value));
  }

  void multibyte() {
    // "\M+nXXXX": the code page digit n, then the double-byte code, which we cannot map
    // without the code page's table; it is almost always an ideograph.
    if (pos_ < text_.size() && text_[pos_] == L'+') ++pos_;
    if (pos_ < text_.size() && std::iswdigit(static_cast<wint_t>(text_[pos_]))) ++pos_;
    if (hexNumber(/*maxDigits=*/4) >= 0) addChar(U'\u4E2D');
  }

  void addChar(char32_t ch) {
    MTextItem item;
    item.kind = MTextItem::Kind::kChar;
    item.ch = ch;
    push(std::move(item));
  }

  void add(MTextItem::Kind kind) {
    MTextItem item;
    item.kind = kind;
    push(std::move(item));
  }

  void push(MTextItem item) {
    if (!(result_.formats.back() == current_)) result_.formats.push_back(current_);
    item.format = static_cast<int>(result_.formats.size()) - 1;
    result_.items.push_back(std::move(item));
  }

  std::wstring_view text_;
  size_t pos_ = 0;
  MTextFormat current_;
  std::vector<MTextFormat> groups_;
  MTextContents result_;
};

}  // namespace

std::wstring MTextContents::plainText() const {
  std::wstring plain;
  auto append = [&plain](const std::u32string& part) {
    for (char32_t ch : part) plain.push_back(static_cast<wchar_t>(ch));
  };
  for (const MTextItem& item : items) {
    switch (item.kind) {
      case MTextItem::Kind::kChar:
        plain.push_back(static_cast<wchar_t>(item.ch));
        break;
      case MTextItem::Kind::kSpace:
      case MTextItem::Kind::kNoBreakSpace:
        plain.push_back(L' ');
        break;
      case MTextItem::Kind::kTab:
        plain.push_back(L'\t');
        break;
      case MTextItem::Kind::kParagraphBreak:
        plain.push_back(L'\n');
        break;
      case MTextItem::Kind::kStack:
        append(item.stackTop);
        plain.push_back(static_cast<wchar_t>(item.stackSeparator ? item.stackSeparator : U'/'));
        append(item.stackBottom);
        break;
    }
  }
  return plain;
}

MTextContents parseMText(std::wstring_view contents, double height, double widthFactor) {
  return Parser(contents, height, widthFactor).run();
}

}  // namespace vtcad::db
