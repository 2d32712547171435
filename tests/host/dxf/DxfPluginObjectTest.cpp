// Objects of plug-in classes: read and written through the class's own dxfInFields and
// dxfOutFields when the class is registered, kept as they were when it is not.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "DxfTestDrawing.h"
#include "dxf/DxfCodecs.h"
#include "dxf/DxfRecordReader.h"
#include "zcad/db/ZcDbDictionary.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbXrecord.h"
#include "zcad/rx/ZcRxClass.h"

using namespace vtcad::dxf;
using namespace vtcad::dxf::testing;

// The classes have external linkage: the class macros define members a test need not call.
namespace plugin_object_test {

// A note of a plug-in: a text, a place, a size, a count and the entity it is about.
class VtTestNote : public ZcDbObject {
 public:
  ZCRX_DECLARE_MEMBERS(VtTestNote)

  std::wstring text;
  ZcGePoint3d at;
  double size = 0.0;
  Zdesk::Int32 count = 0;
  ZcDbObjectId about;

  Zcad::ErrorStatus dxfOutFields(ZcDbDxfFiler* filer) const override {
    if (Zcad::ErrorStatus es = ZcDbObject::dxfOutFields(filer); es != Zcad::eOk) return es;
    filer->writeItem(100, L"VtTestNote");
    filer->writeString(1, text.c_str());
    filer->writePoint3d(10, at);
    filer->writeDouble(40, size);
    filer->writeInt32(90, count);
    filer->writeObjectId(340, about);
    return filer->filerStatus();
  }

  Zcad::ErrorStatus dxfInFields(ZcDbDxfFiler* filer) override {
    if (Zcad::ErrorStatus es = ZcDbObject::dxfInFields(filer); es != Zcad::eOk) return es;
    if (!filer->atSubclassData(L"VtTestNote")) return Zcad::eBadDxfSequence;
    return readOwnGroups(filer);
  }

 protected:
  // The groups of this class up to one it does not know, which it leaves for the next.
  Zcad::ErrorStatus readOwnGroups(ZcDbDxfFiler* filer) {
    int code = 0;
    std::wstring value;
    while (!filer->atEOF() && filer->readItem(&code, &value) == Zcad::eOk) {
      switch (code) {
        case 1:
          text = value;
          break;
        case 10:
          at.x = std::wcstod(value.c_str(), nullptr);
          break;
        case 20:
          at.y = std::wcstod(value.c_str(), nullptr);
          break;
        case 30:
          at.z = std::wcstod(value.c_str(), nullptr);
          break;
        case 40:
          size = std::wcstod(value.c_str(), nullptr);
          break;
        case 90:
          count = static_cast<Zdesk::Int32>(std::wcstol(value.c_str(), nullptr, 10));
          break;
        case 340:
          filer->database()->getZcDbObjectId(about, /*createIfNotFound=*/true, ZcDbHandle(value.c_str()));
          break;
        default:
          filer->pushBackItem();
          return filer->filerStatus();
      }
    }
    return filer->filerStatus();
  }
};

ZCRX_DEFINE_PLUGIN_MEMBERS(VtTestNote)

// A note with a tag of its own: a second plug-in subclass after the first.
class VtTestTaggedNote : public VtTestNote {
 public:
  ZCRX_DECLARE_MEMBERS(VtTestTaggedNote)
  std::wstring tag;

  Zcad::ErrorStatus dxfOutFields(ZcDbDxfFiler* filer) const override {
    if (Zcad::ErrorStatus es = VtTestNote::dxfOutFields(filer); es != Zcad::eOk) return es;
    filer->writeItem(100, L"VtTestTaggedNote");
    filer->writeString(300, tag.c_str());
    return filer->filerStatus();
  }
  Zcad::ErrorStatus dxfInFields(ZcDbDxfFiler* filer) override {
    if (Zcad::ErrorStatus es = VtTestNote::dxfInFields(filer); es != Zcad::eOk) return es;
    if (!filer->atSubclassData(L"VtTestTaggedNote")) return Zcad::eBadDxfSequence;
    int code = 0;
    std::wstring value;
    if (filer->readItem(&code, &value) == Zcad::eOk) {
      if (code == 300) {
        tag = value;
      } else {
        filer->pushBackItem();
      }
    }
    return filer->filerStatus();
  }
};

ZCRX_DEFINE_PLUGIN_MEMBERS(VtTestTaggedNote)

}  // namespace plugin_object_test

namespace {

using plugin_object_test::VtTestNote;
using plugin_object_test::VtTestTaggedNote;

class DxfPluginObject : public ::testing::Test {
 protected:
  void SetUp() override { registerClasses(); }
  void TearDown() override { unregisterClasses(); }

  static void registerClasses() {
    VtTestNote::gpDesc = newZcRxClass(
        L"VtTestNote", L"AcDbObject", 0, 0, 0, []() -> ZcRxObject* { return new VtTestNote; }, L"VTTEST_NOTE",
        L"VtTest");
    VtTestTaggedNote::gpDesc = newZcRxClass(
        L"VtTestTaggedNote", L"VtTestNote", 0, 0, 0, []() -> ZcRxObject* { return new VtTestTaggedNote; },
        L"VTTEST_TAGGED", L"VtTest");
  }
  static void unregisterClasses() {
    for (ZcRxClass** cls : {&VtTestTaggedNote::gpDesc, &VtTestNote::gpDesc}) {
      deleteZcRxClass(*cls);
      *cls = nullptr;
    }
  }
};

Groups join(std::initializer_list<Groups> parts) {
  Groups all;
  for (const Groups& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// The note (handle 50) about the line (handle 40), in the dictionary NOTES of the root, with a
// group its class does not read (72). Numbers as the writer writes them, so that the record
// can be compared as text.
const Groups kNoteRecord = {{5, "50"},   {330, "C"},  {100, "VtTestNote"}, {1, "hello"}, {10, "1.5"},
                            {20, "2.5"}, {30, "0.0"}, {40, "0.25"},        {90, "7"},    {340, "40"},
                            {72, "3"}};

std::string noteDrawing(const Groups& classes, const std::string& type, const Groups& record) {
  Groups head{{0, type}};
  return dxfText(join({
      // The header's first free handle keeps the records the reader adds off the file's.
      {{0, "SECTION"},
       {2, "HEADER"},
       {9, "$ACADVER"},
       {1, "AC1027"},
       {9, "$HANDSEED"},
       {5, "FFFF"},
       {0, "ENDSEC"}},
      {{0, "SECTION"}, {2, "CLASSES"}},
      classes,
      {{0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"}},
      {{0, "LINE"}, {5, "40"}, {8, "0"}, {10, "0"}, {20, "0"}, {30, "0"}, {11, "1"}, {21, "0"}, {31, "0"}},
      {{0, "ENDSEC"}, {0, "SECTION"}, {2, "OBJECTS"}},
      {{0, "DICTIONARY"},
       {5, "C"},
       {330, "0"},
       {100, "AcDbDictionary"},
       {281, "1"},
       {3, "NOTES"},
       {350, "50"}},
      head,
      record,
      {{0, "ENDSEC"}, {0, "EOF"}},
  }));
}

const Groups kNoteClass = {{0, "CLASS"}, {1, "VTTEST_NOTE"}, {2, "VtTestNote"}, {3, "VtTest"},
                           {90, "0"},    {91, "1"},          {280, "0"},        {281, "0"}};

// The groups after (0, type) of the record with this handle.
Groups recordWithHandle(const std::string& text, std::string_view type, std::string_view handle) {
  TagReader tags(text);
  RecordReader records(tags);
  Record record;
  while (records.next(record)) {
    const Tag* h = record.find(5);
    if (record.type() != type || !h || h->trimmed() != handle) continue;
    Groups groups;
    for (const Tag& t : record.tags) groups.emplace_back(t.code, std::string(t.trimmed()));
    return groups;
  }
  return {};
}

// The object the root's dictionary names under `key`, opened for read (the caller closes it).
ZcDbObject* openNamed(ZcDbDatabase& db, const wchar_t* key) {
  ZcDbDictionary* nod = nullptr;
  if (db.getNamedObjectsDictionary(nod, ZcDb::kForRead) != Zcad::eOk) return nullptr;
  ZcDbObject* obj = nullptr;
  nod->getAt(key, obj, ZcDb::kForRead);
  nod->close();
  return obj;
}

}  // namespace

TEST_F(DxfPluginObject, ARegisteredClassReadsAndWritesItsOwnFieldsAndKeepsWhatItDoesNotRead) {
  LoadResult first = mustLoad(noteDrawing(kNoteClass, "VTTEST_NOTE", kNoteRecord));
  ASSERT_TRUE(first.ok());
  std::string written = writeDxf(*first.database);
  // Its marker, its fields as it writes them, then the group it left.
  EXPECT_EQ(recordWithHandle(written, "VTTEST_NOTE", "50"), kNoteRecord);
  LoadResult second = mustLoad(written);
  for (ZcDbDatabase* db : {first.database.get(), second.database.get()}) {
    ZcDbObject* obj = openNamed(*db, L"NOTES");
    auto* note = VtTestNote::cast(obj);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->isA(), VtTestNote::desc());
    EXPECT_EQ(note->text, L"hello");
    EXPECT_EQ(note->at, ZcGePoint3d(1.5, 2.5, 0.0));
    EXPECT_EQ(note->size, 0.25);
    EXPECT_EQ(note->count, 7);
    ZcDbLine* line = nullptr;
    ASSERT_EQ(zcdbOpenObject(line, note->about, ZcDb::kForRead), Zcad::eOk);
    line->close();
    note->close();
  }
}

TEST_F(DxfPluginObject, WithoutItsClassTheObjectIsWrittenBackAsItWas) {
  unregisterClasses();
  LoadResult first = mustLoad(noteDrawing(kNoteClass, "VTTEST_NOTE", kNoteRecord));
  ASSERT_TRUE(first.ok());
  ZcDbObject* obj = openNamed(*first.database, L"NOTES");
  ASSERT_NE(obj, nullptr);
  EXPECT_EQ(VtTestNote::cast(obj), nullptr);
  obj->close();
  std::string written = writeDxf(*first.database);
  EXPECT_EQ(recordWithHandle(written, "VTTEST_NOTE", "50"), kNoteRecord);
  EXPECT_EQ(recordWithHandle(writeDxf(*mustLoad(written).database), "VTTEST_NOTE", "50"), kNoteRecord);
  // Loaded again once the plug-in is there, it is the plug-in's object.
  registerClasses();
  LoadResult loaded = mustLoad(written);
  auto* note = VtTestNote::cast(openNamed(*loaded.database, L"NOTES"));
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->count, 7);
  note->close();
}

TEST_F(DxfPluginObject, AnObjectMadeInTheSessionIsWrittenWithItsClassAndMarkers) {
  LoadResult base =
      mustLoad(entitiesOnly({{0, "LINE"}, {10, "0"}, {20, "0"}, {30, "0"}, {11, "1"}, {21, "1"}, {31, "0"}}));
  ASSERT_TRUE(base.ok());
  ZcDbDatabase& db = *base.database;
  auto* note = new VtTestTaggedNote;
  note->text = L"made here";
  note->count = -2;
  note->tag = L"T1";
  note->about = modelSpaceEntities(db).at(0);
  ZcDbDictionary* nod = nullptr;
  ASSERT_EQ(db.getNamedObjectsDictionary(nod, ZcDb::kForWrite), Zcad::eOk);
  ZcDbObjectId noteId;
  ASSERT_EQ(nod->setAt(L"TAGGED", note, noteId), Zcad::eOk);
  note->close();
  nod->close();

  std::string written = writeDxf(db);
  // The class is listed for other programs; both subclasses are in the record.
  EXPECT_NE(written.find("  1\r\nVTTEST_TAGGED\r\n  2\r\nVtTestTaggedNote\r\n"), std::string::npos);
  EXPECT_NE(written.find("100\r\nVtTestNote\r\n  1\r\nmade here\r\n"), std::string::npos);
  EXPECT_NE(written.find("100\r\nVtTestTaggedNote\r\n300\r\nT1\r\n"), std::string::npos);

  LoadResult again = mustLoad(written);
  auto* read = VtTestTaggedNote::cast(openNamed(*again.database, L"TAGGED"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->text, L"made here");
  EXPECT_EQ(read->count, -2);
  EXPECT_EQ(read->tag, L"T1");
  EXPECT_EQ(read->about, modelSpaceEntities(*again.database).at(0));
  read->close();
}

TEST_F(DxfPluginObject, OnlyPluginClassesDerivedFromObjectsGetTheCodec) {
  EXPECT_NE(pluginObjectCodec(VtTestNote::desc()), nullptr);
  EXPECT_EQ(pluginObjectCodec(VtTestNote::desc()), pluginObjectCodec(VtTestNote::desc()));
  EXPECT_EQ(pluginObjectCodec(VtTestNote::desc())->dxfName(), "VTTEST_NOTE");
  for (ZcRxClass* host :
       {ZcDbObject::desc(), ZcDbXrecord::desc(), ZcDbLine::desc(), ZcDbDictionary::desc()}) {
    EXPECT_EQ(pluginObjectCodec(host), nullptr) << host->dxfName();
  }
  EXPECT_EQ(pluginObjectCodec(nullptr), nullptr);
  // A class of a plug-in that is no database object.
  ZcRxClass* service = newZcRxClass(L"VtTestService", L"ZcRxObject", 0, 0, 0, nullptr);
  EXPECT_EQ(pluginObjectCodec(service), nullptr);
  deleteZcRxClass(service);
}
