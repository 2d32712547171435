// Dictionaries and xrecords.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "DatabaseTestSupport.h"
#include "zcad/db/ZcDbDictionary.h"
#include "zcad/db/ZcDbXrecord.h"

namespace {

class DictionaryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zcdbHostApplicationServices()->setWorkingDatabase(&db);
    VtLinkReactor::registerClass();
  }
  ZcDbDatabase db;
};

TEST_F(DictionaryTest, PluginObjectsAreFiledUnderKeysWithoutRegardToCase) {
  ZcDbDictionary* nod = nullptr;
  ASSERT_EQ(db.getNamedObjectsDictionary(nod, ZcDb::kForWrite), Zcad::eOk);
  EXPECT_TRUE(nod->has(L"acad_group"));
  auto* link = new VtLinkReactor;
  link->value = 5;
  ZcDbObjectId linkId;
  ASSERT_EQ(nod->setAt(L"VtLinks", link, linkId), Zcad::eOk);
  EXPECT_TRUE(link->isWriteEnabled()) << "left open for the caller";
  EXPECT_EQ(link->ownerId(), nod->objectId());
  link->close();

  ZcDbObjectId found;
  EXPECT_EQ(nod->getAt(L"VTLINKS", found), Zcad::eOk);
  EXPECT_EQ(found, linkId);
  ZcString key;
  ASSERT_EQ(nod->nameAt(linkId, key), Zcad::eOk);
  EXPECT_EQ(key, ZcString(L"VtLinks")) << "keys keep their spelling";
  EXPECT_EQ(nod->numEntries(), 2u);

  // Replacing erases the old object.
  auto* replacement = new VtLinkReactor;
  ZcDbObjectId replacementId;
  ASSERT_EQ(nod->setAt(L"vtlinks", replacement, replacementId), Zcad::eOk);
  replacement->close();
  EXPECT_TRUE(linkId.isErased());
  EXPECT_EQ(nod->numEntries(), 2u);

  ZcDbObject* obj = nullptr;
  ASSERT_EQ(nod->getAt(L"VtLinks", obj, ZcDb::kForRead), Zcad::eOk);
  EXPECT_EQ(obj->isA(), VtLinkReactor::desc());
  obj->close();

  ZcDbObjectId removed;
  ASSERT_EQ(nod->remove(L"VTLINKS", removed), Zcad::eOk);
  EXPECT_EQ(removed, replacementId);
  EXPECT_FALSE(nod->has(L"VtLinks"));
  EXPECT_EQ(nod->remove(L"VtLinks"), Zcad::eKeyNotFound);
  auto* keyless = new VtLinkReactor;
  EXPECT_EQ(nod->setAt(L"", keyless, removed), Zcad::eInvalidKey);
  delete keyless;  // refused: still the caller's
  nod->close();
  ASSERT_EQ(zcdbOpenObject(obj, replacementId, ZcDb::kForRead), Zcad::eOk);
  EXPECT_TRUE(obj->ownerId().isNull());
  obj->close();
}

TEST_F(DictionaryTest, IteratorGivesNamesAndIdsInKeyOrderAndErasingTheDictionaryErasesItsEntries) {
  ZcDbDictionary* nod = nullptr;
  ASSERT_EQ(db.getNamedObjectsDictionary(nod, ZcDb::kForWrite), Zcad::eOk);
  auto* sub = new ZcDbDictionary;
  ZcDbObjectId subId;
  ASSERT_EQ(nod->setAt(L"VT_DATA", sub, subId), Zcad::eOk);
  nod->close();
  ZcDbObjectId ids[3];
  const wchar_t* keys[3] = {L"beta", L"Alpha", L"gamma"};
  for (int i = 0; i < 3; ++i) {
    auto* record = new ZcDbXrecord;
    ASSERT_EQ(sub->setAt(keys[i], record, ids[i]), Zcad::eOk);
    record->close();
  }
  ZcDbDictionaryIterator* it = sub->newIterator();
  std::wstring seen;
  for (; !it->done(); it->next()) seen += std::wstring(it->name()) + L",";
  EXPECT_EQ(seen, L"Alpha,beta,gamma,");
  EXPECT_TRUE(it->setPosition(ids[2]));
  EXPECT_EQ(it->objectId(), ids[2]);
  delete it;

  ASSERT_EQ(sub->erase(), Zcad::eOk);
  sub->close();
  for (ZcDbObjectId id : ids) EXPECT_TRUE(id.isErased());
}

TEST_F(DictionaryTest, DictionaryOutsideADatabaseRefusesEntries) {
  ZcDbDictionary loose;
  auto* record = new ZcDbXrecord;
  ZcDbObjectId id;
  EXPECT_EQ(loose.setAt(L"k", record, id), Zcad::eNotInDatabase);
  delete record;
}

TEST(ZcDbXrecordTest, ChainIsCopiedInAndOutAndBadGroupsAreRefused) {
  ZcDbXrecord record;
  double point[3] = {1, 2, 3};
  resbuf* chain = zcutBuildList(1, L"label", 10, point, 40, 2.5, 70, 3, 0);
  ASSERT_EQ(record.setFromRbChain(*chain), Zcad::eOk);
  zcutRelRb(chain);
  resbuf* out = nullptr;
  ASSERT_EQ(record.rbChain(&out), Zcad::eOk);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(std::wstring(out->resval.rstring), L"label");
  EXPECT_DOUBLE_EQ(out->rbnext->resval.rpoint[1], 2.0);
  zcutRelRb(out);

  resbuf* xdataCodes = zcutBuildList(1000, L"extended", 0);
  EXPECT_EQ(record.setFromRbChain(xdataCodes), Zcad::eInvalidResBuf);
  zcutRelRb(xdataCodes);
  resbuf* nan = zcutBuildList(40, std::nan(""), 0);
  EXPECT_EQ(record.setFromRbChain(nan), Zcad::eInvalidInput);
  zcutRelRb(nan);

  auto* copy = ZcDbXrecord::cast(record.clone());
  ASSERT_NE(copy, nullptr);
  resbuf* copied = copy->rbChain();
  ASSERT_NE(copied, nullptr);
  EXPECT_EQ(copied->rbnext->rbnext->rbnext->resval.rint, 3);
  zcutRelRb(copied);
  delete copy;
}

}  // namespace
