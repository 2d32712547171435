// LTYPE: description, alignment, and the pattern: its length and its dashes, each with the
// text or shape a complex linetype embeds in it (style, shape number, scale, rotation, offset,
// text).
//
// A pattern the class cannot hold as the file gives it (more than 12 dashes, a count that does
// not match the dashes, flags that do not follow from the element, a value out of range) is
// kept as its groups, all of them and in their order: the dash groups follow one another in
// the file and their meaning is their order. The pattern groups come last in the record, so
// that the kept groups are written back in their place. The class then holds what it can of
// the pattern (for display), and changes to it through the class are not saved.
#include <optional>
#include <string>

#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfSymbolTableRecord.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbLinetypeTable.h"

namespace vtcad::dxf {
namespace {

// Group 74 of a dash.
constexpr int kAbsoluteRotation = 1;
constexpr int kText = 2;
constexpr int kShape = 4;
constexpr int kMaxDashes = 12;
// Group 72: always 'A'.
constexpr int kAlignment = 65;

bool isPatternCode(int code) {
  switch (code) {
    case 73:
    case 40:
    case 49:
    case 74:
    case 75:
    case 340:
    case 46:
    case 50:
    case 44:
    case 45:
    case 9:
      return true;
    default:
      return false;
  }
}

struct Dash {
  double length = 0.0;
  int flags = 0;
  int shapeNumber = 0;
  ZcDbObjectId style;
  double scale = 1.0;
  double rotation = 0.0;  // radians
  double x = 0.0;
  double y = 0.0;
  std::wstring text;
};

struct Pattern {
  std::optional<std::int64_t> count;
  double length = 0.0;
  std::vector<Dash> dashes;
};

// The pattern groups as the file gives them; nullopt when they are out of the order described
// above or a value does not parse.
std::optional<Pattern> parsePattern(std::span<const BodyGroup> groups, ReadContext& ctx) {
  Pattern pattern;
  for (const BodyGroup& g : groups) {
    const Tag& t = g.tag;
    if (t.code == 73) {
      if (pattern.count || !(pattern.count = ctx.integer(t))) return std::nullopt;
      continue;
    }
    if (t.code == 40) {
      std::optional<double> v = ctx.real(t);
      if (!v) return std::nullopt;
      pattern.length = *v;
      continue;
    }
    if (t.code == 49) {
      std::optional<double> v = ctx.real(t);
      if (!v) return std::nullopt;
      pattern.dashes.push_back(Dash{});
      pattern.dashes.back().length = *v;
      continue;
    }
    // Every other pattern group describes the dash before it.
    if (pattern.dashes.empty()) return std::nullopt;
    Dash& dash = pattern.dashes.back();
    if (t.code == 9) {
      dash.text = ctx.text(t);
    } else if (t.code == 340) {
      dash.style = ctx.idOfHandle(t);
    } else if (t.code == 74 || t.code == 75) {
      std::optional<std::int64_t> v = ctx.integer(t);
      if (!v || *v < 0 || *v > 0xFFFF) return std::nullopt;
      (t.code == 74 ? dash.flags : dash.shapeNumber) = static_cast<int>(*v);
    } else {
      std::optional<double> v = ctx.real(t);
      if (!v) return std::nullopt;
      switch (t.code) {
        case 46:
          dash.scale = *v;
          break;
        case 50:
          dash.rotation = *v;
          break;
        case 44:
          dash.x = *v;
          break;
        default:  // 45
          dash.y = *v;
          break;
      }
    }
  }
  return pattern;
}

// The flags of dash `i` as the class tells them.
int dashFlags(const ZcDbLinetypeTableRecord& linetype, int i) {
  ZcString text;
  linetype.textAt(i, text);
  int flags = linetype.shapeIsUcsOrientedAt(i) ? kAbsoluteRotation : 0;
  if (!text.isEmpty()) return flags | kText;
  if (!linetype.shapeStyleAt(i).isNull() || linetype.shapeNumberAt(i) != 0) return flags | kShape;
  // Without text or shape, the rotation has nothing to turn.
  return 0;
}

// Puts the pattern into the class; false when the class cannot hold it as it is.
bool holdPattern(ZcDbLinetypeTableRecord& linetype, const Pattern& pattern) {
  const int n = static_cast<int>(pattern.dashes.size());
  bool held = (!pattern.count || *pattern.count == n) && n <= kMaxDashes;
  if (linetype.setPatternLength(pattern.length) != Zcad::eOk) held = false;
  if (linetype.setNumDashes(std::min(n, kMaxDashes)) != Zcad::eOk) return false;
  for (int i = 0; i < linetype.numDashes(); ++i) {
    const Dash& d = pattern.dashes[static_cast<size_t>(i)];
    held = linetype.setDashLengthAt(i, d.length) == Zcad::eOk && held;
    if (d.flags == 0) {
      // A plain dash: whatever else the file says of it has no meaning.
      held = held && d.text.empty() && d.style.isNull() && d.shapeNumber == 0;
      continue;
    }
    held = linetype.setShapeStyleAt(i, d.style) == Zcad::eOk && held;
    held = linetype.setShapeNumberAt(i, (d.flags & kShape) ? d.shapeNumber : 0) == Zcad::eOk && held;
    held = linetype.setShapeScaleAt(i, d.scale) == Zcad::eOk && held;
    held = linetype.setShapeRotationAt(i, d.rotation) == Zcad::eOk && held;
    held = linetype.setShapeOffsetAt(i, ZcGeVector2d(d.x, d.y)) == Zcad::eOk && held;
    held = linetype.setShapeIsUcsOrientedAt(i, (d.flags & kAbsoluteRotation) != 0) == Zcad::eOk && held;
    if (d.flags & kText) held = linetype.setTextAt(i, d.text.c_str()) == Zcad::eOk && held;
    // What is written back must say what the file said.
    held = held && dashFlags(linetype, i) == d.flags;
  }
  return held;
}

class LinetypeCodec final : public SymbolRecordCodec {
 public:
  std::string_view dxfName() const override { return "LTYPE"; }
  ZcRxClass* rxClass() const override { return ZcDbLinetypeTableRecord::desc(); }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override {
    return new ZcDbLinetypeTableRecord;
  }

 protected:
  std::string_view recordSubclass() const override { return "AcDbLinetypeTableRecord"; }

  bool readFields(ZcDbSymbolTableRecord& record, std::span<const BodyGroup> fields,
                  ReadContext& ctx) const override {
    auto& linetype = static_cast<ZcDbLinetypeTableRecord&>(record);
    std::vector<BodyGroup> patternGroups;
    std::vector<BodyGroup> others;
    bool described = false;
    for (const BodyGroup& g : fields) {
      if (isPatternCode(g.tag.code)) {
        patternGroups.push_back(g);
      } else if (g.tag.code == 3 && !described) {
        linetype.setComments(ctx.text(g.tag).c_str());
        described = true;
      } else if (g.tag.code == 72 && g.tag.toInt() == kAlignment) {
        // Written again by writeFields.
      } else {
        others.push_back(g);
      }
    }
    for (const BodyGroup& g : others) ctx.keep(linetype, g);
    std::optional<Pattern> pattern = parsePattern(patternGroups, ctx);
    if (pattern && holdPattern(linetype, *pattern)) return true;
    if (!pattern) linetype.setNumDashes(0);
    for (const BodyGroup& g : patternGroups) ctx.keep(linetype, g);
    return true;
  }

  void writeFields(const ZcDbSymbolTableRecord& record, WriteContext& ctx) const override {
    const auto& linetype = static_cast<const ZcDbLinetypeTableRecord&>(record);
    const ZTCHAR* comments = nullptr;
    linetype.comments(comments);
    ctx.text(3, std::wstring(comments ? comments : L""));
    ctx.integer(72, kAlignment);
    // The pattern kept as the file gave it follows with the kept groups.
    if (hasKeptGroup(linetype, 49, /*lastSlot=*/2) || hasKeptGroup(linetype, 73, /*lastSlot=*/2)) return;
    ctx.integer(73, linetype.numDashes());
    ctx.real(40, linetype.patternLength());
    for (int i = 0; i < linetype.numDashes(); ++i) {
      ctx.real(49, linetype.dashLengthAt(i));
      const int flags = dashFlags(linetype, i);
      ctx.integer(74, flags);
      if (flags == 0) continue;
      ctx.integer(75, (flags & kShape) ? linetype.shapeNumberAt(i) : 0);
      ctx.handle(340, linetype.shapeStyleAt(i));
      ctx.real(46, linetype.shapeScaleAt(i));
      ctx.real(50, linetype.shapeRotationAt(i));
      const ZcGeVector2d offset = linetype.shapeOffsetAt(i);
      ctx.real(44, offset.x);
      ctx.real(45, offset.y);
      if (flags & kText) {
        ZcString text;
        linetype.textAt(i, text);
        ctx.text(9, text.str());
      }
    }
  }
};

}  // namespace

const ObjectCodec& linetypeCodec() {
  static const LinetypeCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
