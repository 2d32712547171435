// LAYER: flags (frozen, locked), colour (an index, negative when the layer is off, and a true
// colour), linetype by name, plot flag, line weight. The plot style (390) and material (347)
// references are kept.
#include <cstdlib>

#include "dxf/DxfCodecs.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfSymbolTableRecord.h"
#include "dxf/DxfWriteContext.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/db/ZcDbLinetypeTable.h"

namespace vtcad::dxf {
namespace {

// A layer without a linetype (made by a repair) draws solid lines: the drawing's own
// Continuous record by the name it has ("CONTINUOUS" in some files), so that reading the
// file again names the same record.
std::wstring continuousName(WriteContext& ctx) {
  ZcDbLinetypeTable* table = nullptr;
  ZcDbObjectId id;
  if (ctx.database().getLinetypeTable(table, ZcDb::kForRead) == Zcad::eOk) {
    table->getAt(L"Continuous", id);
    table->close();
  }
  std::wstring name = ctx.recordName(id);
  return name.empty() ? std::wstring(L"Continuous") : name;
}

constexpr int kFrozen = 1;
constexpr int kLocked = 4;

class LayerCodec final : public SymbolRecordCodec {
 public:
  std::string_view dxfName() const override { return "LAYER"; }
  ZcRxClass* rxClass() const override { return ZcDbLayerTableRecord::desc(); }
  ZcDbObject* create(std::span<const Tag>, ReadContext&) const override { return new ZcDbLayerTableRecord; }

 protected:
  std::string_view recordSubclass() const override { return "AcDbLayerTableRecord"; }

  int flagMask() const override { return kFrozen | kLocked; }
  void readFlags(ZcDbSymbolTableRecord& record, int flags) const override {
    auto& layer = static_cast<ZcDbLayerTableRecord&>(record);
    layer.setIsFrozen((flags & kFrozen) != 0);
    layer.setIsLocked((flags & kLocked) != 0);
  }

  int flags(const ZcDbSymbolTableRecord& record) const override {
    const auto& layer = static_cast<const ZcDbLayerTableRecord&>(record);
    return (layer.isFrozen() ? kFrozen : 0) | (layer.isLocked() ? kLocked : 0);
  }

  bool readFields(ZcDbSymbolTableRecord& record, std::span<const BodyGroup> fields,
                  ReadContext& ctx) const override {
    auto& layer = static_cast<ZcDbLayerTableRecord&>(record);
    for (const BodyGroup& g : fields) {
      switch (g.tag.code) {
        case 62:
          if (std::optional<std::int64_t> v = ctx.integer(g.tag)) {
            // Off is the sign of the colour number. An index colour given after a true
            // colour (420 before 62) does not replace it.
            ZcCmColor color;
            if (*v >= -255 && *v <= 255 && color.setColorIndex(static_cast<Zdesk::UInt16>(std::llabs(*v))) &&
                (layer.color().isByColor() || layer.setColor(color) == Zcad::eOk)) {
              layer.setIsOff(*v < 0);
              continue;
            }
            ctx.warn(g.tag, "layer colour " + std::to_string(*v) + " is not a colour of the palette");
          }
          break;
        case 420:
          if (std::optional<std::int64_t> v = ctx.integer(g.tag); v && *v >= 0 && *v <= 0xFFFFFF) {
            ZcCmColor color;
            color.setRGB(static_cast<Zdesk::UInt8>(*v >> 16), static_cast<Zdesk::UInt8>(*v >> 8),
                         static_cast<Zdesk::UInt8>(*v));
            layer.setColor(color);
            continue;
          }
          break;
        case 6: {
          ZcDbObjectId linetype = ctx.linetypeNamed(ctx.text(g.tag), g.tag);
          if (!linetype.isNull() && layer.setLinetypeObjectId(linetype) == Zcad::eOk) continue;
          break;
        }
        case 290:
          if (std::optional<std::int64_t> v = ctx.integer(g.tag)) {
            layer.setIsPlottable(*v != 0);
            continue;
          }
          break;
        case 370:
          if (std::optional<std::int64_t> v = ctx.integer(g.tag);
              v && *v >= -3 && *v <= 211 &&
              layer.setLineWeight(static_cast<ZcDb::LineWeight>(*v)) == Zcad::eOk) {
            continue;
          }
          break;
        default:
          break;
      }
      ctx.keep(layer, g);
    }
    return true;
  }

  void writeFields(const ZcDbSymbolTableRecord& record, WriteContext& ctx) const override {
    const auto& layer = static_cast<const ZcDbLayerTableRecord&>(record);
    const ZcCmColor color = layer.color();
    const int index = color.colorIndex();
    if (!keptInstead(layer, 62)) ctx.integer(62, layer.isOff() ? -index : index);
    if (color.isByColor()) ctx.integer(420, color.trueColorValue());
    std::wstring linetype = ctx.recordName(layer.linetypeObjectId());
    if (linetype.empty()) linetype = continuousName(ctx);
    if (!keptInstead(layer, 6)) ctx.text(6, linetype);
    // Plotted is the default: only layers left out of plots say so.
    if (!layer.isPlottable()) ctx.integer(290, 0);
    if (!keptInstead(layer, 370)) ctx.integer(370, layer.lineWeight());
  }
};

}  // namespace

const ObjectCodec& layerCodec() {
  static const LayerCodec codec;
  return codec;
}

}  // namespace vtcad::dxf
