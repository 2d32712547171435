// WMFOUT and WMFIN from scripts: a metafile of texts and curves inserted on the view's
// upper-left corner at scale 2 lies where its entities were; a file that is no metafile is
// said so and nothing is added.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "EditCommandTestSupport.h"
#include "commands/CurrentView.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/db/ZcDbMText.h"
#include "zcad/db/ZcDbText.h"

namespace edit_test {
namespace {

class WmfCommandsTest : public EditCommandTest {
 protected:
  void SetUp() override {
    EditCommandTest::SetUp();
    dir_ = std::filesystem::temp_directory_path() / ("vtcad-wmf-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::filesystem::remove_all(dir_);
    EditCommandTest::TearDown();
  }
  static ZcDbExtents extentsOf(ZcDbObjectId id) {
    Opened<ZcDbEntity> entity(id);
    ZcDbExtents box;
    EXPECT_EQ(entity->getGeomExtents(box), Zcad::eOk);
    return box;
  }
  // "x,y" of the view's upper-left corner.
  std::wstring upperLeft() {
    vtcad::commands::ViewArea view;
    EXPECT_EQ(vtcad::commands::getCurrentView(db_.get(), view), Zcad::eOk);
    return std::to_wstring(view.center.x - view.width / 2) + L"," +
           std::to_wstring(view.center.y + view.height / 2);
  }
  std::filesystem::path dir_;
};

TEST_F(WmfCommandsTest, AMetafileInsertedAtTwiceItsSizeOnTheViewsCornerLiesWhereItsEntitiesWere) {
  const ZcDbObjectId circle = addCircle({120, 90, 0}, 40);
  auto* text = new ZcDbText(ZcGePoint3d(200, 150, 0), L"Wmf 图纸", ZcDbObjectId::kNull, 25.0, 0.0);
  const ZcDbObjectId textId = add(text);
  const std::filesystem::path file = dir_ / "shapes.wmf";
  run(L"WMFOUT " + file.wstring() + L" ALL \"\"\n");
  ASSERT_TRUE(said("Wrote")) << transcript_;
  run(L"WMFIN " + file.wstring() + L" " + upperLeft() + L" 2 2 0\n");
  ASSERT_TRUE(said("as block WMF0")) << transcript_;
  const std::vector<ZcDbObjectId> all = entities();
  ASSERT_EQ(all.size(), 3u);
  ZcDbExtents expected = extentsOf(circle);
  const ZcDbExtents textBox = extentsOf(textId);
  expected.addExt(textBox);
  const ZcDbExtents got = extentsOf(all.back());
  // A logical unit is 1/32000 of the view's width; the last glyph's ink ends before the
  // text's box by its side bearing, a small part of the height.
  EXPECT_NEAR(got.minPoint().x, expected.minPoint().x, 0.05) << "the circle's left";
  EXPECT_NEAR(got.minPoint().y, expected.minPoint().y, 0.05) << "the circle's bottom";
  EXPECT_NEAR(got.maxPoint().x, expected.maxPoint().x, 0.1 * 25.0) << "the text's right";
  EXPECT_NEAR(got.maxPoint().y, expected.maxPoint().y, 0.05) << "the ideographs' top";
}

TEST_F(WmfCommandsTest, AMultilineTextIsWrittenAsTheOutlinesOfItsLines) {
  auto* mtext = new ZcDbMText;
  mtext->setLocation({100, 200, 0});
  mtext->setTextHeight(20.0);
  mtext->setWidth(150.0);
  mtext->setContents(L"Wrapped multiline {\\H1.5x;text} 文字");
  const ZcDbObjectId mtextId = add(mtext);
  const std::filesystem::path file = dir_ / "mtext.wmf";
  run(L"WMFOUT " + file.wstring() + L" ALL \"\"\n");
  ASSERT_TRUE(said("Wrote")) << transcript_;
  run(L"WMFIN " + file.wstring() + L" " + upperLeft() + L" 2 2 0\n");
  ASSERT_TRUE(said("as block WMF0")) << transcript_;
  const ZcDbExtents expected = extentsOf(mtextId);
  const ZcDbExtents got = extentsOf(entities().back());
  // The glyphs' ink fills the box but for side bearings and the descender-free last line.
  EXPECT_NEAR(got.minPoint().x, expected.minPoint().x, 0.1 * 20.0) << "left";
  EXPECT_NEAR(got.maxPoint().x, expected.maxPoint().x, 0.1 * 30.0) << "right";
  EXPECT_NEAR(got.maxPoint().y, expected.maxPoint().y, 0.15 * 30.0) << "top";
  EXPECT_NEAR(got.minPoint().y, expected.minPoint().y, 0.3 * 20.0) << "bottom";
  EXPECT_GT(expected.maxPoint().y - expected.minPoint().y, 2 * 20.0) << "wrapped to several lines";
}

TEST_F(WmfCommandsTest, AFileThatIsNoMetafileIsSaidSoAndNothingIsAdded) {
  addLine({0, 0, 0}, {10, 10, 0});
  const std::filesystem::path file = dir_ / "broken.wmf";
  std::ofstream(file) << "this is not a metafile at all";
  run(L"WMFIN " + file.wstring() + L" 0,0 1 1 0\n");
  EXPECT_TRUE(said("not a Windows metafile")) << transcript_;
  EXPECT_EQ(entities().size(), 1u);
  run(L"WMFIN " + (dir_ / "missing").wstring() + L"\n");
  EXPECT_TRUE(said("missing.wmf: not a file")) << transcript_;
}

}  // namespace
}  // namespace edit_test
