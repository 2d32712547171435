#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "DxfTestDrawing.h"
#include "zcad/db/ZcDbText.h"
#include "zcad/db/ZcDbTextStyleTable.h"
#include "zcad/ge/ZcGe.h"

using namespace vtcad::dxf;
using namespace vtcad::dxf::testing;

namespace {

constexpr double kTol = 1e-12;
constexpr double kDegree = ZcGe::kPi / 180.0;

std::wstring styleName(ZcDbObjectId id) {
  ZcDbTextStyleTableRecord* style = nullptr;
  if (zcdbOpenObject(style, id, ZcDb::kForRead) != Zcad::eOk) return L"";
  std::wstring name = style->name().kwszPtr();
  style->close();
  return name;
}

std::string entitiesSection(const std::string& text) {
  const size_t begin = text.find("ENTITIES");
  return begin == std::string::npos ? std::string() : text.substr(begin, text.find("ENDSEC", begin) - begin);
}

bool near(const ZcGePoint3d& a, const ZcGePoint3d& b, double tol = 1e-9) { return a.distanceTo(b) <= tol; }

// What a text reads as, compared after a save and a load.
struct TextValues {
  ZcGePoint3d position, alignment;
  ZcGeVector3d normal;
  std::wstring string, style;
  double height = 0, rotation = 0, widthFactor = 0, oblique = 0, thickness = 0;
  int horizontal = 0, vertical = 0;
  bool mirrorX = false, mirrorY = false;
};

TextValues valuesOf(ZcDbDatabase& db, size_t index) {
  TextValues v;
  ZcDbText* text = openModelSpaceEntity<ZcDbText>(db, index);
  EXPECT_NE(text, nullptr);
  if (!text) return v;
  v = {text->position(),        text->alignmentPoint(),       text->normal(),
       text->textStringConst(), styleName(text->textStyle()), text->height(),
       text->rotation(),        text->widthFactor(),          text->oblique(),
       text->thickness(),       text->horizontalMode(),       text->verticalMode(),
       text->isMirroredInX(),   text->isMirroredInY()};
  text->close();
  return v;
}

void expectSame(const TextValues& a, const TextValues& b) {
  EXPECT_TRUE(near(a.position, b.position));
  EXPECT_TRUE(near(a.alignment, b.alignment));
  EXPECT_TRUE(a.normal.isEqualTo(b.normal));
  EXPECT_EQ(a.string, b.string);
  EXPECT_EQ(a.style, b.style);
  EXPECT_NEAR(a.height, b.height, kTol);
  EXPECT_NEAR(a.rotation, b.rotation, kTol);
  EXPECT_NEAR(a.widthFactor, b.widthFactor, kTol);
  EXPECT_NEAR(a.oblique, b.oblique, kTol);
  EXPECT_NEAR(a.thickness, b.thickness, kTol);
  EXPECT_EQ(a.horizontal, b.horizontal);
  EXPECT_EQ(a.vertical, b.vertical);
  EXPECT_EQ(a.mirrorX, b.mirrorX);
  EXPECT_EQ(a.mirrorY, b.mirrorY);
}

TEST(DxfTextEntity, R12TextKeepsEveryPropertyThroughASave) {
  // Centred and middle-aligned on (10, 20), written backwards, slanted by -15 degrees.
  LoadResult loaded = mustLoad(entitiesOnly({{0, "TEXT"},
                                             {8, "0"},
                                             {39, "0.5"},
                                             {10, "1.5"},
                                             {20, "2.5"},
                                             {30, "0.0"},
                                             {40, "2.5"},
                                             {1, "Hello"},
                                             {50, "30"},
                                             {41, "0.8"},
                                             {51, "-15"},
                                             {7, "NOTES"},
                                             {71, "2"},
                                             {72, "1"},
                                             {11, "10"},
                                             {21, "20"},
                                             {31, "0"},
                                             {73, "2"}}));
  ASSERT_TRUE(loaded.ok());
  TextValues v = valuesOf(*loaded.database, 0);
  EXPECT_TRUE(near(v.position, ZcGePoint3d(1.5, 2.5, 0)));  // the file's point, not recomputed
  EXPECT_TRUE(near(v.alignment, ZcGePoint3d(10, 20, 0)));
  EXPECT_EQ(v.string, L"Hello");
  EXPECT_EQ(v.style, L"NOTES");
  EXPECT_DOUBLE_EQ(v.height, 2.5);
  EXPECT_NEAR(v.rotation, 30 * kDegree, kTol);
  EXPECT_DOUBLE_EQ(v.widthFactor, 0.8);
  EXPECT_NEAR(v.oblique, 345 * kDegree, kTol);
  EXPECT_DOUBLE_EQ(v.thickness, 0.5);
  EXPECT_EQ(v.horizontal, ZcDb::kTextCenter);
  EXPECT_EQ(v.vertical, ZcDb::kTextVertMid);
  EXPECT_TRUE(v.mirrorX);
  EXPECT_FALSE(v.mirrorY);

  // The file's angles come back as the file wrote them, and a second save writes the same.
  const std::string saved = writeDxf(*loaded.database);
  EXPECT_NE(saved.find(" 50\r\n30.0\r\n"), std::string::npos);
  EXPECT_NE(saved.find(" 51\r\n-15.0\r\n"), std::string::npos);
  LoadResult again = mustLoad(saved);
  ASSERT_TRUE(again.ok());
  expectSame(v, valuesOf(*again.database, 0));
  EXPECT_EQ(entitiesSection(writeDxf(*again.database)), entitiesSection(saved));
}

TEST(DxfTextEntity, AlignedTextTakesItsBaselineFromBothPoints) {
  // An "align" text from (0, 0) to (10, 10): its rotation follows from the points, whatever
  // order the groups come in, and the first point stays where the file put it.
  LoadResult loaded = mustLoad(entitiesOnly({{0, "TEXT"},
                                             {100, "AcDbEntity"},
                                             {8, "0"},
                                             {100, "AcDbText"},
                                             {10, "0.0"},
                                             {20, "0.0"},
                                             {30, "0.0"},
                                             {40, "1.0"},
                                             {1, "ALIGNED"},
                                             {72, "3"},
                                             {11, "10.0"},
                                             {21, "10.0"},
                                             {31, "0.0"},
                                             {50, "0.0"},
                                             {100, "AcDbText"}}));
  ASSERT_TRUE(loaded.ok());
  TextValues v = valuesOf(*loaded.database, 0);
  EXPECT_TRUE(near(v.position, ZcGePoint3d(0, 0, 0)));
  EXPECT_NEAR(v.rotation, 45 * kDegree, 1e-9);
  LoadResult again = saveAndLoad(*loaded.database);
  ASSERT_TRUE(again.ok());
  expectSame(v, valuesOf(*again.database, 0));
}

TEST(DxfTextEntity, PointsInTheObjectCoordinateSystemOfTheExtrusion) {
  // Extrusion -Z: the object x axis is world -x, so OCS (1, 2, 3) is world (-1, 2, -3).
  LoadResult loaded = mustLoad(entitiesOnly({{0, "TEXT"},
                                             {10, "1"},
                                             {20, "2"},
                                             {30, "3"},
                                             {40, "1"},
                                             {1, "under"},
                                             {210, "0"},
                                             {220, "0"},
                                             {230, "-1"}}));
  ASSERT_TRUE(loaded.ok());
  TextValues v = valuesOf(*loaded.database, 0);
  EXPECT_TRUE(near(v.position, ZcGePoint3d(-1, 2, -3)));
  EXPECT_TRUE(v.normal.isEqualTo(ZcGeVector3d(0, 0, -1)));
  LoadResult again = saveAndLoad(*loaded.database);
  ASSERT_TRUE(again.ok());
  expectSame(v, valuesOf(*again.database, 0));
}

TEST(DxfTextEntity, ChineseR12TextIsReadInItsCodePageAndWrittenAsUtf8) {
  // "中文" in GB18030 bytes, in an R12 drawing of code page 936.
  const std::string text = dxfText({{0, "SECTION"},
                                    {2, "HEADER"},
                                    {9, "$ACADVER"},
                                    {1, "AC1009"},
                                    {9, "$DWGCODEPAGE"},
                                    {3, "ANSI_936"},
                                    {0, "ENDSEC"},
                                    {0, "SECTION"},
                                    {2, "ENTITIES"},
                                    {0, "TEXT"},
                                    {8, "0"},
                                    {10, "0"},
                                    {20, "0"},
                                    {40, "1"},
                                    {1, "\xD6\xD0\xCE\xC4"},
                                    {0, "ENDSEC"},
                                    {0, "EOF"}});
  LoadResult loaded = mustLoad(text);
  ASSERT_TRUE(loaded.ok());
  EXPECT_EQ(valuesOf(*loaded.database, 0).string, L"\u4E2D\u6587");
  const std::string saved = writeDxf(*loaded.database);
  EXPECT_NE(saved.find("\r\n\xE4\xB8\xAD\xE6\x96\x87\r\n"), std::string::npos);
  LoadResult again = mustLoad(saved);
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(valuesOf(*again.database, 0).string, L"\u4E2D\u6587");
}

TEST(DxfTextEntity, MalformedValuesAreReportedNeverFatal) {
  LoadResult loaded = mustRecover(entitiesOnly({
      // No usable placement: left out.
      {0, "TEXT"},
      {10, "abc"},
      {20, "0"},
      {40, "1"},
      {1, "lost"},
      // Refused or unreadable values: the text stays with its defaults, the groups are kept.
      {0, "TEXT"},
      {10, "1"},
      {20, "1"},
      {40, "-2"},
      {41, "0"},
      {50, "x"},
      {51, "89"},
      {72, "9"},
      {73, "-1"},
      {71, "99999999"},
      {210, "0"},
      {220, "0"},
      {230, "0"},
      {1, "kept"},
      // A point without its y.
      {0, "TEXT"},
      {10, "1"},
      {1, "no y"},
  }));
  ASSERT_TRUE(loaded.ok());
  ASSERT_EQ(modelSpaceEntities(*loaded.database).size(), 1u);
  TextValues v = valuesOf(*loaded.database, 0);
  EXPECT_EQ(v.string, L"kept");
  EXPECT_DOUBLE_EQ(v.widthFactor, 1.0);
  EXPECT_EQ(v.horizontal, ZcDb::kTextLeft);
  EXPECT_TRUE(v.normal.isEqualTo(ZcGeVector3d::kZAxis));
  EXPECT_GE(loaded.messages.size(), 8u);
  // Saving writes the kept groups back; loading that again reports them again, no more.
  LoadResult again = saveAndLoad(*loaded.database);
  ASSERT_TRUE(again.ok());
  expectSame(v, valuesOf(*again.database, 0));
}

}  // namespace
