#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "DxfTestDrawing.h"
#include "zcad/db/ZcDbBlockReference.h"
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

// From the first ATTRIB to the end of the SEQEND record.
Groups attributeRecords(const Groups& groups) {
  auto first = std::find(groups.begin(), groups.end(), std::pair<int, std::string>{0, "ATTRIB"});
  auto seqend = std::find(first, groups.end(), std::pair<int, std::string>{0, "SEQEND"});
  auto end = seqend == groups.end()
                 ? seqend
                 : std::find_if(seqend + 1, groups.end(), [](const auto& g) { return g.first == 0; });
  return Groups(first, end);
}

// A drawing with block B and the given entities.
std::string withBlockB(const std::string& version, const Groups& entities) {
  Groups all{{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, version},   {0, "ENDSEC"},
             {0, "SECTION"}, {2, "BLOCKS"}, {0, "BLOCK"},    {8, "0"},       {2, "B"},
             {70, "0"},      {10, "0"},     {20, "0"},       {30, "0"},      {3, "B"},
             {0, "ENDBLK"},  {8, "0"},      {0, "ENDSEC"},   {0, "SECTION"}, {2, "ENTITIES"}};
  all.insert(all.end(), entities.begin(), entities.end());
  all.push_back({0, "ENDSEC"});
  all.push_back({0, "EOF"});
  return dxfText(all);
}

const Groups kAttributes{{0, "ATTRIB"},
                         {5, "31"},
                         {330, "30"},
                         {100, "AcDbEntity"},
                         {8, "0"},
                         {100, "AcDbText"},
                         {10, "5.0"},
                         {20, "6.0"},
                         {30, "0.0"},
                         {40, "1.0"},
                         {1, "VALUE 1"},
                         {100, "AcDbAttribute"},
                         {2, "TAG1"},
                         {70, "0"},
                         {0, "ATTRIB"},
                         {5, "32"},
                         {330, "30"},
                         {100, "AcDbEntity"},
                         {8, "0"},
                         {100, "AcDbText"},
                         {10, "5.0"},
                         {20, "7.0"},
                         {30, "0.0"},
                         {40, "1.0"},
                         {1, "\xE4\xB8\xAD\xE6\x96\x87"},
                         {100, "AcDbAttribute"},
                         {2, "TAG2"},
                         {70, "0"},
                         {0, "SEQEND"},
                         {5, "33"},
                         {330, "30"},
                         {100, "AcDbEntity"},
                         {8, "0"}};

TEST(DxfInsert, ReferenceWithAttributesKeepsThemByteForByte) {
  Groups entities{{0, "INSERT"}, {5, "30"},   {100, "AcDbEntity"}, {8, "0"},    {100, "AcDbBlockReference"},
                  {66, "1"},     {2, "B"},    {10, "5.0"},         {20, "6.0"}, {30, "0.0"},
                  {41, "2.0"},   {42, "3.0"}, {50, "90.0"}};
  entities.insert(entities.end(), kAttributes.begin(), kAttributes.end());
  LoadResult loaded = mustLoad(withBlockB("AC1027", entities));
  ASSERT_TRUE(loaded.ok());
  auto* ref = openModelSpaceEntity<ZcDbBlockReference>(*loaded.database, 0);
  ASSERT_NE(ref, nullptr);
  EXPECT_TRUE(ref->position().isEqualTo(ZcGePoint3d(5, 6, 0)));
  EXPECT_DOUBLE_EQ(ref->scaleFactors().sx, 2.0);
  EXPECT_DOUBLE_EQ(ref->scaleFactors().sy, 3.0);
  EXPECT_DOUBLE_EQ(ref->scaleFactors().sz, 1.0);
  EXPECT_NEAR(ref->rotation(), ZcGe::kHalfPi, 1e-12);
  EXPECT_FALSE(ref->blockTableRecord().isNull());
  ref->close();

  const std::string saved = writeDxf(*loaded.database);
  EXPECT_EQ(attributeRecords(groupsOf(saved)), kAttributes);
  const Groups groups = groupsOf(saved);
  EXPECT_NE(std::find(groups.begin(), groups.end(), std::pair<int, std::string>{66, "1"}), groups.end());

  LoadResult again = mustLoad(saved);
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(attributeRecords(groupsOf(writeDxf(*again.database))), kAttributes);
  ref = openModelSpaceEntity<ZcDbBlockReference>(*again.database, 0);
  ASSERT_NE(ref, nullptr);
  EXPECT_NEAR(ref->rotation(), ZcGe::kHalfPi, 1e-12);
  ref->close();
}

TEST(DxfInsert, R12MultipleInsertInItsExtrusionKeepsColumnsAndRows) {
  // Extrusion -Z: OCS (1, 2, 3) is world (-1, 2, -3).
  LoadResult loaded = mustLoad(withBlockB("AC1009", {{0, "INSERT"},
                                                     {8, "0"},
                                                     {2, "B"},
                                                     {10, "1"},
                                                     {20, "2"},
                                                     {30, "3"},
                                                     {70, "3"},
                                                     {71, "2"},
                                                     {44, "5.0"},
                                                     {45, "6.0"},
                                                     {210, "0"},
                                                     {220, "0"},
                                                     {230, "-1"}}));
  ASSERT_TRUE(loaded.ok());
  for (int pass = 0; pass < 2; ++pass) {
    auto* ref = openModelSpaceEntity<ZcDbBlockReference>(*loaded.database, 0);
    ASSERT_NE(ref, nullptr);
    EXPECT_TRUE(ref->position().isEqualTo(ZcGePoint3d(-1, 2, -3))) << pass;
    EXPECT_TRUE(ref->normal().isEqualTo(ZcGeVector3d(0, 0, -1))) << pass;
    ref->close();
    const std::string saved = writeDxf(*loaded.database);
    const Groups groups = groupsOf(saved);
    const Groups array{{70, "3"}, {71, "2"}, {44, "5.0"}, {45, "6.0"}};
    EXPECT_NE(std::search(groups.begin(), groups.end(), array.begin(), array.end()), groups.end()) << pass;
    EXPECT_NE(std::find(groups.begin(), groups.end(), std::pair<int, std::string>{100, "AcDbMInsertBlock"}),
              groups.end())
        << pass;
    loaded = mustLoad(saved);
    ASSERT_TRUE(loaded.ok());
  }
}

TEST(DxfInsert, UnusableReferencesAreLeftOutWithAMessage) {
  Groups entities{{0, "INSERT"}, {8, "0"}, {66, "1"}, {2, "NOPE"}, {10, "0"}, {20, "0"}};
  entities.insert(entities.end(), kAttributes.begin(), kAttributes.end());
  const Groups more{// No block name.
                    {0, "INSERT"},
                    {8, "0"},
                    {10, "0"},
                    {20, "0"},
                    // No usable position.
                    {0, "INSERT"},
                    {8, "0"},
                    {2, "B"},
                    {10, "x"},
                    {20, "0"},
                    // A zero scale and an unreadable rotation: kept as groups, the reference stays.
                    {0, "INSERT"},
                    {8, "0"},
                    {2, "B"},
                    {10, "1"},
                    {20, "1"},
                    {41, "0"},
                    {50, "abc"}};
  entities.insert(entities.end(), more.begin(), more.end());
  LoadResult loaded = mustRecover(withBlockB("AC1009", entities));
  ASSERT_TRUE(loaded.ok());
  // The reference to a block the file never defines stays, with an empty block made for it
  // (R12 files may define a block after its first use); the other two are left out.
  ASSERT_EQ(modelSpaceEntities(*loaded.database).size(), 2u);
  EXPECT_TRUE(std::any_of(loaded.messages.begin(), loaded.messages.end(),
                          [](const LoadMessage& m) { return m.text.find("'NOPE'") != std::string::npos; }));
  auto* ref = openModelSpaceEntity<ZcDbBlockReference>(*loaded.database, 1);
  ASSERT_NE(ref, nullptr);
  EXPECT_DOUBLE_EQ(ref->scaleFactors().sx, 1.0);
  ref->close();
  LoadResult again = saveAndLoad(*loaded.database);
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(modelSpaceEntities(*again.database).size(), 2u);
}

// Found by fuzzing: a block name with NUL bytes (a damaged ASCII file) named the block ""
// once handed on as a C string, while the reference kept the whole name; the saved drawing
// was then refused ("insert of block '', which does not exist"). The NUL is kept in its
// written form, the same in the block and in the reference.
TEST(DxfInsert, ANulInABlockNameKeepsTheReferenceToItsBlock) {
  const std::string name("\0\0DOOR", 6);
  const std::string text =
      dxfText({{0, "SECTION"}, {2, "BLOCKS"},  {0, "BLOCK"},    {8, "0"},      {2, name},     {70, "0"},
               {10, "0"},      {20, "0"},      {30, "0"},       {3, name},     {0, "ENDBLK"}, {8, "0"},
               {0, "ENDSEC"},  {0, "SECTION"}, {2, "ENTITIES"}, {0, "INSERT"}, {8, "0"},      {2, name},
               {10, "1"},      {20, "2"},      {0, "ENDSEC"},   {0, "EOF"}});
  LoadResult loaded = mustLoad(text);
  ASSERT_TRUE(loaded.ok());
  LoadResult again = saveAndLoad(*loaded.database);
  ASSERT_TRUE(again.ok());
  auto* ref = openModelSpaceEntity<ZcDbBlockReference>(*again.database, 0);
  ASSERT_NE(ref, nullptr);
  ZcDbBlockTableRecord* block = nullptr;
  ASSERT_EQ(zcdbOpenObject(block, ref->blockTableRecord(), ZcDb::kForRead), Zcad::eOk);
  EXPECT_STREQ(block->name().kwszPtr(), L"^@^@DOOR");
  block->close();
  ref->close();
}

}  // namespace
