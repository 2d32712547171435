// Index colours through the database's palette, and the foreground of a background.
#include "render/ColorTable.h"

#include "zcad/db/ZcCmColor.h"

namespace vtcad::render {

Rgb aciColor(int index) {
  if (index < 1 || index > 255) index = 7;
  return Rgb::fromPacked(zcdbPaletteRgb(index));
}

bool isLight(Rgb c) { return 299 * c.red + 587 * c.green + 114 * c.blue > 1000 * 128; }

Rgb foregroundOn(Rgb background) { return isLight(background) ? Rgb{0, 0, 0} : Rgb{255, 255, 255}; }

}  // namespace vtcad::render
