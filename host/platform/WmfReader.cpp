// One pass over the records with every count checked against the record that carries it.
#include "platform/WmfReader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "platform/WmfRecords.h"

namespace vtcad::platform {
namespace {

using namespace wmf;

constexpr int kEllipseChords = 64;

class Bytes {
 public:
  explicit Bytes(std::span<const std::uint8_t> data) : data_(data) {}
  std::size_t size() const { return data_.size(); }
  std::uint16_t word(std::size_t at) const {
    return static_cast<std::uint16_t>(data_[at] | (data_[at + 1] << 8));
  }
  std::int16_t signedWord(std::size_t at) const { return static_cast<std::int16_t>(word(at)); }
  std::uint32_t dword(std::size_t at) const {
    return word(at) | (static_cast<std::uint32_t>(word(at + 2)) << 16);
  }
  const std::uint8_t* at(std::size_t offset) const { return data_.data() + offset; }

 private:
  std::span<const std::uint8_t> data_;
};

std::string offsetText(std::size_t offset) { return " (byte " + std::to_string(offset) + ")"; }

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> data) : in_(data) {}

  std::variant<WmfContent, WmfError> run() {
    std::size_t at = 0;
    if (in_.size() >= 4 && in_.dword(0) == kPlaceableKey) {
      if (in_.size() < kPlaceableBytes) return fail("the placeable header is cut short", 0);
      WmfFrame& f = content_.picture.frame;
      f.left = in_.signedWord(6);
      f.top = in_.signedWord(8);
      f.right = in_.signedWord(10);
      f.bottom = in_.signedWord(12);
      content_.picture.unitsPerInch = in_.word(14);
      if (content_.picture.unitsPerInch == 0) return fail("the placeable header gives 0 units per inch", 14);
      content_.placeable = true;
      at = kPlaceableBytes;
    }
    if (in_.size() < at + kHeaderBytes) return fail("not a Windows metafile: the file is too short", at);
    const std::uint16_t type = in_.word(at), headerWords = in_.word(at + 2), version = in_.word(at + 4);
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300)) {
      return fail("not a Windows metafile: the header is not one", at);
    }
    at += kHeaderBytes;
    while (at + 6 <= in_.size()) {
      const std::uint32_t words = in_.dword(at);
      const std::uint16_t function = in_.word(at + 4);
      if (words < 3) return fail("a record is shorter than its own size field", at);
      if (words > (in_.size() - at) / 2) return fail("a record runs past the end of the file", at);
      if (function == kEof) break;
      record_ = at;
      params_ = at + 6;
      paramWords_ = words - 3;
      if (std::optional<WmfError> bad = readRecord(function)) return *bad;
      at += 2 * static_cast<std::size_t>(words);
    }
    endRun();
    if (!content_.placeable) frameFromWindow();
    return std::move(content_);
  }

 private:
  WmfError fail(const std::string& what, std::size_t offset) const { return {what + offsetText(offset)}; }

  bool has(std::size_t words) const { return paramWords_ >= words; }
  std::int16_t param(std::size_t index) const { return in_.signedWord(params_ + 2 * index); }
  WmfPoint pointAt(std::size_t index) const { return {param(index), param(index + 1)}; }

  std::optional<WmfError> budget(std::size_t points) {
    points_ += points;
    if (points_ > kMostWmfPoints) {
      return fail("the picture has more than " + std::to_string(kMostWmfPoints) + " points", record_);
    }
    return std::nullopt;
  }

  std::optional<WmfError> tooShort() const { return fail("a record is shorter than its fields", record_); }

  // Points from parameter `first` on: x, y pairs.
  std::vector<WmfPoint> points(std::size_t first, std::size_t count) const {
    std::vector<WmfPoint> out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) out.push_back(pointAt(first + 2 * i));
    return out;
  }

  void addPath(std::vector<WmfPoint> pts, bool closed) {
    if (pts.size() < 2) return;
    content_.picture.paths.push_back({std::move(pts), closed});
  }

  void endRun() {
    if (run_.size() >= 2) addPath(std::move(run_), /*closed=*/false);
    run_.clear();
  }

  std::optional<WmfError> readRecord(std::uint16_t function) {
    switch (function) {
      case kPolyline:
      case kPolygon: {
        if (!has(1)) return tooShort();
        const int count = param(0);
        if (count < 0 || !has(1 + 2 * static_cast<std::size_t>(count))) {
          return fail("a record's point count is more than it holds", record_);
        }
        if (auto bad = budget(count)) return bad;
        endRun();
        addPath(points(1, count), /*closed=*/function == kPolygon);
        return std::nullopt;
      }
      case kPolyPolygon: {
        if (!has(1)) return tooShort();
        const std::size_t polygons = static_cast<std::uint16_t>(param(0));
        if (!has(1 + polygons)) return fail("a poly-polygon's count is more than it holds", record_);
        std::size_t total = 0;
        for (std::size_t i = 0; i < polygons; ++i) total += static_cast<std::uint16_t>(param(1 + i));
        if (!has(1 + polygons + 2 * total))
          return fail("a poly-polygon's points are more than it holds", record_);
        if (auto bad = budget(total)) return bad;
        endRun();
        std::size_t next = 1 + polygons;
        for (std::size_t i = 0; i < polygons; ++i) {
          const std::size_t count = static_cast<std::uint16_t>(param(1 + i));
          addPath(points(next, count), /*closed=*/true);
          next += 2 * count;
        }
        return std::nullopt;
      }
      case kMoveTo:
        if (!has(2)) return tooShort();
        endRun();
        run_.push_back({param(1), param(0)});
        position_ = run_.back();
        return std::nullopt;
      case kLineTo:
        if (!has(2)) return tooShort();
        if (auto bad = budget(1)) return bad;
        // A line from the current position: the origin when no MOVETO came first.
        if (run_.empty()) run_.push_back(position_);
        run_.push_back({param(1), param(0)});
        position_ = run_.back();
        return std::nullopt;
      case kRectangle:
      case kRoundRect: {
        // bottom, right, top, left last (ROUNDRECT's corner sizes come first).
        const std::size_t first = function == kRoundRect ? 2 : 0;
        if (!has(first + 4)) return tooShort();
        if (auto bad = budget(4)) return bad;
        endRun();
        const std::int16_t bottom = param(first), right = param(first + 1), top = param(first + 2),
                           left = param(first + 3);
        addPath({{left, top}, {right, top}, {right, bottom}, {left, bottom}}, /*closed=*/true);
        return std::nullopt;
      }
      case kEllipse: {
        if (!has(4)) return tooShort();
        if (auto bad = budget(kEllipseChords)) return bad;
        endRun();
        const double bottom = param(0), right = param(1), top = param(2), left = param(3);
        const double cx = (left + right) / 2, cy = (top + bottom) / 2, rx = (right - left) / 2,
                     ry = (bottom - top) / 2;
        std::vector<WmfPoint> ring;
        for (int i = 0; i < kEllipseChords; ++i) {
          const double a = 2.0 * std::numbers::pi * i / kEllipseChords;
          ring.push_back({static_cast<std::int16_t>(std::lround(cx + rx * std::cos(a))),
                          static_cast<std::int16_t>(std::lround(cy + ry * std::sin(a)))});
        }
        addPath(std::move(ring), /*closed=*/true);
        return std::nullopt;
      }
      case kSetWindowOrg:
        if (!has(2)) return tooShort();
        windowOrg_ = WmfPoint{param(1), param(0)};
        return std::nullopt;
      case kSetWindowExt:
        if (!has(2)) return tooShort();
        windowExt_ = WmfPoint{param(1), param(0)};
        return std::nullopt;
      case kEscape: {
        if (!has(2)) return tooShort();
        const std::size_t bytes = static_cast<std::uint16_t>(param(1));
        if (static_cast<std::uint16_t>(param(0)) != kMfComment || bytes != kScaleTagBytes + 8) {
          ++content_.skippedRecords;
          return std::nullopt;
        }
        if (!has(2 + (bytes + 1) / 2)) return fail("a comment is longer than its record", record_);
        const std::uint8_t* data = in_.at(params_ + 4);
        if (std::memcmp(data, kScaleTag, kScaleTagBytes) != 0) {
          ++content_.skippedRecords;
          return std::nullopt;
        }
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) bits |= static_cast<std::uint64_t>(data[kScaleTagBytes + i]) << (8 * i);
        double scale = 0.0;
        std::memcpy(&scale, &bits, sizeof scale);
        // A scale that is no size is ignored: the header's inches stand.
        if (std::isfinite(scale) && scale > 0.0) content_.picture.drawingUnitsPerLogical = scale;
        return std::nullopt;
      }
      default:
        ++content_.skippedRecords;
        return std::nullopt;
    }
  }

  // Without a placeable header the window is the frame; without a window, the points' box.
  void frameFromWindow() {
    WmfFrame& f = content_.picture.frame;
    if (windowExt_) {
      const WmfPoint o = windowOrg_.value_or(WmfPoint{});
      f = {o.x, o.y, static_cast<std::int16_t>(std::clamp(o.x + windowExt_->x, -32768, 32767)),
           static_cast<std::int16_t>(std::clamp(o.y + windowExt_->y, -32768, 32767))};
      return;
    }
    bool any = false;
    for (const WmfPath& path : content_.picture.paths) {
      for (const WmfPoint& p : path.points) {
        if (!any) f = {p.x, p.y, p.x, p.y};
        any = true;
        f.left = std::min(f.left, p.x);
        f.right = std::max(f.right, p.x);
        f.top = std::min(f.top, p.y);
        f.bottom = std::max(f.bottom, p.y);
      }
    }
  }

  Bytes in_;
  WmfContent content_;
  std::size_t record_ = 0;
  std::size_t params_ = 0;
  std::size_t paramWords_ = 0;
  std::size_t points_ = 0;
  std::vector<WmfPoint> run_;
  WmfPoint position_;
  std::optional<WmfPoint> windowOrg_;
  std::optional<WmfPoint> windowExt_;
};

}  // namespace

std::variant<WmfContent, WmfError> decodeWmf(std::span<const std::uint8_t> bytes) {
  return Reader(bytes).run();
}

}  // namespace vtcad::platform
