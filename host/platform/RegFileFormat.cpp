// Reading and writing registry files (regedit's export format, version 5.00).
#include "platform/RegFileFormat.h"

#include <algorithm>

#include "platform/TextEncoding.h"

namespace vtcad::platform {

namespace {

constexpr std::wstring_view kHeader = L"Windows Registry Editor Version 5.00";
// The format of Windows 95 and NT 4; the lines that follow read the same.
constexpr std::wstring_view kOldHeader = L"REGEDIT4";
constexpr size_t kRawBytesPerLine = 25;

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring_view trimLeft(std::wstring_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::wstring_view trimRight(std::wstring_view text) {
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::wstring_view trim(std::wstring_view text) { return trimRight(trimLeft(text)); }

bool startsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    wchar_t c = text[i];
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

int hexValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// 1 to `maxDigits` hex digits and nothing else.
std::optional<std::uint32_t> parseHexNumber(std::wstring_view digits, size_t maxDigits) {
  if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
  std::uint32_t value = 0;
  for (wchar_t c : digits) {
    int d = hexValue(c);
    if (d < 0) return std::nullopt;
    value = (value << 4) | static_cast<std::uint32_t>(d);
  }
  return value;
}

std::wstring hexDigits(std::uint32_t value, int width) {
  static constexpr wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring out;
  do {
    out.insert(out.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  if (static_cast<int>(out.size()) < width) out.insert(0, static_cast<size_t>(width) - out.size(), L'0');
  return out;
}

bool isControl(wchar_t c) { return (c >= 0 && c < 0x20 && c != L'\t') || c == 0x7F; }

std::wstring quote(std::wstring_view text) {
  std::wstring out = L"\"";
  for (wchar_t c : text) {
    if (c == L'\\' || c == L'"') out.push_back(L'\\');
    out.push_back(c);
  }
  out.push_back(L'"');
  return out;
}

// A quoted text starting at text[0] == '"': the text without its escapes and the position
// after the closing quote; nullopt when the quote is not closed. "\\" and "\"" are the
// escapes; a backslash before any other character stays as it is.
std::optional<std::pair<std::wstring, size_t>> readQuoted(std::wstring_view text) {
  std::wstring out;
  for (size_t i = 1; i < text.size(); ++i) {
    wchar_t c = text[i];
    if (c == L'"') return std::pair{std::move(out), i + 1};
    if (c == L'\\' && i + 1 < text.size() && (text[i + 1] == L'\\' || text[i + 1] == L'"')) c = text[++i];
    out.push_back(c);
  }
  return std::nullopt;
}

struct Line {
  std::wstring_view text;
  bool invalidEncoding = false;
};

class Reader {
 public:
  Reader(std::vector<Line> lines, const char* encoding) : lines_(std::move(lines)), encoding_(encoding) {}

  RegFileReadResult read() {
    if (!readHeader()) return std::move(result_);
    size_t i = 1;
    while (i < lines_.size()) i = readEntry(i);
    return std::move(result_);
  }

 private:
  enum class Section { kNone, kKey, kSkipped };

  void damaged(size_t index, std::string problem) {
    if (!result_.damage) result_.damage = RegFileDamage{index + 1, std::move(problem), /*damagedLines=*/0};
    ++result_.damage->damagedLines;
  }

  std::optional<std::string> lineProblem(const Line& line) const {
    if (line.invalidEncoding) return std::string("invalid ") + encoding_;
    if (line.text.size() > kMaxRegLineChars) return "a line longer than 1 MiB";
    if (std::any_of(line.text.begin(), line.text.end(), isControl)) return "a control character";
    return std::nullopt;
  }

  bool readHeader() {
    if (lines_.empty()) return true;
    const Line& first = lines_.front();
    if (lineProblem(first) || (trimRight(first.text) != kHeader && trimRight(first.text) != kOldHeader)) {
      damaged(/*index=*/0, "not a registry file: the first line is not \"" + encodeUtf8(kHeader) + "\"");
      return false;
    }
    return true;
  }

  // Reads the entry that starts at line `i`; returns the line after it.
  size_t readEntry(size_t i) {
    if (auto problem = lineProblem(lines_[i])) {
      damaged(i, *problem);
      return i + 1;
    }
    std::wstring_view text = trimLeft(lines_[i].text);
    if (text.empty() || text.front() == L';') return i + 1;  // blank line or comment
    if (text.front() == L'[') {
      readKey(i, text);
      return i + 1;
    }
    if (text.front() == L'"' || text.front() == L'@') return readValue(i, text);
    damaged(i, "neither a key, a value nor a comment");
    return i + 1;
  }

  void readKey(size_t i, std::wstring_view text) {
    section_ = Section::kSkipped;
    size_t close = text.rfind(L']');
    if (close == std::wstring_view::npos) return damaged(i, "a key without its closing ']'");
    if (!trim(text.substr(close + 1)).empty()) return damaged(i, "text after the key's closing ']'");
    std::wstring_view path = text.substr(1, close - 1);
    bool removal = !path.empty() && path.front() == L'-';
    if (removal) path.remove_prefix(1);
    if (!RegDocument::isValidKeyPath(path)) {
      return damaged(i,
                     "not a key: a key starts with HKEY_CURRENT_USER or another root and has no empty part");
    }
    if (removal) {
      if (path.find(L'\\') == std::wstring_view::npos) return damaged(i, "a root key cannot be deleted");
      // Values after a deleted key belong to nothing; regedit ignores them too.
      result_.document.removeKeyTree(path);
      return;
    }
    result_.document.addKey(path);
    key_ = std::wstring(path);
    section_ = Section::kKey;
  }

  size_t readValue(size_t i, std::wstring_view text) {
    RegValue value;
    size_t pos = 1;
    if (text.front() == L'"') {
      auto name = readQuoted(text);
      if (!name) {
        damaged(i, "a value name without its closing quote");
        return i + 1;
      }
      value.name = std::move(name->first);
      pos = name->second;
    }
    std::wstring_view rest = trimLeft(text.substr(pos));
    if (rest.empty() || rest.front() != L'=') {
      damaged(i, "no '=' after the value name");
      return i + 1;
    }
    std::wstring_view data = trimLeft(rest.substr(1));
    size_t next = i + 1;
    bool removal = false;
    if (startsWithNoCase(data, L"hex")) {
      std::wstring raw(data);
      std::wstring_view last = data;
      while (!trimRight(last).empty() && trimRight(last).back() == L'\\') {
        if (next >= lines_.size()) {
          damaged(i, "a value continued past the end of the file");
          return next;
        }
        if (auto problem = lineProblem(lines_[next])) {
          damaged(next, *problem);
          return next + 1;
        }
        last = lines_[next].text;
        ++next;
        raw.push_back(L'\n');
        raw.append(last);
        if (raw.size() > kMaxRegEntryChars) {
          damaged(i, "a value longer than 4 MiB");
          return next;
        }
      }
      if (!decodeRegRawData(raw)) {
        damaged(i, "bad hex data");
        return next;
      }
      value.kind = RegValue::Kind::kRaw;
      value.raw = std::move(raw);
    } else if (startsWithNoCase(data, L"dword:")) {
      auto number = parseHexNumber(trimRight(data.substr(6)), /*maxDigits=*/8);
      if (!number) {
        damaged(i, "bad dword data: 1 to 8 hex digits expected");
        return next;
      }
      value.kind = RegValue::Kind::kDword;
      value.dword = *number;
    } else if (!data.empty() && data.front() == L'"') {
      auto string = readQuoted(data);
      if (!string) {
        damaged(i, "a string without its closing quote");
        return next;
      }
      if (!trim(data.substr(string->second)).empty()) {
        damaged(i, "text after the string's closing quote");
        return next;
      }
      value.kind = RegValue::Kind::kString;
      value.text = std::move(string->first);
    } else if (trimRight(data) == L"-") {
      removal = true;
    } else {
      damaged(i, "unknown value data: a string, dword:, hex: or - expected");
      return next;
    }
    if (section_ == Section::kNone) {
      damaged(i, "a value before the first key");
    } else if (section_ == Section::kKey) {
      if (removal) {
        result_.document.removeValue(key_, value.name);
      } else {
        result_.document.setValue(key_, std::move(value));
      }
    }
    return next;
  }

  std::vector<Line> lines_;
  const char* encoding_;
  RegFileReadResult result_;
  Section section_ = Section::kNone;
  std::wstring key_;
};

// Splits decoded text into lines (LF or CR LF), marking those that held invalid bytes.
std::vector<Line> splitLines(const DecodedText& decoded) {
  std::vector<Line> lines;
  std::wstring_view text = decoded.text;
  auto invalid = decoded.invalidAt.begin();
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring_view::npos) end = text.size();
    Line line;
    line.text = text.substr(start, end - start);
    while (invalid != decoded.invalidAt.end() && *invalid < end) {
      line.invalidEncoding = true;
      ++invalid;
    }
    if (!line.text.empty() && line.text.back() == L'\r') line.text.remove_suffix(1);
    // The newline that ends the file does not start a line of its own.
    if (end == text.size() && line.text.empty() && start == text.size() && !lines.empty()) break;
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace

RegFileReadResult readRegFile(std::string_view bytes) {
  RegFileReadResult result;
  if (bytes.size() > kMaxRegFileBytes) {
    result.damage = RegFileDamage{/*line=*/1, "the file is larger than 64 MiB", /*damagedLines=*/1};
    return result;
  }
  const char* encoding = "UTF-8";
  DecodedText decoded;
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    decoded = decodeUtf8(bytes.substr(3));
  } else if (bytes.starts_with("\xFF\xFE")) {
    encoding = "UTF-16";
    decoded = decodeUtf16Le(bytes.substr(2));
  } else if (bytes.starts_with("\xFE\xFF")) {
    result.damage =
        RegFileDamage{/*line=*/1, "UTF-16 big-endian text, which is not read", /*damagedLines=*/1};
    return result;
  } else {
    decoded = decodeUtf8(bytes);
  }
  // An empty file (one a user created, say) is an empty store, not a damaged one.
  if (decoded.text.empty()) return result;
  std::vector<Line> lines = splitLines(decoded);
  return Reader(std::move(lines), encoding).read();
}

std::string writeRegFile(const RegDocument& document) {
  std::wstring out(kHeader);
  out += L"\n\n";
  for (const RegKeyContents& key : document.contents()) {
    out += L'[';
    out += key.path;
    out += L"]\n";
    for (const RegValue& value : key.values) {
      out += formatRegValue(value);
      out += L'\n';
    }
    out += L'\n';
  }
  return encodeUtf8(out);
}

std::wstring formatRegValue(const RegValue& value) {
  std::wstring out = value.name.empty() ? std::wstring(L"@") : quote(value.name);
  out += L'=';
  switch (value.kind) {
    case RegValue::Kind::kString:
      if (std::any_of(value.text.begin(), value.text.end(), isControl)) {
        out += makeStringValue(/*name=*/L"", value.text).raw;
      } else {
        out += quote(value.text);
      }
      break;
    case RegValue::Kind::kDword:
      out += L"dword:" + hexDigits(value.dword, /*width=*/8);
      break;
    case RegValue::Kind::kRaw:
      out += value.raw;
      break;
  }
  return out;
}

bool fitsRegFile(const RegValue& value) {
  std::wstring text = formatRegValue(value);
  if (text.size() > kMaxRegEntryChars) return false;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = std::min(text.find(L'\n', start), text.size());
    if (end - start > kMaxRegLineChars) return false;
    start = end + 1;
  }
  return true;
}

bool fitsRegFile(std::wstring_view keyPath) { return keyPath.size() + 2 <= kMaxRegLineChars; }

RegValue makeStringValue(std::wstring name, std::wstring_view text) {
  RegValue value;
  value.name = std::move(name);
  if (std::none_of(text.begin(), text.end(), isControl)) {
    value.kind = RegValue::Kind::kString;
    value.text = std::wstring(text);
    return value;
  }
  std::vector<std::uint8_t> bytes = encodeUtf16Le(text);
  bytes.insert(bytes.end(), {0, 0});
  value.kind = RegValue::Kind::kRaw;
  value.raw = encodeRegRawData(kRegSz, bytes);
  return value;
}

std::optional<RegRawData> decodeRegRawData(std::wstring_view raw) {
  if (!startsWithNoCase(raw, L"hex")) return std::nullopt;
  RegRawData data;
  size_t pos = 3;
  if (pos < raw.size() && raw[pos] == L'(') {
    size_t close = raw.find(L')', pos);
    if (close == std::wstring_view::npos) return std::nullopt;
    auto type = parseHexNumber(raw.substr(pos + 1, close - pos - 1), /*maxDigits=*/8);
    if (!type) return std::nullopt;
    data.type = *type;
    pos = close + 1;
  }
  if (pos >= raw.size() || raw[pos] != L':') return std::nullopt;
  raw.remove_prefix(pos + 1);
  // The lines of the value joined: every line but the last ends with a backslash.
  std::wstring joined;
  while (true) {
    size_t end = raw.find(L'\n');
    std::wstring_view piece = trim(raw.substr(0, end));
    bool continued = !piece.empty() && piece.back() == L'\\';
    if (continued != (end != std::wstring_view::npos)) return std::nullopt;
    if (continued) piece = trimRight(piece.substr(0, piece.size() - 1));
    joined.append(piece);
    if (end == std::wstring_view::npos) break;
    raw.remove_prefix(end + 1);
  }
  std::wstring_view bytes = joined;
  data.bytes.reserve(bytes.size() / 3 + 1);
  while (true) {
    size_t comma = bytes.find(L',');
    std::wstring_view token = trim(bytes.substr(0, comma));
    if (token.empty()) {
      // Nothing at all ("hex:") or after a last comma ("hex:01,02,") holds no byte.
      if (comma != std::wstring_view::npos) return std::nullopt;
      break;
    }
    auto byte = parseHexNumber(token, /*maxDigits=*/2);
    if (!byte) return std::nullopt;
    data.bytes.push_back(static_cast<std::uint8_t>(*byte));
    if (comma == std::wstring_view::npos) break;
    bytes.remove_prefix(comma + 1);
  }
  return data;
}

std::wstring encodeRegRawData(std::uint32_t type, std::span<const std::uint8_t> bytes) {
  std::wstring out =
      type == kRegBinary ? std::wstring(L"hex:") : L"hex(" + hexDigits(type, /*width=*/1) + L"):";
  out.reserve(out.size() + bytes.size() * 3 + bytes.size() / kRawBytesPerLine * 4);
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) {
      out += L',';
      if (i % kRawBytesPerLine == 0) out += L"\\\n  ";
    }
    out += hexDigits(bytes[i], /*width=*/2);
  }
  return out;
}

}  // namespace vtcad::platform
