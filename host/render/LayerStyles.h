#pragma once
// LayerStyles: what drawing an entity needs of its layer (colour, shown or not), read once per
// picture: a drawing has few layers and many entities. Also what ByLayer linetypes and
// lineweights take.
//
// A layer that cannot be opened (a null id, a record its writer holds) draws as a new layer
// would: shown, colour 7.
#include <unordered_map>

#include "render/ColorTable.h"
#include "zcad/db/ZcDb.h"
#include "zcad/db/ZcDbObjectId.h"

namespace vtcad::render {

struct LayerStyle {
  Rgb color;
  bool shown = true;        // neither off nor frozen
  bool isZero = false;      // layer "0": entities of a block on it take the block reference's layer
  ZcDbObjectId linetypeId;  // what ByLayer entities take; null is continuous
  ZcDb::LineWeight lineWeight = ZcDb::kLnWtByLwDefault;
};

class LayerStyles {
 public:
  explicit LayerStyles(Rgb foreground) : foreground_(foreground) {}
  const LayerStyle& of(ZcDbObjectId layerId);

 private:
  Rgb foreground_;
  std::unordered_map<ZcDbObjectId, LayerStyle> cache_;
};

}  // namespace vtcad::render
