// Dictionaries read and written: entries by key and owner kind, the named-objects root, an
// entity's extension dictionary, and the repairs a file can need (a key twice, an entry whose
// object the file never defines).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "DxfTestDrawing.h"
#include "dxf/DxfRecordReader.h"
#include "zcad/db/ZcDbDictionary.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbXrecord.h"

using namespace vtcad::dxf;
using namespace vtcad::dxf::testing;

namespace {

Groups join(std::initializer_list<Groups> parts) {
  Groups all;
  for (const Groups& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// A file's header names the first free handle: the records the reader adds for what the
// file lacks take handles from there, never one of the file's.
const Groups kHeader = {{0, "SECTION"},   {2, "HEADER"}, {9, "$ACADVER"}, {1, "AC1027"},
                        {9, "$HANDSEED"}, {5, "FFFF"},   {0, "ENDSEC"}};

Groups xrecord(const std::string& handle, const std::string& owner, const std::string& text) {
  return {{0, "XRECORD"}, {5, handle}, {330, owner}, {100, "AcDbXrecord"}, {280, "1"}, {1, text}};
}

// The groups after the AcDbDictionary marker of the dictionary with this handle.
Groups dictionaryBody(const std::string& text, const std::string& handle) {
  TagReader tags(text);
  RecordReader records(tags);
  Record record;
  while (records.next(record)) {
    const Tag* h = record.find(5);
    if (record.type() != "DICTIONARY" || !h || h->trimmed() != handle) continue;
    Groups body;
    bool in = false;
    for (const Tag& t : record.tags) {
      if (in) body.emplace_back(t.code, std::string(t.trimmed()));
      in = in || (t.code == 100 && t.trimmed() == "AcDbDictionary");
    }
    return body;
  }
  return {};
}

// The first string of the xrecord a dictionary names under `key`.
std::wstring textUnder(ZcDbObjectId dictId, const wchar_t* key) {
  ZcDbDictionary* dict = nullptr;
  if (zcdbOpenObject(dict, dictId, ZcDb::kForRead) != Zcad::eOk) return L"<no dictionary>";
  ZcDbObject* obj = nullptr;
  Zcad::ErrorStatus es = dict->getAt(key, obj, ZcDb::kForRead);
  dict->close();
  if (es != Zcad::eOk) return L"<no entry>";
  std::wstring text = L"<not an xrecord>";
  if (auto* xrec = ZcDbXrecord::cast(obj)) {
    resbuf* chain = xrec->rbChain();
    text = chain && chain->restype == 1 ? chain->resval.rstring : L"<no text>";
    zcutRelRb(chain);
  }
  obj->close();
  return text;
}

bool mentions(const LoadResult& result, const std::string& text) {
  return std::any_of(result.messages.begin(), result.messages.end(),
                     [&](const LoadMessage& m) { return m.text.find(text) != std::string::npos; });
}

}  // namespace

TEST(DxfDictionary, EntriesOwnerKindAndMergeStyleSurviveAndARepeatedKeyKeepsTheLaterEntry) {
  std::string text = dxfText(join({
      kHeader,
      {{0, "SECTION"}, {2, "OBJECTS"}},
      {{0, "DICTIONARY"},
       {5, "C"},
       {330, "0"},
       {100, "AcDbDictionary"},
       {281, "1"},
       {3, "VT_DATA"},
       {350, "E"}},
      // Entries named with the hard-owner group (360) without the 280 flag; "alpha" twice
      // (keys ignore case); an entry whose object never comes.
      {{0, "DICTIONARY"},
       {5, "E"},
       {330, "C"},
       {100, "AcDbDictionary"},
       {281, "2"},
       {3, "beta"},
       {360, "F1"},
       {3, "Alpha"},
       {360, "F0"},
       {3, "alpha"},
       {360, "F2"},
       {3, "GHOST"},
       {360, "FF"}},
      xrecord("F0", "E", "first alpha"),
      xrecord("F1", "E", "beta"),
      xrecord("F2", "E", "second alpha"),
      {{0, "ENDSEC"}, {0, "EOF"}},
  }));
  LoadResult first = mustLoad(text);
  ASSERT_TRUE(first.ok());
  EXPECT_TRUE(mentions(first, "'alpha' appears twice"));
  std::string written = writeDxf(*first.database);
  LoadResult second = mustLoad(written);
  for (ZcDbDatabase* db : {first.database.get(), second.database.get()}) {
    ZcDbDictionary* nod = nullptr;
    ASSERT_EQ(db->getNamedObjectsDictionary(nod, ZcDb::kForRead), Zcad::eOk);
    ZcDbObjectId dataId;
    ASSERT_EQ(nod->getAt(L"VT_DATA", dataId), Zcad::eOk);
    nod->close();
    EXPECT_EQ(textUnder(dataId, L"ALPHA"), L"second alpha");
    EXPECT_EQ(textUnder(dataId, L"beta"), L"beta");
    ZcDbDictionary* data = nullptr;
    ASSERT_EQ(zcdbOpenObject(data, dataId, ZcDb::kForRead), Zcad::eOk);
    EXPECT_FALSE(data->isTreatElementsAsHard());
    EXPECT_EQ(data->mergeStyle(), ZcDb::kDrcReplace);
    data->close();
  }
  // Written by key with the file's group, the entry without an object left out.
  EXPECT_EQ(dictionaryBody(written, "E"),
            (Groups{{281, "2"}, {3, "alpha"}, {360, "F2"}, {3, "beta"}, {360, "F1"}}));
  // The root is soft-owning (the reader may have added the layouts' dictionary to it).
  Groups root = dictionaryBody(written, "C");
  auto entry = std::find(root.begin(), root.end(), std::pair<int, std::string>{3, "VT_DATA"});
  ASSERT_NE(entry, root.end());
  ASSERT_NE(entry + 1, root.end());
  EXPECT_EQ(*(entry + 1), (std::pair<int, std::string>{350, "E"}));
  EXPECT_EQ(std::count(root.begin(), root.end(), std::pair<int, std::string>{280, "1"}), 0);
}

TEST(DxfDictionary, AnEntitysExtensionDictionaryAndItsDataComeBackAndHardOwnersKeepTheirEntryGroup) {
  std::string text = dxfText(join({
      kHeader,
      {{0, "SECTION"}, {2, "ENTITIES"}},
      {{0, "LINE"},
       {5, "40"},
       {102, "{ACAD_XDICTIONARY"},
       {360, "41"},
       {102, "}"},
       {8, "0"},
       {10, "0"},
       {20, "0"},
       {30, "0"},
       {11, "1"},
       {21, "0"},
       {31, "0"}},
      {{0, "ENDSEC"}, {0, "SECTION"}, {2, "OBJECTS"}},
      {{0, "DICTIONARY"}, {5, "C"}, {330, "0"}, {100, "AcDbDictionary"}, {281, "1"}},
      {{0, "DICTIONARY"},
       {5, "41"},
       {330, "40"},
       {100, "AcDbDictionary"},
       {280, "1"},
       {281, "1"},
       {3, "VT_NOTE"},
       {360, "42"}},
      xrecord("42", "41", "a note"),
      // Hard-owned, its entries named with the soft-owner group, as some programs write them.
      {{0, "DICTIONARY"},
       {5, "43"},
       {330, "C"},
       {100, "AcDbDictionary"},
       {280, "1"},
       {281, "1"},
       {3, "X"},
       {350, "44"}},
      xrecord("44", "43", "x"),
      {{0, "ENDSEC"}, {0, "EOF"}},
  }));
  LoadResult first = mustLoad(text);
  ASSERT_TRUE(first.ok());
  std::string written = writeDxf(*first.database);
  EXPECT_EQ(dictionaryBody(written, "41"), (Groups{{280, "1"}, {281, "1"}, {3, "VT_NOTE"}, {360, "42"}}));
  EXPECT_EQ(dictionaryBody(written, "43"), (Groups{{280, "1"}, {281, "1"}, {3, "X"}, {350, "44"}}));
  LoadResult second = mustLoad(written);
  ASSERT_TRUE(second.ok());
  ZcDbLine* line = openModelSpaceEntity<ZcDbLine>(*second.database, 0);
  ASSERT_NE(line, nullptr);
  ZcDbObjectId xdict = line->extensionDictionary();
  ZcDbObjectId lineId = line->objectId();
  line->close();
  ASSERT_FALSE(xdict.isNull());
  EXPECT_EQ(textUnder(xdict, L"VT_NOTE"), L"a note");
  ZcDbDictionary* dict = nullptr;
  ASSERT_EQ(zcdbOpenObject(dict, xdict, ZcDb::kForRead), Zcad::eOk);
  EXPECT_EQ(dict->ownerId(), lineId);
  EXPECT_TRUE(dict->isTreatElementsAsHard());
  dict->close();
}
