#pragma once
// TextStyleFont: what texts need of their text style record, read by opening it.
//
// A null id, an erased style, or one that cannot be opened for read just now (its writer has
// it open) gives the defaults of a new style: the shape font "txt", no fixed height, width
// factor 1. A text is then measured with the Latin font rather than failing.
#include "database/FontMapping.h"
#include "zcad/db/ZcDbObjectId.h"

namespace vtcad::db {

struct TextStyleData {
  FontChoice font;
  double textSize = 0.0;  // fixed height, 0 when texts choose their own
  double xScale = 1.0;
  double obliquingAngle = 0.0;
  bool found = false;  // false: the defaults above
};

TextStyleData readTextStyle(ZcDbObjectId styleId);

}  // namespace vtcad::db
