#include "morph/BlendColours.h"

#include "frame/ReadOpen.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/zced.h"

namespace veltrace {

namespace {

constexpr Zdesk::UInt16 kByBlockShown = 7;

struct Rgb {
  double red, green, blue;
};

Rgb rgbOf(const ZcCmColor& colour) {
  if (colour.isByColor()) return {double(colour.red()), double(colour.green()), double(colour.blue())};
  // Index colours through the host's palette: red in the lowest byte.
  const DWORD rgb = zcedGetRGB(colour.colorIndex());
  return {double(rgb & 0xFF), double((rgb >> 8) & 0xFF), double((rgb >> 16) & 0xFF)};
}

Zdesk::UInt8 channel(double first, double second, int count, int j) {
  return static_cast<Zdesk::UInt8>(first + (second - first) * (j + 1) / (count + 1));
}

}  // namespace

void effectiveColor(const ZcDbEntity& entity, ZcCmColor& colour) {
  const ZcCmColor own = entity.color();
  if (own.isByColor() || own.isByACI()) {
    colour = own;
    return;
  }
  if (own.isByBlock()) {
    colour.setColorIndex(kByBlockShown);
    return;
  }
  ReadOpen<ZcDbLayerTableRecord> layer(entity.layerId());
  if (layer.get()) colour = layer.get()->color();
}

ZcCmColor gradientColor(const ZcCmColor& first, const ZcCmColor& second, int count, int j) {
  ZcCmColor result;  // ByLayer
  if (first == second) return result;
  const Rgb a = rgbOf(first);
  const Rgb b = rgbOf(second);
  result.setRGB(channel(a.red, b.red, count, j), channel(a.green, b.green, count, j),
                channel(a.blue, b.blue, count, j));
  return result;
}

}  // namespace veltrace
