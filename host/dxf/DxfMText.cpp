// MTEXT: paragraphs of formatted text. Its points and direction are in world coordinates in
// the file as in ZcDbMText. The contents are split over groups 3 (chunks of 250 bytes) and a
// final group 1.
#include <cstdint>
#include <optional>
#include <string>

#include "database/ZcDbFileAccess.h"
#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbMText.h"
#include "zcad/db/ZcDbTextStyleTable.h"

namespace vtcad::dxf {
namespace {

constexpr size_t kChunkBytes = 250;
// The drawing direction (72), which the class does not hold, is kept out of the subclass
// slot (never written by the kept-group writer) so that write() puts it back in its place.
constexpr std::uint16_t kOwnSlot = 0xFFE0;

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

bool hexDigitsAt(std::string_view s, size_t at, size_t count) {
  if (at + count > s.size()) return false;
  for (size_t k = at; k < at + count; ++k) {
    if (!isHexDigit(s[k])) return false;
  }
  return true;
}

// Length of the escape starting at the backslash s[at]: \U+XXXX and \M+NXXXX whole, any
// other code its backslash and the character after it.
size_t escapeLength(std::string_view s, size_t at) {
  std::string_view rest = s.substr(at);
  if (rest.size() >= 3 && (rest[1] == 'U' || rest[1] == 'u') && rest[2] == '+' && hexDigitsAt(s, at + 3, 4))
    return 7;
  if (rest.size() >= 3 && (rest[1] == 'M' || rest[1] == 'm') && rest[2] == '+' && hexDigitsAt(s, at + 3, 5))
    return 8;
  return 2;
}

// Where the chunk of `utf8` that starts at `begin` ends: at most kChunkBytes on, never inside
// a UTF-8 sequence or an escape (a reader that decodes each group alone still reads the text).
size_t mtextChunkEnd(std::string_view utf8, size_t begin) {
  if (utf8.size() - begin <= kChunkBytes) return utf8.size();
  size_t end = begin + kChunkBytes;
  while (end > begin && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) --end;
  // The nearest backslash before the cut: an escape is at most 8 bytes long. A backslash
  // that ends an escaped backslash ("\\") only moves the cut a little earlier.
  for (size_t k = end; k > begin && end - k < 8;) {
    --k;
    if (utf8[k] != '\\') continue;
    if (k + escapeLength(utf8, k) > end) end = k;
    break;
  }
  // Degenerate: nothing fits before the cut (cannot happen with 250-byte chunks and 8-byte
  // escapes, but the loop must advance).
  return end > begin ? end : begin + kChunkBytes;
}

class MTextCodec final : public ObjectCodec {
 public:
  std::string_view dxfName() const override { return "MTEXT"; }
  ZcRxClass* rxClass() const override { return ZcDbMText::desc(); }
  SubclassNames subclasses(const ZcDbObject&) const override { return {"AcDbMText"}; }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override { return new ZcDbMText; }

  bool read(ZcDbObject& obj, std::span<const BodyGroup> body, ReadContext& ctx) const override {
    auto& mtext = static_cast<ZcDbMText&>(obj);
    // The constructor took the working database's style and height; the file decides here.
    mtext.setTextStyle(ctx.standardTextStyle());
    std::string contents;  // the bytes of the file, decoded once joined: a chunk may end in
                           // the middle of a multibyte character of an old code page
    bool hasContents = false;
    std::optional<ZcGeVector3d> direction;
    std::optional<double> rotation;
    bool directionLast = false;  // the later of 11 and 50 wins
    size_t directionAt = 0;
    size_t directionTaken = 1;
    size_t rotationAt = 0;
    // Column groups (from 75) and the embedded object (from 101) reuse codes of the text
    // itself (50 is a column height there): everything from them on is kept as it is.
    bool tail = false;

    // A value the text refuses leaves it as it is; its groups are kept.
    auto refused = [&](size_t at, size_t taken, const char* what) {
      ctx.warn(body[at].tag, std::string("mtext: the ") + what + " was refused and kept as it was");
      for (const BodyGroup& kept : body.subspan(at, taken)) ctx.keep(obj, kept);
    };

    for (size_t i = 0; i < body.size(); ++i) {
      const BodyGroup& g = body[i];
      if (g.tag.code == 75 || g.tag.code == 101) tail = true;
      if (tail) {
        ctx.keep(obj, g);
        continue;
      }
      switch (g.tag.code) {
        case 10:
        case 11:
        case 210: {
          ReadContext::PointRead p = ctx.point(body, i);
          if (!p.point) {
            if (g.tag.code == 10) return false;  // a text that is nowhere: dropped
            break;
          }
          if (g.tag.code == 10) {
            if (mtext.setLocation(*p.point) != Zcad::eOk) return false;
          } else if (g.tag.code == 11) {
            direction = p.point->asVector();
            directionAt = i;
            directionTaken = p.taken;
            directionLast = true;
          } else if (mtext.setNormal(p.point->asVector()) != Zcad::eOk) {
            refused(i, p.taken, "extrusion direction");
          }
          i += p.taken - 1;
          continue;
        }
        case 1:
        case 3:
          contents.append(g.tag.value);
          hasContents = true;
          continue;
        case 7: {
          const std::wstring name = ctx.text(g.tag);
          if (name.empty()) break;  // no style to name: kept
          mtext.setTextStyle(ctx.textStyleNamed(name, g.tag));
          continue;
        }
        case 40:
        case 41:
        case 44:
        case 46:
        case 50: {
          std::optional<double> v = ctx.real(g.tag);
          if (!v) break;
          Zcad::ErrorStatus status = Zcad::eOk;
          const char* what = "";
          switch (g.tag.code) {
            case 40:
              status = mtext.setTextHeight(*v);
              what = "text height";
              break;
            case 41:
              status = mtext.setWidth(*v);
              what = "width";
              break;
            case 44:
              status = mtext.setLineSpacingFactor(*v);
              what = "line spacing factor";
              break;
            case 46:
              status = mtext.setHeight(*v);
              what = "defined height";
              break;
            default:
              rotation = *v;  // radians
              rotationAt = i;
              directionLast = false;
              break;
          }
          if (status != Zcad::eOk) refused(i, 1, what);
          continue;
        }
        case 72:
          if (!ctx.integer(g.tag)) break;
          ctx.keep(obj, g.tag, kOwnSlot);
          continue;
        case 42:
        case 43:
          // The measured size, ignored on input by the format: derived from the contents.
          continue;
        case 71:
        case 73: {
          std::optional<std::int64_t> v = ctx.integer(g.tag);
          if (!v) break;
          const bool inRange = g.tag.code == 71 ? (*v >= ZcDbMText::kTopLeft && *v <= ZcDbMText::kBottomRight)
                                                : (*v == ZcDb::kAtLeast || *v == ZcDb::kExactly);
          if (!inRange) {
            refused(i, 1, g.tag.code == 71 ? "attachment" : "line spacing style");
          } else if (g.tag.code == 71) {
            mtext.setAttachment(static_cast<ZcDbMText::AttachmentPoint>(*v));
          } else {
            mtext.setLineSpacingStyle(static_cast<ZcDb::LineSpacingStyle>(*v));
          }
          continue;
        }
        default:
          break;
      }
      ctx.keep(obj, g);
    }

    if (hasContents) mtext.setContents(ctx.decoder().decode(contents).c_str());
    // The direction comes after the normal: it is projected into the text's plane.
    if (directionLast && direction) {
      if (mtext.setDirection(*direction) != Zcad::eOk) refused(directionAt, directionTaken, "direction");
    } else if (rotation) {
      if (mtext.setRotation(*rotation) != Zcad::eOk) refused(rotationAt, 1, "rotation");
    }
    return true;
  }

  void write(const ZcDbObject& obj, WriteContext& ctx) const override {
    const auto& mtext = static_cast<const ZcDbMText&>(obj);
    ctx.beginSubclass("AcDbMText");
    ctx.point(10, mtext.location());
    ctx.real(40, mtext.textHeight());
    ctx.real(41, mtext.width());
    ctx.real(46, mtext.height());
    ctx.integer(71, mtext.attachment());
    if (const std::vector<ZcDbKeptGroup>* kept = ZcDbFileAccess::keptGroups(&obj)) {
      for (const ZcDbKeptGroup& g : *kept) {
        if (g.slot == kOwnSlot && g.code == 72) ctx.text(72, g.value);
      }
    }
    const std::string contents = wideToUtf8(mtext.contentsConst());
    size_t begin = 0;
    for (size_t end = mtextChunkEnd(contents, begin); end < contents.size();
         end = mtextChunkEnd(contents, begin)) {
      ctx.text(3, std::string_view(contents).substr(begin, end - begin));
      begin = end;
    }
    ctx.text(1, std::string_view(contents).substr(begin));
    const std::string_view style = ctx.recordNameUtf8(mtext.textStyle());
    if (!style.empty()) ctx.text(7, style);
    if (mtext.normal() != ZcGeVector3d::kZAxis) ctx.point(210, mtext.normal());
    ctx.point(11, mtext.direction());
    ctx.integer(73, mtext.lineSpacingStyle());
    ctx.real(44, mtext.lineSpacingFactor());
  }
};

}  // namespace

const ObjectCodec& mtextCodec() {
  static const MTextCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
