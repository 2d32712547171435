// Symbol table records read into their classes and written back: what the classes hold
// survives a save and load, what they do not hold is written back as the file had it, and
// R12 records without subclass markers read the same as R2013 ones.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "DxfTestDrawing.h"
#include "dxf/DxfRecordReader.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDimStyleTable.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/db/ZcDbLinetypeTable.h"
#include "zcad/db/ZcDbRegAppTable.h"
#include "zcad/db/ZcDbTextStyleTable.h"
#include "zcad/db/ZcDbUCSTable.h"
#include "zcad/db/ZcDbViewTable.h"
#include "zcad/db/ZcDbViewportTable.h"

using namespace vtcad::dxf;
using namespace vtcad::dxf::testing;

namespace {

Groups join(std::initializer_list<Groups> parts) {
  Groups all;
  for (const Groups& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

Groups table(const std::string& name, std::initializer_list<Groups> records) {
  Groups all{{0, "TABLE"}, {2, name}, {70, std::to_string(records.size())}};
  for (const Groups& r : records) all.insert(all.end(), r.begin(), r.end());
  all.push_back({0, "ENDTAB"});
  return all;
}

std::string tablesDrawing(const Groups& tables) {
  return dxfText(join({{{0, "SECTION"}, {2, "TABLES"}}, tables, {{0, "ENDSEC"}, {0, "EOF"}}}));
}

// The groups after (0, type) of the first record of that type named `name` in DXF text.
Groups recordOf(const std::string& text, std::string_view type, std::string_view name) {
  TagReader tags(text);
  RecordReader records(tags);
  Record record;
  while (records.next(record)) {
    const Tag* n = record.find(2);
    if (record.type() != type || !n || n->trimmed() != name) continue;
    Groups groups;
    for (const Tag& t : record.tags) groups.emplace_back(t.code, std::string(t.trimmed()));
    return groups;
  }
  return {};
}

// The groups of `record` from the first of `code` on, `count` of them.
Groups groupsFrom(const Groups& record, int code, size_t count) {
  for (size_t i = 0; i < record.size(); ++i) {
    if (record[i].first == code)
      return Groups(record.begin() + i, record.begin() + std::min(record.size(), i + count));
  }
  return {};
}

size_t countOf(const Groups& record, int code) {
  return static_cast<size_t>(
      std::count_if(record.begin(), record.end(), [&](const auto& g) { return g.first == code; }));
}

template <typename T>
T* openRecord(ZcDbObjectId tableId, const wchar_t* name) {
  ZcDbSymbolTable* t = nullptr;
  if (zcdbOpenObject(t, tableId, ZcDb::kForRead) != Zcad::eOk) return nullptr;
  ZcDbObjectId id;
  Zcad::ErrorStatus es = t->getAt(name, id);
  t->close();
  T* record = nullptr;
  if (es != Zcad::eOk || zcdbOpenObject(record, id, ZcDb::kForRead) != Zcad::eOk) return nullptr;
  return record;
}

std::wstring nameOf(ZcDbObjectId id) {
  ZcDbSymbolTableRecord* r = nullptr;
  if (zcdbOpenObject(r, id, ZcDb::kForRead) != Zcad::eOk) return L"";
  std::wstring name = r->name().kwszPtr();
  r->close();
  return name;
}

bool mentions(const LoadResult& result, const std::string& text) {
  return std::any_of(result.messages.begin(), result.messages.end(),
                     [&](const LoadMessage& m) { return m.text.find(text) != std::string::npos; });
}

const Groups kDashedLinetype = {{0, "LTYPE"},
                                {5, "14"},
                                {100, "AcDbSymbolTableRecord"},
                                {100, "AcDbLinetypeTableRecord"},
                                {2, "DASHED"},
                                {70, "0"},
                                {3, "__ __ __"},
                                {72, "65"},
                                {73, "2"},
                                {40, "0.75"},
                                {49, "0.5"},
                                {74, "0"},
                                {49, "-0.25"},
                                {74, "0"}};

}  // namespace

TEST(DxfTableRecords, LayerStateColourLinetypeAndWeightSurviveASaveAndTheFlagsTheClassLacksComeBack) {
  // Frozen, locked, off (negative colour), a true colour, not plotted, 0.35 mm; 2 (frozen in
  // new viewports) and 64 (referenced) are no state of the class; the plot style reference
  // is kept.
  Groups walls = {{0, "LAYER"},
                  {5, "20"},
                  {100, "AcDbSymbolTableRecord"},
                  {100, "AcDbLayerTableRecord"},
                  {2, "Walls"},
                  {70, "71"},
                  {62, "-5"},
                  {420, "1193046"},
                  {6, "DASHED"},
                  {290, "0"},
                  {370, "35"},
                  {390, "14"}};
  std::string text = tablesDrawing(join({table("LTYPE", {kDashedLinetype}), table("LAYER", {walls})}));
  LoadResult first = mustLoad(text);
  ASSERT_TRUE(first.ok());
  std::string written = writeDxf(*first.database);
  LoadResult second = mustLoad(written);
  for (ZcDbDatabase* db : {first.database.get(), second.database.get()}) {
    auto* layer = openRecord<ZcDbLayerTableRecord>(db->layerTableId(), L"Walls");
    ASSERT_NE(layer, nullptr);
    EXPECT_TRUE(layer->isFrozen());
    EXPECT_TRUE(layer->isLocked());
    EXPECT_TRUE(layer->isOff());
    EXPECT_FALSE(layer->isPlottable());
    EXPECT_TRUE(layer->color().isByColor());
    EXPECT_EQ(layer->color().trueColorValue(), 0x123456u);
    EXPECT_EQ(layer->lineWeight(), ZcDb::kLnWt035);
    EXPECT_EQ(nameOf(layer->linetypeObjectId()), L"DASHED");
    layer->close();
  }
  Groups record = recordOf(written, "LAYER", "Walls");
  EXPECT_EQ(
      groupsFrom(record, 100, 4),
      (Groups{{100, "AcDbSymbolTableRecord"}, {100, "AcDbLayerTableRecord"}, {2, "Walls"}, {70, "71"}}));
  EXPECT_EQ(groupsFrom(record, 420, 1), (Groups{{420, "1193046"}}));
  ASSERT_EQ(countOf(record, 62), 1u);
  EXPECT_LT(std::stoi(groupsFrom(record, 62, 1).front().second), 0)
      << "an off layer writes a negative colour";
  // The plot style still names the linetype record, by its handle.
  EXPECT_EQ(groupsFrom(record, 390, 1), (Groups{{390, "14"}}));
}

TEST(DxfTableRecords, R12LayersAndLinetypesWithoutMarkersReadTheSameAndAreWrittenWithThem) {
  Groups ltype = {{0, "LTYPE"}, {2, "HIDDEN"}, {70, "64"},   {3, "- - -"},  {72, "65"},
                  {73, "2"},    {40, "0.375"}, {49, "0.25"}, {49, "-0.125"}};
  Groups layer = {{0, "LAYER"}, {2, "PIPES"}, {70, "4"}, {62, "3"}, {6, "HIDDEN"}};
  LoadResult first = mustLoad(tablesDrawing(join({table("LTYPE", {ltype}), table("LAYER", {layer})})));
  ASSERT_TRUE(first.ok());
  EXPECT_TRUE(first.messages.empty()) << formatLoadMessage(first.messages.front());
  std::string written = writeDxf(*first.database);
  LoadResult second = mustLoad(written);
  for (ZcDbDatabase* db : {first.database.get(), second.database.get()}) {
    auto* pipes = openRecord<ZcDbLayerTableRecord>(db->layerTableId(), L"PIPES");
    ASSERT_NE(pipes, nullptr);
    EXPECT_TRUE(pipes->isLocked());
    EXPECT_FALSE(pipes->isFrozen());
    EXPECT_FALSE(pipes->isOff());
    EXPECT_EQ(pipes->color().colorIndex(), 3);
    EXPECT_EQ(nameOf(pipes->linetypeObjectId()), L"HIDDEN");
    pipes->close();
    auto* hidden = openRecord<ZcDbLinetypeTableRecord>(db->linetypeTableId(), L"HIDDEN");
    ASSERT_NE(hidden, nullptr);
    ASSERT_EQ(hidden->numDashes(), 2);
    EXPECT_EQ(hidden->dashLengthAt(0), 0.25);
    EXPECT_EQ(hidden->dashLengthAt(1), -0.125);
    EXPECT_EQ(hidden->patternLength(), 0.375);
    hidden->close();
  }
  // R2013 wants a 74 per dash; the referenced flag of the file comes back.
  Groups record = recordOf(written, "LTYPE", "HIDDEN");
  EXPECT_EQ(groupsFrom(record, 2, 2), (Groups{{2, "HIDDEN"}, {70, "64"}}));
  EXPECT_EQ(groupsFrom(record, 73, 6),
            (Groups{{73, "2"}, {40, "0.375"}, {49, "0.25"}, {74, "0"}, {49, "-0.125"}, {74, "0"}}));
}

TEST(DxfTableRecords, ComplexLinetypeDashesKeepTheirTextAndShapeInOrder) {
  Groups style = {{0, "STYLE"},
                  {5, "11"},
                  {100, "AcDbSymbolTableRecord"},
                  {100, "AcDbTextStyleTableRecord"},
                  {2, "Standard"},
                  {70, "0"},
                  {40, "0.0"},
                  {41, "1.0"},
                  {50, "0.0"},
                  {71, "0"},
                  {42, "2.5"},
                  {3, "txt"},
                  {4, ""}};
  // A gas line: dash, the text "GAS" turned by 0.1 rad and moved, gap, a shape (number 132).
  Groups gas = {{0, "LTYPE"},
                {5, "30"},
                {100, "AcDbSymbolTableRecord"},
                {100, "AcDbLinetypeTableRecord"},
                {2, "GAS_LINE"},
                {70, "0"},
                {3, "Gas line ----GAS----"},
                {72, "65"},
                {73, "3"},
                {40, "1.2"},
                {49, "0.5"},
                {74, "0"},
                {49, "-0.2"},
                {74, "2"},
                {75, "0"},
                {340, "11"},
                {46, "0.1"},
                {50, "0.1"},
                {44, "-0.1"},
                {45, "-0.05"},
                {9, "GAS"},
                {49, "-0.5"},
                {74, "5"},
                {75, "132"},
                {340, "11"},
                {46, "0.25"},
                {50, "0.0"},
                {44, "0.0"},
                {45, "0.0"}};
  LoadResult first = mustLoad(tablesDrawing(join({table("STYLE", {style}), table("LTYPE", {gas})})));
  ASSERT_TRUE(first.ok());
  std::string written = writeDxf(*first.database);
  LoadResult second = mustLoad(written);
  for (ZcDbDatabase* db : {first.database.get(), second.database.get()}) {
    auto* lt = openRecord<ZcDbLinetypeTableRecord>(db->linetypeTableId(), L"GAS_LINE");
    ASSERT_NE(lt, nullptr);
    ASSERT_EQ(lt->numDashes(), 3);
    ZcString text;
    ASSERT_EQ(lt->textAt(1, text), Zcad::eOk);
    EXPECT_EQ(text.str(), L"GAS");
    EXPECT_EQ(lt->shapeRotationAt(1), 0.1);
    EXPECT_EQ(lt->shapeOffsetAt(1).y, -0.05);
    EXPECT_EQ(nameOf(lt->shapeStyleAt(1)), L"Standard");
    EXPECT_EQ(lt->shapeNumberAt(2), 132);
    EXPECT_TRUE(lt->shapeIsUcsOrientedAt(2));
    EXPECT_EQ(lt->shapeScaleAt(2), 0.25);
    lt->close();
  }
  // The dashes as the file gave them (a text dash's shape number is 0).
  Groups record = recordOf(written, "LTYPE", "GAS_LINE");
  EXPECT_EQ(groupsFrom(record, 73, 100), Groups(gas.begin() + 8, gas.end()));
}

TEST(DxfTableRecords, PatternTheClassCannotHoldIsWrittenBackGroupForGroup) {
  // Thirteen dashes (the class holds twelve), and a dash whose flags say text without one.
  Groups many = {{0, "LTYPE"}, {2, "MANY"}, {70, "0"}, {3, "many"}, {72, "65"}, {73, "13"}, {40, "1.3"}};
  for (int i = 0; i < 13; ++i) many.push_back({49, i % 2 ? "-0.1" : "0.1"});
  Groups odd = {{0, "LTYPE"}, {2, "ODD"},  {70, "0"},   {3, ""},     {72, "65"},
                {73, "1"},    {40, "1.0"}, {49, "1.0"}, {74, "2"},   {75, "0"},
                {340, "0"},   {46, "1.0"}, {50, "0.0"}, {44, "0.0"}, {45, "0.0"}};
  LoadResult first = mustLoad(tablesDrawing(table("LTYPE", {many, odd})));
  ASSERT_TRUE(first.ok());
  std::string once = writeDxf(*first.database);
  std::string twice = writeDxf(*mustLoad(once).database);
  for (const std::string* written : {&once, &twice}) {
    EXPECT_EQ(groupsFrom(recordOf(*written, "LTYPE", "MANY"), 73, 100), Groups(many.begin() + 5, many.end()));
    EXPECT_EQ(groupsFrom(recordOf(*written, "LTYPE", "ODD"), 73, 100), Groups(odd.begin() + 5, odd.end()));
  }
  // What fits is still there to draw with.
  auto* lt = openRecord<ZcDbLinetypeTableRecord>(first.database->linetypeTableId(), L"MANY");
  ASSERT_NE(lt, nullptr);
  EXPECT_EQ(lt->numDashes(), 12);
  EXPECT_EQ(lt->patternLength(), 1.3);
  lt->close();
}

TEST(DxfTableRecords, TextStyleFontsSlantAndFlagsSurviveAndABackwardSlantReadsAsNegative) {
  Groups narrow = {{0, "STYLE"},  {2, "NARROW"}, {70, "4"},   {40, "2.5"},       {41, "0.8"},
                   {50, "345.0"}, {71, "6"},     {42, "3.5"}, {3, "romans.shx"}, {4, "gbcbig.shx"}};
  Groups shapes = {{0, "STYLE"}, {2, "SHAPES"}, {70, "1"},   {40, "0.0"},         {41, "1.0"},
                   {50, "0.0"},  {71, "0"},     {42, "1.0"}, {3, "ltypeshp.shx"}, {4, ""}};
  LoadResult first = mustLoad(tablesDrawing(table("STYLE", {narrow, shapes})));
  ASSERT_TRUE(first.ok());
  std::string written = writeDxf(*first.database);
  // Angles come back as the decimal degrees they were.
  EXPECT_EQ(groupsFrom(recordOf(written, "STYLE", "NARROW"), 50, 1), (Groups{{50, "-15.0"}}));
  LoadResult second = mustLoad(written);
  for (ZcDbDatabase* db : {first.database.get(), second.database.get()}) {
    auto* style = openRecord<ZcDbTextStyleTableRecord>(db->textStyleTableId(), L"NARROW");
    ASSERT_NE(style, nullptr);
    EXPECT_TRUE(style->isVertical());
    EXPECT_FALSE(style->isShapeFile());
    EXPECT_EQ(style->textSize(), 2.5);
    EXPECT_EQ(style->xScale(), 0.8);
    EXPECT_NEAR(style->obliquingAngle(), -15.0 * std::numbers::pi / 180.0, 1e-12);
    EXPECT_EQ(style->flagBits(), 6);
    EXPECT_EQ(style->priorSize(), 3.5);
    const ZTCHAR* file = nullptr;
    style->fileName(file);
    EXPECT_STREQ(file, L"romans.shx");
    style->bigFontFileName(file);
    EXPECT_STREQ(file, L"gbcbig.shx");
    style->close();
    auto* shapeFile = openRecord<ZcDbTextStyleTableRecord>(db->textStyleTableId(), L"SHAPES");
    ASSERT_NE(shapeFile, nullptr);
    EXPECT_TRUE(shapeFile->isShapeFile());
    shapeFile->close();
  }
}

TEST(DxfTableRecords, ActiveViewportIsTheDrawingsViewAndItsOtherSettingsAreKept) {
  Groups active = {{0, "VPORT"},
                   {5, "29"},
                   {100, "AcDbSymbolTableRecord"},
                   {100, "AcDbViewportTableRecord"},
                   {2, "*Active"},
                   {70, "0"},
                   {10, "0.0"},
                   {20, "0.0"},
                   {11, "1.0"},
                   {21, "1.0"},
                   {12, "1234.5"},
                   {22, "-67.25"},
                   {13, "0.0"},
                   {23, "0.0"},
                   {14, "10.0"},
                   {24, "10.0"},
                   {15, "5.0"},
                   {25, "5.0"},
                   {16, "0.0"},
                   {26, "0.0"},
                   {36, "1.0"},
                   {17, "0.0"},
                   {27, "0.0"},
                   {37, "0.0"},
                   {40, "300.0"},
                   {41, "1.7"},
                   {42, "50.0"},
                   {43, "0.0"},
                   {44, "0.0"},
                   {50, "0.0"},
                   {51, "0.0"},
                   {71, "0"},
                   {72, "1000"},
                   {73, "1"},
                   {74, "3"},
                   {75, "1"},
                   {76, "1"},
                   {77, "0"},
                   {78, "0"},
                   {281, "0"},
                   {65, "1"}};
  LoadResult first = mustLoad(tablesDrawing(table("VPORT", {active})));
  ASSERT_TRUE(first.ok());
  std::string written = writeDxf(*first.database);
  LoadResult second = mustLoad(written);
  for (ZcDbDatabase* db : {first.database.get(), second.database.get()}) {
    auto* vp = openRecord<ZcDbViewportTableRecord>(db->viewportTableId(), L"*Active");
    ASSERT_NE(vp, nullptr);
    EXPECT_EQ(vp->centerPoint().x, 1234.5);
    EXPECT_EQ(vp->centerPoint().y, -67.25);
    EXPECT_EQ(vp->height(), 300.0);
    // The width is the height times the aspect ratio; its text need not come back digit for
    // digit, its value does.
    EXPECT_NEAR(vp->width(), 510.0, 1e-9);
    EXPECT_TRUE(vp->snapEnabled());
    EXPECT_TRUE(vp->gridEnabled());
    vp->close();
  }
  Groups record = recordOf(written, "VPORT", "*Active");
  for (int code : {13, 14, 15, 43, 44, 50, 71, 72, 73, 74, 77, 78, 281, 65, 12, 40, 41}) {
    EXPECT_EQ(countOf(record, code), 1u) << "group " << code;
  }
  EXPECT_EQ(groupsFrom(record, 14, 2), (Groups{{14, "10.0"}, {24, "10.0"}}));
  EXPECT_EQ(groupsFrom(record, 72, 1), (Groups{{72, "1000"}}));
}

TEST(DxfTableRecords, NamedViewsAndUcsKeepTheirGeometry) {
  Groups view = {{0, "VIEW"},  {2, "PLAN"},  {70, "1"},    {40, "20.0"}, {10, "5.0"},  {20, "6.0"},
                 {41, "30.0"}, {11, "0.0"},  {21, "-1.0"}, {31, "1.0"},  {12, "1.0"},  {22, "2.0"},
                 {32, "3.0"},  {42, "35.0"}, {43, "0.0"},  {44, "0.0"},  {50, "90.0"}, {71, "0"}};
  Groups ucs = {{0, "UCS"},  {2, "TILTED"}, {70, "0"},   {10, "1.0"}, {20, "2.0"},
                {30, "3.0"}, {11, "0.6"},   {21, "0.8"}, {31, "0.0"}, {12, "-0.8"},
                {22, "0.6"}, {32, "0.0"},   {79, "0"},   {146, "0.0"}};
  LoadResult first = mustLoad(tablesDrawing(join({table("VIEW", {view}), table("UCS", {ucs})})));
  ASSERT_TRUE(first.ok());
  std::string written = writeDxf(*first.database);
  EXPECT_EQ(groupsFrom(recordOf(written, "VIEW", "PLAN"), 50, 1), (Groups{{50, "90.0"}}));
  LoadResult second = mustLoad(written);
  for (ZcDbDatabase* db : {first.database.get(), second.database.get()}) {
    auto* v = openRecord<ZcDbViewTableRecord>(db->viewTableId(), L"PLAN");
    ASSERT_NE(v, nullptr);
    EXPECT_TRUE(v->isPaperspaceView());
    EXPECT_EQ(v->height(), 20.0);
    EXPECT_EQ(v->width(), 30.0);
    EXPECT_EQ(v->centerPoint().y, 6.0);
    EXPECT_EQ(v->viewDirection().y, -1.0);
    EXPECT_EQ(v->target().z, 3.0);
    EXPECT_EQ(v->lensLength(), 35.0);
    EXPECT_NEAR(v->viewTwist(), std::numbers::pi / 2, 1e-12);
    v->close();
    auto* u = openRecord<ZcDbUCSTableRecord>(db->UCSTableId(), L"TILTED");
    ASSERT_NE(u, nullptr);
    EXPECT_EQ(u->origin(), ZcGePoint3d(1, 2, 3));
    EXPECT_NEAR(u->xAxis().x, 0.6, 1e-15);
    EXPECT_NEAR(u->yAxis().x, -0.8, 1e-15);
    EXPECT_NEAR(u->xAxis().dotProduct(u->yAxis()), 0.0, 1e-15);
    u->close();
  }
}

TEST(DxfTableRecords, DimensionStyleVariablesTheHostReadsAndAllOthersSurvive) {
  Groups standard = {{0, "STYLE"}, {5, "11"}, {2, "Standard"}, {70, "0"}, {3, "txt"}};
  // DIMSTYLE names its handle with 105; 5 is the old DIMBLK name.
  Groups iso = {{0, "DIMSTYLE"},
                {105, "27"},
                {100, "AcDbSymbolTableRecord"},
                {100, "AcDbDimStyleTableRecord"},
                {2, "ISO-25"},
                {70, "0"},
                {3, "<> mm"},
                {40, "2.0"},
                {41, "3.0"},
                {42, "0.5"},
                {44, "1.5"},
                {69, "1"},
                {70, "2"},
                {77, "1"},
                {140, "3.5"},
                {147, "1.0"},
                {271, "3"},
                {340, "11"}};
  // Programs leave out what has its default value, and the defaults of a drawing in inches
  // are not the class's: what the file left out stays out.
  Groups inches = {{0, "DIMSTYLE"}, {105, "28"}, {2, "INCHES"}, {70, "0"}, {40, "1.0"}};
  LoadResult first =
      mustLoad(tablesDrawing(join({table("STYLE", {standard}), table("DIMSTYLE", {iso, inches})})));
  ASSERT_TRUE(first.ok());
  std::string written = writeDxf(*first.database);
  LoadResult second = mustLoad(written);
  for (ZcDbDatabase* db : {first.database.get(), second.database.get()}) {
    auto* ds = openRecord<ZcDbDimStyleTableRecord>(db->dimStyleTableId(), L"ISO-25");
    ASSERT_NE(ds, nullptr);
    EXPECT_EQ(ds->dimscale(), 2.0);
    EXPECT_EQ(ds->dimasz(), 3.0);
    EXPECT_EQ(ds->dimexo(), 0.5);
    EXPECT_EQ(ds->dimexe(), 1.5);
    EXPECT_EQ(ds->dimtxt(), 3.5);
    EXPECT_EQ(ds->dimgap(), 1.0);
    EXPECT_EQ(ds->dimdec(), 3);
    EXPECT_EQ(nameOf(ds->dimtxsty()), L"Standard");
    ds->close();
  }
  Groups record = recordOf(written, "DIMSTYLE", "ISO-25");
  EXPECT_EQ(groupsFrom(record, 105, 1), (Groups{{105, "27"}}));
  EXPECT_EQ(groupsFrom(record, 3, 1), (Groups{{3, "<> mm"}}));
  EXPECT_EQ(groupsFrom(record, 77, 1), (Groups{{77, "1"}}));
  EXPECT_EQ(groupsFrom(record, 340, 1), (Groups{{340, "11"}}));
  // DIMTFILLCLR is a second 70 after the flags.
  EXPECT_EQ(groupsFrom(record, 69, 2), (Groups{{69, "1"}, {70, "2"}}));
  EXPECT_EQ(groupsFrom(record, 2, 2), (Groups{{2, "ISO-25"}, {70, "0"}}));

  EXPECT_EQ(groupsFrom(recordOf(written, "DIMSTYLE", "INCHES"), 2, 10),
            (Groups{{2, "INCHES"}, {70, "0"}, {40, "1.0"}}));
  // Until the host changes one of them.
  ZcDbDimStyleTableRecord* ds = nullptr;
  ZcDbSymbolTable* styles = nullptr;
  ASSERT_EQ(zcdbOpenObject(styles, second.database->dimStyleTableId(), ZcDb::kForRead), Zcad::eOk);
  ZcDbObjectId inchesId;
  ASSERT_EQ(styles->getAt(L"INCHES", inchesId), Zcad::eOk);
  styles->close();
  ASSERT_EQ(zcdbOpenObject(ds, inchesId, ZcDb::kForWrite), Zcad::eOk);
  ds->setDimasz(0.18);
  ds->close();
  EXPECT_EQ(groupsFrom(recordOf(writeDxf(*second.database), "DIMSTYLE", "INCHES"), 2, 10),
            (Groups{{2, "INCHES"}, {70, "0"}, {40, "1.0"}, {41, "0.18"}}));
}

TEST(DxfTableRecords, BlockRecordGroupsAndApplicationFlagsComeBackInTheirOrder) {
  Groups block = {{0, "BLOCK_RECORD"},
                  {5, "1F"},
                  {100, "AcDbSymbolTableRecord"},
                  {100, "AcDbBlockTableRecord"},
                  {2, "DOOR"},
                  {340, "0"},
                  {70, "4"},
                  {280, "0"},
                  {281, "1"},
                  {310, "0A0B0C"}};
  Groups app = {{0, "APPID"},    {5, "12"}, {100, "AcDbSymbolTableRecord"}, {100, "AcDbRegAppTableRecord"},
                {2, "VELTRACE"}, {70, "64"}};
  LoadResult first = mustLoad(tablesDrawing(join({table("APPID", {app}), table("BLOCK_RECORD", {block})})));
  ASSERT_TRUE(first.ok());
  std::string written = writeDxf(*first.database);
  EXPECT_EQ(groupsFrom(recordOf(written, "BLOCK_RECORD", "DOOR"), 100, 8),
            Groups(block.begin() + 2, block.end()));
  EXPECT_EQ(groupsFrom(recordOf(written, "APPID", "VELTRACE"), 2, 2), (Groups{{2, "VELTRACE"}, {70, "64"}}));
  // A block made in the session gets the values of a new block.
  ZcDbBlockTable* blocks = nullptr;
  ASSERT_EQ(first.database->getBlockTable(blocks, ZcDb::kForWrite), Zcad::eOk);
  auto* made = new ZcDbBlockTableRecord;
  made->setName(L"MADE");
  ASSERT_EQ(blocks->add(made), Zcad::eOk);
  made->close();
  blocks->close();
  Groups madeRecord = recordOf(writeDxf(*first.database), "BLOCK_RECORD", "MADE");
  EXPECT_EQ(groupsFrom(madeRecord, 2, 4), (Groups{{2, "MADE"}, {70, "0"}, {280, "1"}, {281, "0"}}));
}

TEST(DxfTableRecords, ValuesTheClassRefusesAreWarnedAndWrittenBackOnceAsTheyWere) {
  // A palette colour 300, a line weight that is no standard one, a width factor of 0, flags
  // that are no number (lost: never written back as they were, which other readers refuse).
  Groups layer = {{0, "LAYER"}, {2, "BAD"}, {70, "0"}, {62, "300"}, {370, "7"}};
  Groups flags = {{0, "LAYER"}, {2, "FLAGS"}, {70, "x1"}, {62, "1"}};
  Groups style = {{0, "STYLE"}, {2, "FLAT"}, {70, "0"}, {40, "0.0"}, {41, "0.0"}, {3, "txt"}};
  LoadResult first =
      mustRecover(tablesDrawing(join({table("LAYER", {layer, flags}), table("STYLE", {style})})));
  ASSERT_TRUE(first.ok());
  EXPECT_TRUE(mentions(first, "layer colour 300"));
  std::string written = writeDxf(*first.database);
  Groups bad = recordOf(written, "LAYER", "BAD");
  EXPECT_EQ(groupsFrom(bad, 62, 1), (Groups{{62, "300"}}));
  EXPECT_EQ(countOf(bad, 62), 1u);
  EXPECT_EQ(groupsFrom(bad, 370, 1), (Groups{{370, "7"}}));
  EXPECT_EQ(countOf(bad, 370), 1u);
  Groups oddFlags = recordOf(written, "LAYER", "FLAGS");
  EXPECT_TRUE(mentions(first, "'x1' is not a whole number"));
  EXPECT_EQ(groupsFrom(oddFlags, 2, 3), (Groups{{2, "FLAGS"}, {70, "0"}, {62, "1"}}));
  EXPECT_EQ(countOf(oddFlags, 70), 1u);
  Groups flat = recordOf(written, "STYLE", "FLAT");
  EXPECT_EQ(groupsFrom(flat, 41, 1), (Groups{{41, "0.0"}}));
  EXPECT_EQ(countOf(flat, 41), 1u);
  // And the records stay as they are from then on.
  std::string again = writeDxf(*mustLoad(written).database);
  EXPECT_EQ(recordOf(again, "LAYER", "BAD"), bad);
  EXPECT_EQ(recordOf(again, "STYLE", "FLAT"), flat);
}
