#include "dxf/DxfTagWriter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "dxf/DxfCarets.h"
#include "dxf/DxfGroupCode.h"

namespace vtcad::dxf {
namespace {

// Most reals of a drawing are short decimals (millimetres, 12.5, 0.25, a vertex of a few
// decimals more). Such a value is written from the integer of its digits, which costs a
// fraction of the general shortest conversion; 0 when the value is not one (then the general
// conversion writes it). The decimals of `places` places are further apart than a double's
// rounding interval is wide wherever they carry fewer than 15 digits, so the one that reads
// back is the only one, and with its trailing zeros dropped it is the shortest decimal that
// does: the same digits the general conversion finds.
size_t shortDecimalInto(char* buffer, double value) {
  const double magnitude = std::fabs(value);
  int places = 0;
  double scale = 0.0;  // 10^places, exact as a double
  if (magnitude >= 1e6 && magnitude < 1e9) {
    places = 6, scale = 1e6;
  } else if (magnitude >= 1e3 && magnitude < 1e6) {
    places = 9, scale = 1e9;
  } else if (magnitude >= 1.0 && magnitude < 1e3) {
    places = 12, scale = 1e12;
  } else if (magnitude >= 1e-3 && magnitude < 1.0) {
    places = 15, scale = 1e15;
  } else if (magnitude >= 1e-6 && magnitude < 1e-3) {
    places = 18, scale = 1e18;
  } else {
    return 0;  // zero, and the very large and very small: the general conversion writes them
  }
  // Rounded by adding a half (the test after it makes any rounding safe), not by a call.
  auto integer = static_cast<std::uint64_t>(magnitude * scale + 0.5);  // at least 1, below 1e15
  if (static_cast<double>(integer) / scale != magnitude) return 0;
  int exponent = -places;  // magnitude = integer * 10^exponent
  // Trailing zeros dropped eight, four, two and one at a time: a short decimal has up to 17,
  // and after the eights at most seven are left, so each smaller step runs once at most. The
  // divisors are constants, which the compiler turns into multiplications.
  while (integer % 100000000 == 0) {
    integer /= 100000000;
    exponent += 8;
  }
  if (integer % 10000 == 0) integer /= 10000, exponent += 4;
  if (integer % 100 == 0) integer /= 100, exponent += 2;
  if (integer % 10 == 0) integer /= 10, exponent += 1;
  char digits[24];
  const int n = static_cast<int>(std::to_chars(digits, digits + sizeof digits, integer).ptr - digits);
  // As the general conversion chooses: plain notation unless the exponent form is shorter.
  // The exponent lies within -6..8 here, so it takes two digits.
  const int scientificExponent = n - 1 + exponent;
  const int scientificLength = n + (n > 1 ? 1 : 0) + 4;
  const int plainLength = exponent >= 0 ? n + exponent : (n + exponent > 0 ? n + 1 : 2 - exponent);
  char* out = buffer;
  if (value < 0) *out++ = '-';
  if (plainLength <= scientificLength) {
    if (exponent >= 0) {
      out = std::copy(digits, digits + n, out);
      out = std::fill_n(out, exponent, '0');
      *out++ = '.';  // a whole number is still written as a real
      *out++ = '0';
    } else if (n + exponent > 0) {
      out = std::copy(digits, digits + n + exponent, out);
      *out++ = '.';
      out = std::copy(digits + n + exponent, digits + n, out);
    } else {
      *out++ = '0';
      *out++ = '.';
      out = std::fill_n(out, -exponent - n, '0');
      out = std::copy(digits, digits + n, out);
    }
  } else {
    *out++ = digits[0];
    if (n > 1) {
      *out++ = '.';
      out = std::copy(digits + 1, digits + n, out);
    }
    *out++ = 'e';
    *out++ = scientificExponent < 0 ? '-' : '+';
    *out++ = '0';
    *out++ = static_cast<char>('0' + std::abs(scientificExponent));
  }
  return static_cast<size_t>(out - buffer);
}

size_t formatRealInto(char* buffer, size_t capacity, double value) {
  // Non-finite values never enter the database; a 0 keeps the file readable if one slips by.
  // Zero (either sign: no "-0") is the most common value of all, the Z of flat geometry.
  if (value == 0.0 || !std::isfinite(value)) {
    std::memcpy(buffer, "0.0", 3);
    return 3;
  }
  if (const size_t length = shortDecimalInto(buffer, value)) return length;
  size_t length = static_cast<size_t>(std::to_chars(buffer, buffer + capacity - 2, value).ptr - buffer);
  if (std::memchr(buffer, '.', length) == nullptr && std::memchr(buffer, 'e', length) == nullptr) {
    buffer[length++] = '.';
    buffer[length++] = '0';
  }
  return length;
}

}  // namespace

std::string formatReal(double value) {
  char buffer[48];
  return std::string(buffer, formatRealInto(buffer, sizeof buffer, value));
}

namespace {

// Writes the code right-aligned in three columns and its line end; the end of what it wrote.
constexpr char* codeLineInto(char* out, int code) {
  char digits[16] = {};
  int n = 0;
  const bool negative = code < 0;
  for (auto rest = static_cast<unsigned>(negative ? -static_cast<long long>(code) : code);
       n == 0 || rest != 0; rest /= 10) {
    digits[n++] = static_cast<char>('0' + rest % 10);
  }
  if (negative) digits[n++] = '-';
  for (int pad = n; pad < 3; ++pad) *out++ = ' ';
  while (n > 0) *out++ = digits[--n];
  *out++ = '\r';
  *out++ = '\n';
  return out;
}

}  // namespace

namespace detail {
// Constant-initialised, so no guard is tested per group.
constexpr std::array<CodeText, kCodeCount> kCodeTexts = [] {
  std::array<CodeText, kCodeCount> all{};
  for (int code = 0; code < kCodeCount; ++code) {
    CodeText& entry = all[static_cast<size_t>(code)];
    entry.length = static_cast<std::uint8_t>(codeLineInto(entry.text, code) - entry.text);
  }
  return all;
}();
}  // namespace detail

void TagWriter::setSink(std::function<bool(std::string_view)> sink, size_t chunk) {
  sink_ = std::move(sink);
  chunk_ = chunk;
  reserve(chunk + 4096);
}

void TagWriter::reserve(size_t bytes) { out_.reserve(bytes); }

void TagWriter::grow(size_t bytes) {
  // Grown a little at a time within what was reserved (resizing writes the new part once, as
  // appending would), and by the string's own doubling beyond it.
  out_.resize(used_ + bytes + (size_t{1} << 16));
}

char* TagWriter::codeOutsideTable(char* at, int groupCode) {
  // Codes outside the format's range (-1 to -5 of the format's own use, a damaged file's).
  return codeLineInto(at, groupCode);
}

void TagWriter::append(std::string_view groups) {
  if (sink_) {
    // Handed on as it is: a piece of text is already about a chunk.
    flush();
    if (!failed_ && !groups.empty()) failed_ = !sink_(groups);
    return;
  }
  std::memcpy(room(groups.size()), groups.data(), groups.size());
  used_ += groups.size();
}

std::string TagWriter::take() {
  out_.resize(used_);
  used_ = 0;
  return std::move(out_);
}

bool TagWriter::flush() {
  if (sink_ && !failed_ && used_ > 0) failed_ = !sink_(data());
  if (sink_) used_ = 0;
  return !failed_;
}

void TagWriter::write(int groupCode, std::string_view text) {
  // A line end inside a value (text set through the API, a lone CR of a file) would shift
  // every group after it by a line. In text it is written as a caret pair; after a number
  // (a file whose lines end in CR CR LF) it is padding, and left out.
  if (!needsCarets(text, Carets::kLineEnds)) {
    char* at = begin(groupCode, text.size());
    end(std::copy(text.begin(), text.end(), at));
  } else if (const ValueType type = valueTypeOf(groupCode);
             type == ValueType::kString || type == ValueType::kUnknown) {
    const std::string escaped = withCarets(text, Carets::kLineEnds);
    char* at = begin(groupCode, escaped.size());
    end(std::copy(escaped.begin(), escaped.end(), at));
  } else {
    char* at = begin(groupCode, text.size());
    for (char c : text) {
      if (c != '\r' && c != '\n') *at++ = c;
    }
    end(at);
  }
}

void TagWriter::writeDouble(int groupCode, double value) {
  constexpr size_t kMost = 48;  // "-1.2345678901234567e-308" and the ".0" it may get
  char* at = begin(groupCode, kMost);
  end(at + formatRealInto(at, kMost, value));
}

void TagWriter::writeInt(int groupCode, std::int64_t value) {
  constexpr size_t kMost = 24;
  char* at = begin(groupCode, kMost);
  end(std::to_chars(at, at + kMost, value).ptr);
}

void TagWriter::writeHandle(int groupCode, std::uint64_t handle) {
  constexpr size_t kMost = 24;
  char* at = begin(groupCode, kMost);
  char* stop = std::to_chars(at, at + kMost, handle, 16).ptr;
  for (char* p = at; p < stop; ++p) {
    if (*p >= 'a' && *p <= 'f') *p = static_cast<char>(*p - 'a' + 'A');
  }
  end(stop);
}

void TagWriter::writePoint(int groupCode, double x, double y, double z) {
  writeDouble(groupCode, x);
  writeDouble(groupCode + 10, y);
  writeDouble(groupCode + 20, z);
}

void TagWriter::writePoint2d(int groupCode, double x, double y) {
  writeDouble(groupCode, x);
  writeDouble(groupCode + 10, y);
}

}  // namespace vtcad::dxf
