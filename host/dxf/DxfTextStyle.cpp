// STYLE: shape-file and vertical flags, fixed height, width factor, obliquing angle, generation
// flags (backwards, upside down), last height, font file and big font file. The TrueType
// typeface that CAD programs file as extended data of "ACAD" stays extended data.
#include <initializer_list>  // for dxf/DxfAngles.h

#include "dxf/DxfAngles.h"
#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfSymbolTableRecord.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbTextStyleTable.h"

namespace vtcad::dxf {
namespace {

constexpr int kShapeFile = 1;
constexpr int kVertical = 4;

class TextStyleCodec final : public SymbolRecordCodec {
 public:
  std::string_view dxfName() const override { return "STYLE"; }
  ZcRxClass* rxClass() const override { return ZcDbTextStyleTableRecord::desc(); }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override {
    return new ZcDbTextStyleTableRecord;
  }

 protected:
  std::string_view recordSubclass() const override { return "AcDbTextStyleTableRecord"; }

  int flagMask() const override { return kShapeFile | kVertical; }
  void readFlags(ZcDbSymbolTableRecord& record, int flags) const override {
    auto& style = static_cast<ZcDbTextStyleTableRecord&>(record);
    style.setIsShapeFile((flags & kShapeFile) != 0);
    style.setIsVertical((flags & kVertical) != 0);
  }

  int flags(const ZcDbSymbolTableRecord& record) const override {
    const auto& style = static_cast<const ZcDbTextStyleTableRecord&>(record);
    return (style.isShapeFile() ? kShapeFile : 0) | (style.isVertical() ? kVertical : 0);
  }

  bool readFields(ZcDbSymbolTableRecord& record, std::span<const BodyGroup> fields,
                  ReadContext& ctx) const override {
    auto& style = static_cast<ZcDbTextStyleTableRecord&>(record);
    for (const BodyGroup& g : fields) {
      const int code = g.tag.code;
      if (code == 3 || code == 4) {
        const std::wstring file = ctx.text(g.tag);
        code == 3 ? style.setFileName(file.c_str()) : style.setBigFontFileName(file.c_str());
        continue;
      }
      if (code == 71) {
        if (std::optional<std::int64_t> v = ctx.integer(g.tag);
            v && *v >= 0 && *v <= 0xFF && style.setFlagBits(static_cast<Zdesk::UInt8>(*v)) == Zcad::eOk) {
          continue;
        }
      } else if (code == 40 || code == 41 || code == 42 || code == 50) {
        if (std::optional<double> v = ctx.real(g.tag); v && setReal(style, code, *v) == Zcad::eOk) continue;
      }
      ctx.keep(style, g);
    }
    return true;
  }

  void writeFields(const ZcDbSymbolTableRecord& record, WriteContext& ctx) const override {
    const auto& style = static_cast<const ZcDbTextStyleTableRecord&>(record);
    if (!keptInstead(style, 40)) ctx.real(40, style.textSize());
    if (!keptInstead(style, 41)) ctx.real(41, style.xScale());
    if (!keptInstead(style, 50)) ctx.real(50, degreesFromRadians(style.obliquingAngle()));
    if (!keptInstead(style, 71)) ctx.integer(71, style.flagBits());
    if (!keptInstead(style, 42)) ctx.real(42, style.priorSize());
    const ZTCHAR* file = nullptr;
    style.fileName(file);
    ctx.text(3, std::wstring(file ? file : L""));
    file = nullptr;
    style.bigFontFileName(file);
    ctx.text(4, std::wstring(file ? file : L""));
  }

 private:
  static Zcad::ErrorStatus setReal(ZcDbTextStyleTableRecord& style, int code, double v) {
    switch (code) {
      case 40:
        return style.setTextSize(v);
      case 41:
        return style.setXScale(v);
      case 42:
        return style.setPriorSize(v);
      default: {
        // Programs write a backward slant as 345 as well as -15 degrees.
        double degrees = v > 180.0 ? v - 360.0 : v;
        return style.setObliquingAngle(radiansFromDegrees(degrees));
      }
    }
  }
};

}  // namespace

const ObjectCodec& textStyleCodec() {
  static const TextStyleCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
