// The records in the order a viewer needs them: map mode and window first, then the objects,
// then the shapes.
#include "platform/WmfWriter.h"

#include <algorithm>
#include <cstring>

#include "platform/WmfRecords.h"

namespace vtcad::platform {
namespace {

using namespace wmf;

constexpr std::size_t kMostRecordPoints = 32767;
// Object table slots the writer fills.
constexpr std::uint16_t kPenSlot = 0, kSolidBrushSlot = 1, kNullBrushSlot = 2, kObjectCount = 3;

class Records {
 public:
  void word(std::uint16_t value) {
    bytes_.push_back(static_cast<char>(value & 0xFF));
    bytes_.push_back(static_cast<char>(value >> 8));
  }
  void dword(std::uint32_t value) {
    word(static_cast<std::uint16_t>(value & 0xFFFF));
    word(static_cast<std::uint16_t>(value >> 16));
  }
  void point(const WmfPoint& p) {
    word(static_cast<std::uint16_t>(p.x));
    word(static_cast<std::uint16_t>(p.y));
  }
  // Starts a record of `words` parameter words.
  void begin(std::uint16_t function, std::size_t words) {
    const std::uint32_t size = static_cast<std::uint32_t>(3 + words);
    largest_ = std::max(largest_, size);
    dword(size);
    word(function);
  }
  std::uint32_t largest() const { return largest_; }
  std::string& bytes() { return bytes_; }

 private:
  std::string bytes_;
  std::uint32_t largest_ = 0;
};

void pointsRecord(Records& out, std::uint16_t function, const WmfPoint* points, std::size_t count) {
  out.begin(function, 1 + 2 * count);
  out.word(static_cast<std::uint16_t>(count));
  for (std::size_t i = 0; i < count; ++i) out.point(points[i]);
}

void select(Records& out, std::uint16_t slot) {
  out.begin(kSelectObject, 1);
  out.word(slot);
}

void writePath(Records& out, const WmfPath& path) {
  const std::vector<WmfPoint>& p = path.points;
  if (p.size() < 2) return;  // a single point draws nothing
  if (path.closed && p.size() <= kMostRecordPoints) {
    pointsRecord(out, kPolygon, p.data(), p.size());
    return;
  }
  // Open runs, or a closed one too long for one polygon: polylines sharing their ends.
  std::vector<WmfPoint> run = p;
  if (path.closed) run.push_back(p.front());
  for (std::size_t start = 0; start + 1 < run.size(); start += kMostRecordPoints - 1) {
    const std::size_t count = std::min(kMostRecordPoints, run.size() - start);
    pointsRecord(out, kPolyline, run.data() + start, count);
  }
}

void writeFill(Records& out, const WmfFill& fill) {
  std::vector<const std::vector<WmfPoint>*> contours;
  for (const std::vector<WmfPoint>& contour : fill.contours) {
    if (contour.size() >= 3) contours.push_back(&contour);
  }
  if (contours.empty()) return;
  std::size_t words = 1 + contours.size();
  for (const auto* c : contours) words += 2 * std::min(c->size(), kMostRecordPoints);
  out.begin(kPolyPolygon, words);
  out.word(static_cast<std::uint16_t>(contours.size()));
  for (const auto* c : contours) out.word(static_cast<std::uint16_t>(std::min(c->size(), kMostRecordPoints)));
  for (const auto* c : contours) {
    for (std::size_t i = 0; i < std::min(c->size(), kMostRecordPoints); ++i) out.point((*c)[i]);
  }
}

}  // namespace

std::string encodeWmf(const WmfPicture& picture) {
  Records body;
  body.begin(kSetMapMode, 1);
  body.word(kMapAnisotropic);
  body.begin(kSetWindowOrg, 2);  // y before x, as every point-pair record of the format
  body.word(static_cast<std::uint16_t>(picture.frame.top));
  body.word(static_cast<std::uint16_t>(picture.frame.left));
  body.begin(kSetWindowExt, 2);
  body.word(static_cast<std::uint16_t>(picture.frame.bottom - picture.frame.top));
  body.word(static_cast<std::uint16_t>(picture.frame.right - picture.frame.left));
  if (picture.drawingUnitsPerLogical) {
    const double scale = *picture.drawingUnitsPerLogical;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &scale, sizeof bits);
    const std::size_t dataBytes = kScaleTagBytes + sizeof bits;
    body.begin(kEscape, 2 + (dataBytes + 1) / 2);
    body.word(kMfComment);
    body.word(static_cast<std::uint16_t>(dataBytes));
    std::string data(kScaleTag, kScaleTagBytes);
    for (int i = 0; i < 8; ++i) data.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
    if (data.size() % 2) data.push_back('\0');
    body.bytes() += data;
  }
  body.begin(kCreatePenIndirect, 5);  // slot 0: solid, hairline, black
  body.word(kPenSolid);
  body.point({0, 0});
  body.dword(0);
  body.begin(kCreateBrushIndirect, 4);  // slot 1: solid black
  body.word(0);
  body.dword(0);
  body.word(0);
  body.begin(kCreateBrushIndirect, 4);  // slot 2: the null brush
  body.word(kBrushNull);
  body.dword(0);
  body.word(0);
  select(body, kPenSlot);
  select(body, kNullBrushSlot);
  for (const WmfPath& path : picture.paths) writePath(body, path);
  if (!picture.fills.empty()) {
    select(body, kSolidBrushSlot);
    body.begin(kSetPolyFillMode, 1);
    body.word(kFillWinding);
    for (const WmfFill& fill : picture.fills) writeFill(body, fill);
  }
  for (std::uint16_t slot = 0; slot < kObjectCount; ++slot) {
    body.begin(kDeleteObject, 1);
    body.word(slot);
  }
  body.begin(kEof, 0);

  Records file;
  // The placeable header; its checksum is the XOR of its first ten words.
  const std::uint16_t words[10] = {static_cast<std::uint16_t>(kPlaceableKey & 0xFFFF),
                                   static_cast<std::uint16_t>(kPlaceableKey >> 16),
                                   0,
                                   static_cast<std::uint16_t>(picture.frame.left),
                                   static_cast<std::uint16_t>(picture.frame.top),
                                   static_cast<std::uint16_t>(picture.frame.right),
                                   static_cast<std::uint16_t>(picture.frame.bottom),
                                   picture.unitsPerInch,
                                   0,
                                   0};
  std::uint16_t checksum = 0;
  for (std::uint16_t w : words) {
    file.word(w);
    checksum ^= w;
  }
  file.word(checksum);
  // The standard header: a memory metafile of version 3.
  file.word(1);
  file.word(9);
  file.word(0x0300);
  file.dword(static_cast<std::uint32_t>((kHeaderBytes + body.bytes().size()) / 2));
  file.word(kObjectCount);
  file.dword(body.largest());
  file.word(0);
  file.bytes() += body.bytes();
  return std::move(file.bytes());
}

}  // namespace vtcad::platform
