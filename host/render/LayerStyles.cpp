// Layer records read once each per picture.
#include "render/LayerStyles.h"

#include "zcad/db/ZcDbLayerTable.h"

namespace vtcad::render {

const LayerStyle& LayerStyles::of(ZcDbObjectId layerId) {
  const auto found = cache_.find(layerId);
  if (found != cache_.end()) return found->second;
  LayerStyle style{foreground_, true, false, ZcDbObjectId(), ZcDb::kLnWtByLwDefault};
  ZcDbLayerTableRecord* layer = nullptr;
  if (!layerId.isNull() && zcdbOpenObject(layer, layerId, ZcDb::kForRead) == Zcad::eOk) {
    const ZcCmColor color = layer->color();
    if (color.isByColor()) {
      style.color = Rgb::fromPacked(color.trueColorValue());
    } else if (color.colorIndex() != 7) {
      style.color = aciColor(color.colorIndex());
    }
    style.shown = !layer->isOff() && !layer->isFrozen();
    style.linetypeId = layer->linetypeObjectId();
    style.lineWeight = layer->lineWeight();
    const ZTCHAR* name = nullptr;
    style.isZero = layer->getName(name) == Zcad::eOk && name && name[0] == L'0' && name[1] == 0;
    layer->close();
  }
  return cache_.emplace(layerId, style).first->second;
}

}  // namespace vtcad::render
