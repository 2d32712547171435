#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/db/ZcDbLinetypeTable.h"
#include "zcad/zds.h"

namespace render_test {
namespace {

Image imageOf(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  Image image;
  image.width = cairo_image_surface_get_width(surface);
  image.height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
  for (int y = 0; y < image.height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
    for (int x = 0; x < image.width; ++x)
      image.pixels[static_cast<std::size_t>(y) * image.width + x] = row[x] & 0xFFFFFF;
  }
  return image;
}

// The drawing's layer and linetype, keeping a colour the test gave (a new entity's is ByLayer).
void withDefaults(ZcDbDatabase& db, ZcDbEntity& entity) {
  const ZcCmColor color = entity.color();
  entity.setDatabaseDefaults(&db);
  entity.setColor(color);
}

}  // namespace

Image paintImage(int width, int height, const std::function<void(vtcad::render::Canvas&)>& paint) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  {
    vtcad::render::Canvas canvas(cr, width, height);
    paint(canvas);
  }
  cairo_destroy(cr);
  Image image = imageOf(surface);
  cairo_surface_destroy(surface);
  return image;
}

Image renderImage(ZcDbDatabase* db, const vtcad::editor::ViewTransform& view,
                  const vtcad::render::RenderOptions& options) {
  return paintImage(view.screen().width, view.screen().height, [&](vtcad::render::Canvas& canvas) {
    vtcad::render::renderDrawing(db, view, canvas, options);
  });
}

ZcDbObjectId addEntity(ZcDbDatabase& db, ZcDbEntity* entity) {
  ZcDbObjectId id;
  ZcDbBlockTableRecord* space = nullptr;
  EXPECT_EQ(zcdbOpenObject(space, db.modelSpaceId(), ZcDb::kForWrite), Zcad::eOk);
  if (!space) {
    delete entity;
    return id;
  }
  withDefaults(db, *entity);
  EXPECT_EQ(space->appendZcDbEntity(id, entity), Zcad::eOk);
  space->close();
  entity->close();
  return id;
}

ZcDbObjectId addLayer(ZcDbDatabase& db, const wchar_t* name, int colorIndex, bool off, bool frozen) {
  ZcDbLayerTable* table = nullptr;
  EXPECT_EQ(db.getLayerTable(table, ZcDb::kForWrite), Zcad::eOk);
  if (!table) return {};
  auto* layer = new ZcDbLayerTableRecord;
  layer->setName(name);
  ZcCmColor color;
  color.setColorIndex(static_cast<Zdesk::UInt16>(colorIndex));
  layer->setColor(color);
  layer->setIsOff(off);
  layer->setIsFrozen(frozen);
  ZcDbObjectId id;
  EXPECT_EQ(table->add(id, layer), Zcad::eOk);
  table->close();
  layer->close();
  return id;
}

ZcDbObjectId addLinetype(ZcDbDatabase& db, const wchar_t* name, const std::vector<double>& dashes) {
  ZcDbLinetypeTable* table = nullptr;
  EXPECT_EQ(db.getLinetypeTable(table, ZcDb::kForWrite), Zcad::eOk);
  if (!table) return {};
  auto* linetype = new ZcDbLinetypeTableRecord;
  linetype->setName(name);
  linetype->setNumDashes(static_cast<int>(dashes.size()));
  double length = 0.0;
  for (std::size_t i = 0; i < dashes.size(); ++i) {
    linetype->setDashLengthAt(static_cast<int>(i), dashes[i]);
    length += std::abs(dashes[i]);
  }
  linetype->setPatternLength(length);
  ZcDbObjectId id;
  EXPECT_EQ(table->add(id, linetype), Zcad::eOk);
  table->close();
  linetype->close();
  return id;
}

void restyle(ZcDbObjectId entityId, ZcDbObjectId linetypeId, double linetypeScale, ZcDb::LineWeight weight) {
  ZcDbEntity* entity = nullptr;
  ASSERT_EQ(zcdbOpenObject(entity, entityId, ZcDb::kForWrite), Zcad::eOk);
  if (!linetypeId.isNull()) {
    EXPECT_EQ(entity->setLinetype(linetypeId), Zcad::eOk);
  }
  EXPECT_EQ(entity->setLinetypeScale(linetypeScale), Zcad::eOk);
  EXPECT_EQ(entity->setLineWeight(weight), Zcad::eOk);
  entity->close();
}

void setHeaderShort(ZcDbDatabase& db, const wchar_t* name, short code, short value) {
  resbuf* group = zcutNewRb(code);
  group->resval.rint = value;
  EXPECT_EQ(db.setHeaderVar(name, group), Zcad::eOk) << code;
  zcutRelRb(group);
}

ZcDbObjectId addBlock(ZcDbDatabase& db, const wchar_t* name, const std::vector<ZcDbEntity*>& entities) {
  ZcDbBlockTable* table = nullptr;
  EXPECT_EQ(db.getBlockTable(table, ZcDb::kForWrite), Zcad::eOk);
  if (!table) return {};
  auto* block = new ZcDbBlockTableRecord;
  block->setName(name);
  ZcDbObjectId id;
  EXPECT_EQ(table->add(id, block), Zcad::eOk);
  table->close();
  for (ZcDbEntity* entity : entities) {
    withDefaults(db, *entity);
    EXPECT_EQ(block->appendZcDbEntity(entity), Zcad::eOk);
    entity->close();
  }
  block->close();
  return id;
}

bool isBackground(Rgb pixel, Rgb background) {
  // Strokes in these tests are white on black or black on white: half way is 128 levels.
  return std::abs(pixel.red - background.red) < 128 && std::abs(pixel.green - background.green) < 128 &&
         std::abs(pixel.blue - background.blue) < 128;
}

std::vector<bool> backgroundRegion(const Image& image, Rgb background, int x, int y) {
  std::vector<bool> seen(image.pixels.size(), false);
  std::vector<std::pair<int, int>> stack;
  const auto push = [&](int px, int py) {
    if (px < 0 || py < 0 || px >= image.width || py >= image.height) return;
    const std::size_t k = static_cast<std::size_t>(py) * image.width + px;
    if (seen[k] || !isBackground(image.at(px, py), background)) return;
    seen[k] = true;
    stack.emplace_back(px, py);
  };
  push(x, y);
  while (!stack.empty()) {
    const auto [px, py] = stack.back();
    stack.pop_back();
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        if (dx || dy) push(px + dx, py + dy);
      }
    }
  }
  return seen;
}

int countNot(const Image& image, Rgb background) {
  int n = 0;
  for (std::uint32_t p : image.pixels) n += Rgb::fromPacked(p) == background ? 0 : 1;
  return n;
}

void writePng(const Image& image, const std::string& path) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, image.width, image.height);
  cairo_surface_flush(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  for (int y = 0; y < image.height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
    for (int x = 0; x < image.width; ++x)
      row[x] = image.pixels[static_cast<std::size_t>(y) * image.width + x];
  }
  cairo_surface_mark_dirty(surface);
  EXPECT_EQ(cairo_surface_write_to_png(surface, path.c_str()), CAIRO_STATUS_SUCCESS) << path;
  cairo_surface_destroy(surface);
}

Image readPng(const std::string& path) {
  cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
  Image image;
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) image = imageOf(surface);
  cairo_surface_destroy(surface);
  return image;
}

}  // namespace render_test
