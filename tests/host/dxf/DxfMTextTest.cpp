#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <string>

#include "DxfTestDrawing.h"
#include "dxf/DxfText.h"
#include "zcad/db/ZcDbMText.h"
#include "zcad/ge/ZcGe.h"

using namespace vtcad::dxf;
using namespace vtcad::dxf::testing;

namespace {

// The groups of a written file ("\r\n" line ends, codes padded with blanks).
Groups groupsOf(const std::string& text) {
  Groups groups;
  std::istringstream in(text);
  std::string code, value;
  while (std::getline(in, code) && std::getline(in, value)) {
    if (!value.empty()) value.pop_back();  // the '\r' of the line end
    groups.emplace_back(std::stoi(code), value);
  }
  return groups;
}

Groups mtextGroups(const Groups& mtextBody) {
  Groups all{{0, "MTEXT"}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbMText"}};
  all.insert(all.end(), mtextBody.begin(), mtextBody.end());
  return all;
}

ZcDbMText* openMText(ZcDbDatabase& db, ZcDb::OpenMode mode = ZcDb::kForRead) {
  std::vector<ZcDbObjectId> ids = modelSpaceEntities(db);
  ZcDbMText* mtext = nullptr;
  if (ids.empty() || zcdbOpenObject(mtext, ids[0], mode) != Zcad::eOk) return nullptr;
  return mtext;
}

TEST(DxfMText, PlacementFormatAndLaterDirectionGroupWin) {
  // 50 (radians) comes after 11: the rotation wins.
  LoadResult loaded = mustLoad(entitiesOnly(mtextGroups({{10, "1"},
                                                         {20, "2"},
                                                         {30, "3"},
                                                         {40, "2.5"},
                                                         {41, "40"},
                                                         {46, "12"},
                                                         {71, "5"},
                                                         {72, "1"},
                                                         {1, "a\\Pb"},
                                                         {11, "0"},
                                                         {21, "1"},
                                                         {31, "0"},
                                                         {50, "0.5"},
                                                         {73, "2"},
                                                         {44, "1.5"},
                                                         {90, "1"},
                                                         {63, "3"},
                                                         {45, "1.2"},
                                                         {441, "0"}})));
  ASSERT_TRUE(loaded.ok());
  ZcDbMText* mtext = openMText(*loaded.database);
  ASSERT_NE(mtext, nullptr);
  EXPECT_TRUE(mtext->location().isEqualTo(ZcGePoint3d(1, 2, 3)));
  EXPECT_DOUBLE_EQ(mtext->textHeight(), 2.5);
  EXPECT_DOUBLE_EQ(mtext->width(), 40.0);
  EXPECT_DOUBLE_EQ(mtext->height(), 12.0);
  EXPECT_EQ(mtext->attachment(), ZcDbMText::kMiddleCenter);
  EXPECT_EQ(std::wstring(mtext->contentsConst()), L"a\\Pb");
  EXPECT_NEAR(mtext->rotation(), 0.5, 1e-12);
  EXPECT_EQ(mtext->lineSpacingStyle(), ZcDb::kExactly);
  EXPECT_DOUBLE_EQ(mtext->lineSpacingFactor(), 1.5);
  const double rotation = mtext->rotation();
  mtext->close();

  // The drawing direction and the background groups come back; the direction is written as
  // a vector.
  const std::string saved = writeDxf(*loaded.database);
  Groups groups = groupsOf(saved);
  for (auto kept : {std::pair<int, std::string>{72, "1"}, {90, "1"}, {63, "3"}, {45, "1.2"}, {441, "0"}}) {
    EXPECT_NE(std::find(groups.begin(), groups.end(), kept), groups.end()) << kept.first;
  }
  LoadResult again = mustLoad(saved);
  ASSERT_TRUE(again.ok());
  mtext = openMText(*again.database);
  ASSERT_NE(mtext, nullptr);
  EXPECT_NEAR(mtext->rotation(), rotation, 1e-12);
  EXPECT_EQ(std::wstring(mtext->contentsConst()), L"a\\Pb");
  EXPECT_EQ(mtext->attachment(), ZcDbMText::kMiddleCenter);
  mtext->close();

  // 11 after 50: the vector wins.
  LoadResult vectorLast = mustLoad(entitiesOnly(mtextGroups(
      {{10, "0"}, {20, "0"}, {40, "1"}, {1, "x"}, {50, "0.5"}, {11, "0"}, {21, "1"}, {31, "0"}})));
  mtext = openMText(*vectorLast.database);
  ASSERT_NE(mtext, nullptr);
  EXPECT_NEAR(mtext->rotation(), ZcGe::kHalfPi, 1e-12);
  mtext->close();
}

TEST(DxfMText, ADirectionRotatedByAnyAngleIsWrittenTheSameBySecondSave) {
  // The direction read back from a file was normalised again and its last digit moved, so
  // every LibreCAD sheet with a turned text differed between its first and second save.
  std::mt19937 rng(20261208);
  std::uniform_real_distribution<double> angle(-7.0, 7.0);
  for (int round = 0; round < 200; ++round) {
    const std::string rotation = std::to_string(angle(rng));
    LoadResult loaded = mustLoad(
        entitiesOnly(mtextGroups({{10, "1"}, {20, "2"}, {30, "0"}, {40, "2.5"}, {1, "x"}, {50, rotation}})));
    const std::string first = writeDxf(*loaded.database);
    LoadResult again = mustLoad(first);
    ASSERT_EQ(writeDxf(*again.database), first) << "rotation " << rotation;
  }
}

TEST(DxfMText, LongTextSurvivesInChunksThatEachDecodeAlone) {
  // 1000 characters of Chinese, escapes and ASCII: the 250-byte cuts fall on escapes and
  // multibyte characters.
  std::wstring contents;
  const std::wstring pieces[] = {L"\u4E2D", L"\\U+6587", L"ab", L"\\P", L"\u00E9", L"c"};
  for (size_t k = 0; contents.size() < 1000; ++k) contents += pieces[k % 6];
  contents.resize(1000);
  if (contents.back() == L'\\') contents.back() = L'x';

  LoadResult loaded = mustLoad(entitiesOnly(mtextGroups({{10, "0"}, {20, "0"}, {40, "1"}, {1, "x"}})));
  ASSERT_TRUE(loaded.ok());
  ZcDbMText* mtext = openMText(*loaded.database, ZcDb::kForWrite);
  ASSERT_NE(mtext, nullptr);
  ASSERT_EQ(mtext->setContents(contents.c_str()), Zcad::eOk);
  mtext->close();

  const std::string saved = writeDxf(*loaded.database);
  std::wstring joined;
  int chunks = 0;
  bool inMText = false;
  for (const auto& [code, value] : groupsOf(saved)) {
    if (code == 0) inMText = value == "MTEXT";
    if (!inMText || (code != 3 && code != 1)) continue;
    EXPECT_LE(value.size(), 250u);
    joined += TextDecoder().decode(value);  // each chunk alone: no cut character or escape
    ++chunks;
  }
  EXPECT_GE(chunks, 5);  // 1000 characters, many of three bytes
  const std::wstring expected = TextDecoder().decode(wideToUtf8(contents));
  EXPECT_EQ(joined, expected);

  LoadResult again = mustLoad(saved);
  ASSERT_TRUE(again.ok());
  mtext = openMText(*again.database);
  ASSERT_NE(mtext, nullptr);
  EXPECT_EQ(std::wstring(mtext->contentsConst()), expected);
  mtext->close();
}

TEST(DxfMText, ColumnsAndMalformedValuesAreKeptNotFatal) {
  // Column groups reuse 50 (a column height): kept, not read as the rotation.
  LoadResult loaded = mustRecover(entitiesOnly(mtextGroups({{10, "0"},
                                                            {20, "0"},
                                                            {40, "-1"},
                                                            {41, "abc"},
                                                            {71, "12"},
                                                            {44, "9"},
                                                            {1, "cols"},
                                                            {75, "2"},
                                                            {76, "2"},
                                                            {48, "10"},
                                                            {50, "2"},
                                                            {50, "3.5"}})));
  ASSERT_TRUE(loaded.ok());
  EXPECT_GE(loaded.messages.size(), 4u);
  ZcDbMText* mtext = openMText(*loaded.database);
  ASSERT_NE(mtext, nullptr);
  EXPECT_DOUBLE_EQ(mtext->rotation(), 0.0);
  EXPECT_EQ(mtext->attachment(), ZcDbMText::kTopLeft);
  EXPECT_EQ(std::wstring(mtext->contentsConst()), L"cols");
  mtext->close();
  const Groups groups = groupsOf(writeDxf(*loaded.database));
  const Groups columns{{75, "2"}, {76, "2"}, {48, "10"}, {50, "2"}, {50, "3.5"}};
  EXPECT_NE(std::search(groups.begin(), groups.end(), columns.begin(), columns.end()), groups.end());

  // An MTEXT without its insertion point is left out.
  LoadResult dropped = mustRecover(entitiesOnly(mtextGroups({{10, "nan"}, {20, "0"}, {1, "gone"}})));
  ASSERT_TRUE(dropped.ok());
  EXPECT_TRUE(modelSpaceEntities(*dropped.database).empty());
}

}  // namespace
