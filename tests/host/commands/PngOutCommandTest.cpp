// PNGOUT from a script: the file name, the selection, and a picture of only what was selected;
// a file that cannot be written is said so and nothing is left.
#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "EditCommandTestSupport.h"
#include "editor/ViewTransform.h"

namespace edit_test {
namespace {

class PngOutCommandTest : public EditCommandTest {
 protected:
  void SetUp() override {
    EditCommandTest::SetUp();
    dir_ = std::filesystem::temp_directory_path() / ("vtcad-pngout-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
    EditCommandTest::TearDown();
  }
  // The picture's pixel at a world point as 0x00RRGGBB.
  static std::uint32_t pixelAt(cairo_surface_t* png, const ZcGePoint3d& world) {
    const ZcGePoint2d p = vtcad::editor::ViewTransform::current().pixelOf(world);
    const auto* data = cairo_image_surface_get_data(png);
    const int stride = cairo_image_surface_get_stride(png);
    const int x = static_cast<int>(std::lround(p.x)), y = static_cast<int>(std::lround(p.y));
    return reinterpret_cast<const std::uint32_t*>(data + y * stride)[x] & 0xFFFFFF;
  }
  std::filesystem::path dir_;
};

TEST_F(PngOutCommandTest, WritesTheSelectedEntitiesOnlyAtScreenSize) {
  const ZcDbObjectId kept = addLine({10, 100, 0}, {400, 100, 0});
  addLine({10, 200, 0}, {400, 200, 0});
  const std::filesystem::path out = dir_ / "view.png";
  run(L"PNGOUT " + out.wstring() + L" " + pick(kept) + L" \"\"\n");
  ASSERT_TRUE(said("Wrote")) << transcript_;
  cairo_surface_t* png = cairo_image_surface_create_from_png(out.c_str());
  ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
  const vtcad::editor::ScreenSize screen = vtcad::editor::ViewTransform::current().screen();
  EXPECT_EQ(cairo_image_surface_get_width(png), screen.width);
  EXPECT_EQ(cairo_image_surface_get_height(png), screen.height);
  EXPECT_GT(pixelAt(png, {200, 100, 0}) & 0xFF, 0x80u) << "the selected line, white on black";
  EXPECT_EQ(pixelAt(png, {200, 200, 0}), 0u) << "the other line is not drawn";
  EXPECT_EQ(pixelAt(png, {200, 150, 0}), 0u) << "the model space background";
  cairo_surface_destroy(png);
}

// The picture's box tree is kept between pictures; a change and its undo must reach it: a line
// moved from outside the view into it, then moved back by U.
TEST_F(PngOutCommandTest, APictureAfterMoveAndAfterUShowsTheEntityWhereItIs) {
  const ZcDbObjectId line = addLine({1000, 100, 0}, {1100, 100, 0});
  const auto picture = [&](const char* name) {
    const std::filesystem::path out = dir_ / name;
    run(L"PNGOUT " + out.wstring() + L" ALL \"\"\n");
    cairo_surface_t* png = cairo_image_surface_create_from_png(out.c_str());
    EXPECT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS) << transcript_;
    return png;
  };
  cairo_surface_t* before = picture("before.png");
  EXPECT_EQ(pixelAt(before, {150, 100, 0}), 0u);
  cairo_surface_destroy(before);

  run(L"MOVE " + pick(line) + L" \n0,0\n-900,0\n");
  cairo_surface_t* moved = picture("moved.png");
  EXPECT_GT(pixelAt(moved, {150, 100, 0}) & 0xFF, 0x80u) << "the line where MOVE put it";
  cairo_surface_destroy(moved);

  run(L"U\n");
  cairo_surface_t* undone = picture("undone.png");
  EXPECT_EQ(pixelAt(undone, {150, 100, 0}), 0u) << "U took the line back out of the view";
  cairo_surface_destroy(undone);
}

TEST_F(PngOutCommandTest, LineweightsShowOnceSetvarTurnsLwdisplayOn) {
  const ZcDbObjectId line = addLine({10, 100, 0}, {400, 100, 0});
  {
    ZcDbEntity* entity = nullptr;
    ASSERT_EQ(zcdbOpenObject(entity, line, ZcDb::kForWrite), Zcad::eOk);
    entity->setLineWeight(ZcDb::kLnWt211);  // 8 pixels wide when shown
    entity->close();
  }
  // Three pixels beside the line's middle (the view shows 297 units on 1000 pixels).
  const ZcGePoint3d beside(200, 100 + 3 * 0.297, 0);
  for (int lwdisplay : {0, 1}) {
    const std::filesystem::path out = dir_ / ("lwdisplay" + std::to_string(lwdisplay) + ".png");
    run(L"SETVAR LWDISPLAY " + std::to_wstring(lwdisplay) + L"\nPNGOUT " + out.wstring() + L" ALL \"\"\n");
    cairo_surface_t* png = cairo_image_surface_create_from_png(out.c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS) << transcript_;
    EXPECT_EQ(pixelAt(png, beside) > 0x808080u, lwdisplay == 1) << "LWDISPLAY " << lwdisplay;
    cairo_surface_destroy(png);
  }
}

TEST_F(PngOutCommandTest, AFileThatCannotBeWrittenIsSaidSo) {
  addLine({10, 100, 0}, {400, 100, 0});
  const std::filesystem::path out = dir_ / "missing-folder" / "view";
  run(L"PNGOUT " + out.wstring() + L" ALL \"\"\n");
  EXPECT_TRUE(said("Cannot write the picture: cannot save")) << transcript_;
  EXPECT_TRUE(said("view.png")) << "the extension is added";
  EXPECT_FALSE(std::filesystem::exists(dir_ / "missing-folder"));
}

}  // namespace
}  // namespace edit_test
