// Xrecords read into the class's chain of result buffers and written back: every value type,
// points as one value, references by handle, the cloning flag, and data the chain cannot hold.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DxfTestDrawing.h"
#include "dxf/DxfRecordReader.h"
#include "zcad/db/ZcDbDictionary.h"
#include "zcad/db/ZcDbXrecord.h"

using namespace vtcad::dxf;
using namespace vtcad::dxf::testing;

namespace {

// A drawing whose named-objects dictionary names one xrecord (handle F0) under "DATA".
std::string withXrecord(const Groups& afterMarker) {
  // The header's first free handle keeps the records the reader adds off the file's handles.
  Groups all{{0, "SECTION"},          {2, "HEADER"},     {9, "$ACADVER"}, {1, "AC1027"},
             {9, "$HANDSEED"},        {5, "FFFF"},       {0, "ENDSEC"},   {0, "SECTION"},
             {2, "OBJECTS"},          {0, "DICTIONARY"}, {5, "C"},        {330, "0"},
             {100, "AcDbDictionary"}, {281, "1"},        {3, "DATA"},     {350, "F0"},
             {0, "XRECORD"},          {5, "F0"},         {330, "C"},      {100, "AcDbXrecord"}};
  all.insert(all.end(), afterMarker.begin(), afterMarker.end());
  all.push_back({0, "ENDSEC"});
  all.push_back({0, "EOF"});
  return dxfText(all);
}

// The groups after the AcDbXrecord marker of the xrecord F0.
Groups xrecordBody(const std::string& text) {
  TagReader tags(text);
  RecordReader records(tags);
  Record record;
  while (records.next(record)) {
    const Tag* h = record.find(5);
    if (record.type() != "XRECORD" || !h || h->trimmed() != "F0") continue;
    Groups body;
    bool in = false;
    for (const Tag& t : record.tags) {
      if (in) body.emplace_back(t.code, std::string(t.trimmed()));
      in = in || (t.code == 100 && t.trimmed() == "AcDbXrecord");
    }
    return body;
  }
  return {};
}

// The chain of the xrecord named "DATA" (the caller frees it), null when there is none.
resbuf* dataChain(ZcDbDatabase& db) {
  ZcDbDictionary* nod = nullptr;
  if (db.getNamedObjectsDictionary(nod, ZcDb::kForRead) != Zcad::eOk) return nullptr;
  ZcDbObject* obj = nullptr;
  Zcad::ErrorStatus es = nod->getAt(L"DATA", obj, ZcDb::kForRead);
  nod->close();
  if (es != Zcad::eOk) return nullptr;
  resbuf* chain = nullptr;
  if (auto* xrec = ZcDbXrecord::cast(obj)) chain = xrec->rbChain();
  obj->close();
  return chain;
}

std::vector<const resbuf*> items(const resbuf* chain) {
  std::vector<const resbuf*> all;
  for (const resbuf* rb = chain; rb; rb = rb->rbnext) all.push_back(rb);
  return all;
}

}  // namespace

TEST(DxfXrecord, EveryValueTypeComesBackValueForValueAndGroupForGroup) {
  const Groups data = {{280, "1"},    {1, "first"},        {10, "1.5"},
                       {20, "-2.25"}, {30, "3.0"},         {40, "0.1"},
                       {70, "-3"},    {90, "123456789"},   {160, "9007199254740993"},
                       {290, "1"},    {310, "DEADBEEF00"}, {330, "C"},
                       {39, "5.5"},   {210, "0.0"},        {220, "0.0"},
                       {230, "1.0"},  {1, "last"}};
  LoadResult first = mustLoad(withXrecord(data));
  ASSERT_TRUE(first.ok());
  std::string written = writeDxf(*first.database);
  EXPECT_EQ(xrecordBody(written), data);
  LoadResult second = mustLoad(written);
  for (ZcDbDatabase* db : {first.database.get(), second.database.get()}) {
    resbuf* chain = dataChain(*db);
    std::vector<const resbuf*> v = items(chain);
    ASSERT_EQ(v.size(), 12u);
    EXPECT_STREQ(v[0]->resval.rstring, L"first");
    EXPECT_EQ(v[1]->restype, 10);
    EXPECT_EQ(v[1]->resval.rpoint[0], 1.5);
    EXPECT_EQ(v[1]->resval.rpoint[1], -2.25);
    EXPECT_EQ(v[1]->resval.rpoint[2], 3.0);
    EXPECT_EQ(v[2]->resval.rreal, 0.1);
    EXPECT_EQ(v[3]->resval.rint, -3);
    EXPECT_EQ(v[4]->resval.rlong, 123456789);
    EXPECT_EQ(v[5]->resval.mnInt64, 9007199254740993LL);
    EXPECT_EQ(v[6]->resval.rint, 1);
    ASSERT_EQ(v[7]->resval.rbinary.clen, 5);
    EXPECT_EQ(static_cast<unsigned char>(v[7]->resval.rbinary.buf[0]), 0xDE);
    // The reference names the root dictionary by its id.
    EXPECT_EQ(ZcDbObjectId().setFromOldId(v[8]->resval.rlname[0]), db->namedObjectsDictionaryId());
    EXPECT_EQ(v[9]->restype, 39);
    EXPECT_EQ(v[10]->restype, 210);
    EXPECT_EQ(v[10]->resval.rpoint[2], 1.0);
    EXPECT_STREQ(v[11]->resval.rstring, L"last");
    zcutRelRb(chain);
  }
}

TEST(DxfXrecord, ACloningFlagOtherThanKeepExistingSurvivesAndAMissingOneIsWrittenAsIt) {
  LoadResult replace = mustLoad(withXrecord({{280, "2"}, {1, "x"}}));
  ASSERT_TRUE(replace.ok());
  EXPECT_EQ(xrecordBody(writeDxf(*replace.database)), (Groups{{280, "2"}, {1, "x"}}));
  // A file that leaves the flag out: the data starts at once.
  LoadResult bare = mustLoad(withXrecord({{1, "x"}, {2, "y"}}));
  ASSERT_TRUE(bare.ok());
  EXPECT_EQ(xrecordBody(writeDxf(*bare.database)), (Groups{{280, "1"}, {1, "x"}, {2, "y"}}));
}

TEST(DxfXrecord, TwoDimensionalPointsGetTheirZAndDataTheChainCannotHoldIsKeptInOrder) {
  LoadResult flat = mustLoad(withXrecord({{280, "1"}, {11, "4.0"}, {21, "5.0"}, {40, "1.0"}}));
  ASSERT_TRUE(flat.ok());
  EXPECT_EQ(xrecordBody(writeDxf(*flat.database)),
            (Groups{{280, "1"}, {11, "4.0"}, {21, "5.0"}, {31, "0.0"}, {40, "1.0"}}));

  // Group 85 has no value type; a short out of its range. The data is written as it was.
  for (const Groups& data :
       {Groups{{280, "1"}, {1, "a"}, {85, "7"}, {40, "2.0"}}, Groups{{280, "1"}, {70, "70000"}, {1, "b"}}}) {
    LoadResult kept = mustLoad(withXrecord(data));
    ASSERT_TRUE(kept.ok());
    std::string once = writeDxf(*kept.database);
    EXPECT_EQ(xrecordBody(once), data);
    EXPECT_EQ(xrecordBody(writeDxf(*mustLoad(once).database)), data);
    EXPECT_EQ(dataChain(*kept.database), nullptr);
  }
}

TEST(DxfXrecord, KeptDataWithAnXWithoutItsYSavesADrawingThatOpensAgain) {
  // An unreadable x sends the data to be kept as the file gave it; a later x without its y
  // was kept too, and the saved drawing was then refused for it (found by fuzzing).
  LoadResult damaged = mustRecover(withXrecord({{280, "1"}, {10, ""}, {1, "a"}, {10, "0"}}));
  ASSERT_TRUE(damaged.ok());
  EXPECT_EQ(damaged.losses, 2u);
  std::string saved = writeDxf(*damaged.database);
  EXPECT_EQ(xrecordBody(saved), (Groups{{280, "1"}, {1, "a"}}));
  EXPECT_TRUE(readDxf(saved).ok());
}
