#include "dxf/DxfTagReader.h"

#include <cassert>
#include <charconv>
#include <cstring>
#include <optional>

#include "dxf/DxfCarets.h"
#include "dxf/DxfGroupCode.h"

namespace vtcad::dxf {
namespace {

// One trailing carriage return belongs to the line end, not to the value.
std::string_view stripCr(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

std::string formatDouble(double value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

template <typename T>
T readLittleEndian(const unsigned char* bytes) {
  std::make_unsigned_t<T> value = 0;
  for (size_t i = 0; i < sizeof(T); ++i) value |= static_cast<std::make_unsigned_t<T>>(bytes[i]) << (8 * i);
  return static_cast<T>(value);
}

// A code line as writers write it: blanks, at most five digits (a sign before them), the
// line end. Its code and where the next line starts; nullopt for any other line (tabs,
// trailing blanks, no code, a code out of range), which the general way reads.
struct CodeLine {
  int code;
  size_t next;
};
std::optional<CodeLine> usualCodeLine(std::string_view data, size_t pos) {
  const char* const end = data.data() + data.size();
  const char* q = data.data() + pos;
  while (q < end && *q == ' ') ++q;
  const bool negative = q < end && *q == '-';
  if (negative) ++q;
  const char* const digits = q;
  int code = 0;
  while (q < end && q - digits < 5 && static_cast<unsigned char>(*q - '0') < 10)
    code = code * 10 + (*q++ - '0');
  if (negative) code = -code;
  const char* lineEnd = q;
  if (lineEnd < end && *lineEnd == '\r') ++lineEnd;
  if (q == digits || lineEnd == end || *lineEnd != '\n' || code < -5 || code > 1071) return std::nullopt;
  return CodeLine{code, static_cast<size_t>(lineEnd - data.data()) + 1};
}

}  // namespace

TagReader::TagReader(std::string_view data) : data_(data) {
  if (data_.size() >= kBinarySentinel.size() && data_.substr(0, kBinarySentinel.size()) == kBinarySentinel) {
    binary_ = true;
    pos_ = kBinarySentinel.size();
    // The first group is (0, "SECTION"): a zero second byte means two-byte group codes
    // (R13 and later); R12 binary files use one byte.
    twoByteCodes_ = data_.size() > pos_ + 1 && data_[pos_ + 1] == '\0';
  } else if (data_.substr(0, 3) == "\xEF\xBB\xBF") {
    pos_ = 3;  // a byte-order mark before the first group
  }
}

bool TagReader::fail(std::uint32_t line, std::string message) {
  error_ = ReadError{line, std::move(message)};
  pos_ = data_.size();
  return false;
}

std::string_view TagReader::store(std::string text) {
  arena_.push_back(std::move(text));
  return arena_.back();
}

void TagReader::pushBack() { pushedBack_ = true; }

void TagReader::resumeAt(size_t offset, std::uint32_t linesBefore) {
  assert(!binary_ && offset <= data_.size());
  pos_ = offset;
  line_ = linesBefore;
  pushedBack_ = false;
}

bool TagReader::next(Tag& tag) {
  if (pushedBack_) {
    pushedBack_ = false;
    tag = last_;
    return true;
  }
  if (error_) return false;
  bool ok = binary_ ? nextBinary(tag) : nextAscii(tag);
  if (ok) last_ = tag;
  return ok;
}

bool TagReader::nextAscii(Tag& tag) {
  const char* base = data_.data();
  const size_t size = data_.size();
  if (pos_ >= size) return false;

  lastStart_ = pos_;
  const std::uint32_t codeLine = ++line_;
  int code = 0;
  size_t valuePos = 0;  // where the value line starts
  if (const std::optional<CodeLine> usual = usualCodeLine(data_, pos_)) {
    code = usual->code;
    valuePos = usual->next;
  } else {
    // Any other code line: blanks and tabs around it, a carriage return, or no code at all.
    const char* codeEnd = static_cast<const char*>(std::memchr(base + pos_, '\n', size - pos_));
    size_t codeEndPos = codeEnd ? static_cast<size_t>(codeEnd - base) : size;
    std::string_view codeText = trimBlanks(stripCr(data_.substr(pos_, codeEndPos - pos_)));
    if (codeText.empty()) {
      // Blank lines after the last group end the file; elsewhere they are a missing code.
      size_t rest = pos_;
      while (rest < size && (base[rest] == '\n' || base[rest] == '\r' || base[rest] == ' ' ||
                             base[rest] == '\t' || base[rest] == '\x1a' || base[rest] == '\0'))
        ++rest;
      if (rest >= size) {
        pos_ = size;
        return false;
      }
      return fail(codeLine, "empty group code line");
    }
    auto [end, ec] = std::from_chars(codeText.data(), codeText.data() + codeText.size(), code);
    if (ec != std::errc() || end != codeText.data() + codeText.size() || code < -5 || code > 1071) {
      std::string shown(codeText.substr(0, 40));
      return fail(codeLine, "invalid group code \"" + shown + "\"");
    }
    valuePos = codeEnd ? codeEndPos + 1 : size;
  }

  // Value line (may be empty, may hold any bytes but a line end).
  if (valuePos >= size)
    return fail(codeLine, "group code " + std::to_string(code) + " has no value: the file ends here");
  const char* valueEnd = static_cast<const char*>(std::memchr(base + valuePos, '\n', size - valuePos));
  const size_t valueEndPos = valueEnd ? static_cast<size_t>(valueEnd - base) : size;
  tag.code = code;
  tag.line = codeLine;
  tag.value = stripCr(data_.substr(valuePos, valueEndPos - valuePos));
  ++line_;
  pos_ = valueEnd ? valueEndPos + 1 : size;
  return true;
}

bool TagReader::nextBinary(Tag& tag) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(data_.data());
  const size_t size = data_.size();
  if (pos_ >= size) return false;
  const auto offset = static_cast<std::uint32_t>(pos_);
  auto need = [&](size_t n) { return pos_ + n <= size; };

  int code = 0;
  if (twoByteCodes_) {
    if (!need(2)) return fail(offset, "binary group code cut off: the file ends here");
    code = readLittleEndian<std::int16_t>(bytes + pos_);
    pos_ += 2;
  } else {
    code = bytes[pos_++];
    if (code == 255) {
      if (!need(2)) return fail(offset, "binary group code cut off: the file ends here");
      code = readLittleEndian<std::int16_t>(bytes + pos_);
      pos_ += 2;
    }
  }
  tag.code = code;
  tag.line = offset;
  ++line_;

  switch (valueTypeOf(code)) {
    case ValueType::kString: {
      const void* zero = std::memchr(bytes + pos_, 0, size - pos_);
      if (!zero)
        return fail(offset, "unterminated text of group " + std::to_string(code) + ": the file ends here");
      size_t end = static_cast<const unsigned char*>(zero) - bytes;
      tag.value = data_.substr(pos_, end - pos_);
      // Binary text holds control characters as they are; values are kept as an ASCII
      // file writes them.
      if (needsCarets(tag.value, Carets::kAll)) tag.value = store(withCarets(tag.value, Carets::kAll));
      pos_ = end + 1;
      return true;
    }
    case ValueType::kDouble:
      if (!need(8)) return fail(offset, "real value of group " + std::to_string(code) + " cut off");
      {
        std::uint64_t raw = readLittleEndian<std::uint64_t>(bytes + pos_);
        double value;
        std::memcpy(&value, &raw, sizeof value);
        tag.value = store(formatDouble(value));
      }
      pos_ += 8;
      return true;
    case ValueType::kInt16:
      if (!need(2)) return fail(offset, "integer value of group " + std::to_string(code) + " cut off");
      tag.value = store(std::to_string(readLittleEndian<std::int16_t>(bytes + pos_)));
      pos_ += 2;
      return true;
    case ValueType::kInt32:
      if (!need(4)) return fail(offset, "integer value of group " + std::to_string(code) + " cut off");
      tag.value = store(std::to_string(readLittleEndian<std::int32_t>(bytes + pos_)));
      pos_ += 4;
      return true;
    case ValueType::kInt64:
      if (!need(8)) return fail(offset, "integer value of group " + std::to_string(code) + " cut off");
      tag.value = store(std::to_string(readLittleEndian<std::int64_t>(bytes + pos_)));
      pos_ += 8;
      return true;
    case ValueType::kBool:
      if (!need(1)) return fail(offset, "flag value of group " + std::to_string(code) + " cut off");
      tag.value = store(std::to_string(bytes[pos_]));
      pos_ += 1;
      return true;
    case ValueType::kBinary: {
      if (!need(1)) return fail(offset, "binary chunk of group " + std::to_string(code) + " cut off");
      size_t length = bytes[pos_++];
      if (!need(length)) return fail(offset, "binary chunk of group " + std::to_string(code) + " cut off");
      static constexpr char kHex[] = "0123456789ABCDEF";
      std::string hex;
      hex.reserve(length * 2);
      for (size_t i = 0; i < length; ++i) {
        hex.push_back(kHex[bytes[pos_ + i] >> 4]);
        hex.push_back(kHex[bytes[pos_ + i] & 15]);
      }
      pos_ += length;
      tag.value = store(std::move(hex));
      return true;
    }
    case ValueType::kUnknown:
      break;
  }
  return fail(offset, "unknown group code " + std::to_string(code) + " in a binary file");
}

}  // namespace vtcad::dxf
