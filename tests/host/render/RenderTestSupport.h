#pragma once
// The renderer's tests: pictures drawn into memory, entities added to a drawing's model
// space, and the 8-connected background regions of a picture.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "editor/ViewTransform.h"
#include "render/Canvas.h"
#include "render/DrawingRenderer.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEntity.h"

namespace render_test {

using vtcad::render::Rgb;

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows top to bottom

  Rgb at(int x, int y) const { return Rgb::fromPacked(pixels[static_cast<std::size_t>(y) * width + x]); }
};

Image paintImage(int width, int height, const std::function<void(vtcad::render::Canvas&)>& paint);
Image renderImage(ZcDbDatabase* db, const vtcad::editor::ViewTransform& view,
                  const vtcad::render::RenderOptions& options = {});

// Appends `entity` (not in a database) to model space with the drawing's defaults (its colour
// kept), closed.
ZcDbObjectId addEntity(ZcDbDatabase& db, ZcDbEntity* entity);

// A layer of that colour index, off or frozen as asked.
ZcDbObjectId addLayer(ZcDbDatabase& db, const wchar_t* name, int colorIndex, bool off = false,
                      bool frozen = false);
// A linetype of those dash lengths (positive dash, negative gap, zero dot).
ZcDbObjectId addLinetype(ZcDbDatabase& db, const wchar_t* name, const std::vector<double>& dashes);
// Gives an entity of the drawing a linetype (null: keeps its own), a linetype scale and a
// lineweight (addEntity sets the drawing's defaults, so these come after it).
void restyle(ZcDbObjectId entityId, ZcDbObjectId linetypeId, double linetypeScale, ZcDb::LineWeight weight);
// A header variable of one short group (LWDISPLAY 290, LWDEFAULT 370, ...).
void setHeaderShort(ZcDbDatabase& db, const wchar_t* name, short code, short value);

// A block definition (based at the origin) holding `entities`.
ZcDbObjectId addBlock(ZcDbDatabase& db, const wchar_t* name, const std::vector<ZcDbEntity*>& entities);

// Whether a pixel counts as background: each channel less than half way from `background`
// to the strokes' colour, that is less than half covered by a stroke.
bool isBackground(Rgb pixel, Rgb background);
// The pixels 8-connected to (x, y) through background pixels (a flood fill's region).
std::vector<bool> backgroundRegion(const Image& image, Rgb background, int x, int y);

// Pixels drawn in something other than `background`.
int countNot(const Image& image, Rgb background);

// Writes the picture as a PNG (the golden comparison and its difference picture).
void writePng(const Image& image, const std::string& path);
Image readPng(const std::string& path);

}  // namespace render_test
