// Open discipline, change notifications, erase, hand-over and extended data of ZcDbObject.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "DatabaseTestSupport.h"
#include "zcad/db/ZcDbObject.h"
#include "zcad/db/ZcDbObjectIterator.h"
#include "zcad/db/ZcDbObjectReactor.h"
#include "zcad/db/ZcDbXrecord.h"

namespace {

class ObjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zcdbHostApplicationServices()->setWorkingDatabase(&db);
    id = appendSegment(db, {1, 0, 0}, {5, 0, 0});
    ASSERT_FALSE(id.isNull());
  }
  ZcDbDatabase db;
  ZcDbObjectId id;
};

// Records each notification with the segment's start x at that moment.
class RecordingReactor : public ZcDbObjectReactor {
 public:
  void openedForModify(const ZcDbObject* obj) override { log.push_back(L"openedForModify:" + x(obj)); }
  void modified(const ZcDbObject* obj) override { log.push_back(L"modified:" + x(obj)); }
  void erased(const ZcDbObject*, bool erasing) override { log.push_back(erasing ? L"erased" : L"unerased"); }
  std::vector<std::wstring> log;

 private:
  static std::wstring x(const ZcDbObject* obj) {
    return std::to_wstring(static_cast<int>(TestSegment::cast(obj)->start().x));
  }
};

TEST_F(ObjectTest, EveryMisuseOfOpenAndCloseAnswersItsStatus) {
  ZcDbObject* obj = nullptr;
  EXPECT_EQ(zcdbOpenObject(obj, ZcDbObjectId::kNull, ZcDb::kForRead), Zcad::eNullObjectId);
  EXPECT_EQ(obj, nullptr);

  ZcDbObject* writer = nullptr;
  ASSERT_EQ(zcdbOpenObject(writer, id, ZcDb::kForWrite), Zcad::eOk);
  EXPECT_EQ(zcdbOpenObject(obj, id, ZcDb::kForWrite), Zcad::eWasOpenedForWrite);
  EXPECT_EQ(zcdbOpenObject(obj, id, ZcDb::kForRead), Zcad::eWasOpenedForWrite);
  EXPECT_EQ(writer->close(), Zcad::eOk);
  EXPECT_EQ(writer->close(), Zcad::eNotOpenForRead) << "closing twice";

  ZcDbObject* reader1 = nullptr;
  ZcDbObject* reader2 = nullptr;
  ASSERT_EQ(zcdbOpenObject(reader1, id, ZcDb::kForRead), Zcad::eOk);
  ASSERT_EQ(zcdbOpenObject(reader2, id, ZcDb::kForRead), Zcad::eOk);
  EXPECT_EQ(reader1, reader2);
  EXPECT_EQ(zcdbOpenObject(obj, id, ZcDb::kForWrite), Zcad::eWasOpenedForRead);
  EXPECT_EQ(reader1->upgradeOpen(), Zcad::eHadMultipleReaders);
  EXPECT_EQ(reader2->close(), Zcad::eOk);
  EXPECT_EQ(reader1->upgradeOpen(), Zcad::eOk);
  EXPECT_TRUE(reader1->isWriteEnabled());
  EXPECT_EQ(reader1->downgradeOpen(), Zcad::eOk);
  EXPECT_FALSE(reader1->isWriteEnabled());
  EXPECT_EQ(reader1->close(), Zcad::eOk);

  // Modifying a read-open object answers a status and changes nothing.
  TestSegment* segment = nullptr;
  ASSERT_EQ(zcdbOpenObject(segment, id, ZcDb::kForRead), Zcad::eOk);
  EXPECT_EQ(segment->setStart({9, 9, 9}), Zcad::eNotOpenForWrite);
  EXPECT_EQ(segment->start().x, 1.0);
  segment->close();

  // Wrong class through the typed open: the object is closed again.
  ZcDbXrecord* xrecord = nullptr;
  EXPECT_EQ(zcdbOpenObject(xrecord, id, ZcDb::kForWrite), Zcad::eNotThatKindOfClass);
  ASSERT_EQ(zcdbOpenObject(obj, id, ZcDb::kForWrite), Zcad::eOk) << "left open by the failed typed open";
  obj->close();

  // An object outside a database.
  TestSegment loose;
  EXPECT_EQ(loose.close(), Zcad::eNotInDatabase);
  EXPECT_EQ(loose.setStart({2, 0, 0}), Zcad::eOk);
}

TEST_F(ObjectTest, ErasedObjectsOpenOnlyWithOpenErasedAndComeBackWithUnerase) {
  ZcDbObject* obj = nullptr;
  ASSERT_EQ(zcdbOpenObject(obj, id, ZcDb::kForWrite), Zcad::eOk);
  ASSERT_EQ(obj->erase(), Zcad::eOk);
  EXPECT_EQ(obj->erase(), Zcad::eWasErased);
  obj->close();
  EXPECT_TRUE(id.isErased());
  EXPECT_TRUE(id.isValid()) << "erased objects stay resident";
  EXPECT_EQ(zcdbOpenObject(obj, id, ZcDb::kForRead), Zcad::eWasErased);
  ASSERT_EQ(zcdbOpenObject(obj, id, ZcDb::kForWrite, /*openErased=*/true), Zcad::eOk);
  EXPECT_EQ(obj->erase(/*erasing=*/false), Zcad::eOk);
  obj->close();
  EXPECT_FALSE(id.isErased());
}

TEST_F(ObjectTest, ReactorsHearOpenedForModifyBeforeTheChangeAndModifiedAfterClose) {
  RecordingReactor reactor;
  TestSegment* segment = nullptr;
  ASSERT_EQ(zcdbOpenObject(segment, id, ZcDb::kForRead), Zcad::eOk);
  segment->addReactor(&reactor);
  segment->close();

  ASSERT_EQ(zcdbOpenObject(segment, id, ZcDb::kForWrite), Zcad::eOk);
  segment->setStart({2, 0, 0});
  segment->setStart({3, 0, 0});  // only the first change notifies
  EXPECT_EQ(reactor.log, (std::vector<std::wstring>{L"openedForModify:1"}));
  segment->close();
  EXPECT_EQ(reactor.log, (std::vector<std::wstring>{L"openedForModify:1", L"modified:3"}));

  // Open for write and close without a change: no one hears anything.
  reactor.log.clear();
  ASSERT_EQ(zcdbOpenObject(segment, id, ZcDb::kForWrite), Zcad::eOk);
  segment->close();
  EXPECT_TRUE(reactor.log.empty());

  ASSERT_EQ(zcdbOpenObject(segment, id, ZcDb::kForWrite), Zcad::eOk);
  segment->erase();
  segment->removeReactor(&reactor);
  segment->close();
  EXPECT_EQ(reactor.log, (std::vector<std::wstring>{L"openedForModify:3", L"erased"}));
}

TEST_F(ObjectTest, CancelPutsTheObjectBackWithoutModifiedNotification) {
  RecordingReactor reactor;
  TestSegment* segment = nullptr;
  ASSERT_EQ(zcdbOpenObject(segment, id, ZcDb::kForWrite), Zcad::eOk);
  segment->addReactor(&reactor);
  segment->setStart({7, 0, 0});
  EXPECT_EQ(segment->cancel(), Zcad::eOk);
  EXPECT_EQ(startX(id), 1.0);
  EXPECT_EQ(reactor.log, (std::vector<std::wstring>{L"openedForModify:1"}));
  EXPECT_EQ(segment->cancel(), Zcad::eNotOpenForWrite);
  ZcDbObject* obj = nullptr;
  ASSERT_EQ(zcdbOpenObject(obj, id, ZcDb::kForWrite), Zcad::eOk);
  obj->removeReactor(&reactor);
  obj->close();
}

class PersistentReactorTest : public ObjectTest {
 protected:
  void SetUp() override {
    ObjectTest::SetUp();
    VtLinkReactor::registerClass();
    VtLinkReactor::log = &log;
    other = appendSegment(db, {100, 0, 0}, {200, 0, 0});
    auto* reactor = new VtLinkReactor;
    ASSERT_EQ(db.addZcDbObject(reactorId, reactor), Zcad::eOk);
    reactor->close();
  }
  void TearDown() override { VtLinkReactor::log = nullptr; }

  void attach(ZcDbObjectId target) {
    ZcDbObject* obj = nullptr;
    ASSERT_EQ(zcdbOpenObject(obj, target, ZcDb::kForWrite), Zcad::eOk);
    obj->addPersistentReactor(reactorId);
    obj->close();
    log.entries.clear();  // attaching is a change of its own, which the reactor hears
  }
  void setReactor(ZcDbObjectId follower, ZcDbObjectId intruder) {
    VtLinkReactor* reactor = nullptr;
    ASSERT_EQ(zcdbOpenObject(reactor, reactorId, ZcDb::kForWrite), Zcad::eOk);
    reactor->follower = follower;
    reactor->intruder = intruder;
    reactor->close();
  }
  void moveStart(ZcDbObjectId target, double x) {
    TestSegment* segment = nullptr;
    ASSERT_EQ(zcdbOpenObject(segment, target, ZcDb::kForWrite), Zcad::eOk);
    segment->setStart({x, 0, 0});
    segment->close();
  }

  NotificationLog log;
  ZcDbObjectId other;
  ZcDbObjectId reactorId;
};

TEST_F(PersistentReactorTest, ReactorObjectMovesAnotherObjectInsideItsNotification) {
  attach(id);
  setReactor(/*follower=*/other, /*intruder=*/ZcDbObjectId());
  moveStart(id, 42);
  EXPECT_EQ(startX(other), 42.0);
  EXPECT_EQ(log.entries, (std::vector<std::wstring>{L"openedForModify:1", L"modified:42"}));
}

TEST_F(PersistentReactorTest, ChangingTheNotifyingObjectFromItsReactorIsRefused) {
  // Both segments carry the reactor, which moves each along with the other: without the
  // guard this would bounce between them for ever.
  attach(id);
  attach(other);
  setReactor(/*follower=*/other, /*intruder=*/id);
  moveStart(id, 5);
  EXPECT_EQ(VtLinkReactor::lastIntruderStatus, Zcad::eWasNotifying);
  EXPECT_EQ(startX(other), 5.0);
  EXPECT_EQ(startX(id), 5.0);
}

TEST_F(PersistentReactorTest, ReactorAttachedToItselfDoesNotRecurse) {
  // The reactor observes itself and tries to write itself while it notifies.
  attach(reactorId);
  setReactor(/*follower=*/ZcDbObjectId(), /*intruder=*/reactorId);
  VtLinkReactor* reactor = nullptr;
  ASSERT_EQ(zcdbOpenObject(reactor, reactorId, ZcDb::kForWrite), Zcad::eOk);
  reactor->assertWriteEnabled();
  reactor->value = 3;
  ASSERT_EQ(reactor->close(), Zcad::eOk);
  EXPECT_EQ(VtLinkReactor::lastIntruderStatus, Zcad::eWasNotifying);
  EXPECT_EQ(log.entries, (std::vector<std::wstring>{L"openedForModify:?", L"modified:?"}));
}

TEST_F(PersistentReactorTest, ErasedReactorObjectsAreSkipped) {
  attach(id);
  ZcDbObject* reactor = nullptr;
  ASSERT_EQ(zcdbOpenObject(reactor, reactorId, ZcDb::kForWrite), Zcad::eOk);
  reactor->erase();
  reactor->close();
  moveStart(id, 8);
  EXPECT_TRUE(log.entries.empty());
  ZcDbObject* obj = nullptr;
  ASSERT_EQ(zcdbOpenObject(obj, id, ZcDb::kForRead), Zcad::eOk);
  EXPECT_TRUE(obj->hasPersistentReactor(reactorId));
  void* entry = obj->reactors()->at(0);
  EXPECT_TRUE(zcdbIsPersistentReactor(entry));
  EXPECT_EQ(zcdbPersistentReactorObjectId(entry), reactorId);
  obj->close();
}

TEST_F(ObjectTest, HandOverKeepsIdHandleOwnerAndPlaceAndAnswers36) {
  ZcDbHandle handleBefore = id.handle();
  TestSegment* old = nullptr;
  ASSERT_EQ(zcdbOpenObject(old, id, ZcDb::kForWrite), Zcad::eOk);
  ZcDbObjectId owner = old->ownerId();
  RecordingReactor reactor;
  old->addReactor(&reactor);
  ASSERT_EQ(zcdbRegApp(L"VTAPP"), RTNORM);
  resbuf* xdata = zcutBuildList(1001, L"VTAPP", 1000, L"kept", 0);
  ASSERT_EQ(old->setXData(xdata), Zcad::eOk);
  zcutRelRb(xdata);

  auto* replacement = new TestSegment({30, 0, 0}, {40, 0, 0});
  EXPECT_EQ(old->handOverTo(replacement), Zcad::eObjectToBeDeleted);
  EXPECT_EQ(Zcad::eObjectToBeDeleted, 36);
  EXPECT_FALSE(old->isDatabaseResident());
  delete old;

  EXPECT_EQ(replacement->objectId(), id);
  EXPECT_EQ(replacement->ownerId(), owner);
  EXPECT_TRUE(replacement->isWriteEnabled());
  resbuf* kept = replacement->xData(L"VTAPP");
  ASSERT_NE(kept, nullptr);
  zcutRelRb(kept);
  replacement->close();
  EXPECT_EQ(id.handle(), handleBefore);
  EXPECT_EQ(reactor.log.back(), L"modified:30") << "reactors follow the id";
  EXPECT_EQ(startX(id), 30.0);

  ZcDbBlockTableRecord* space = nullptr;
  ASSERT_EQ(zcdbOpenObject(space, db.modelSpaceId(), ZcDb::kForRead), Zcad::eOk);
  EXPECT_EQ(space->entityIds().front(), id) << "same place in the owner";
  space->close();

  ZcDbObject* obj = nullptr;
  ASSERT_EQ(zcdbOpenObject(obj, id, ZcDb::kForWrite), Zcad::eOk);
  obj->removeReactor(&reactor);
  EXPECT_EQ(obj->handOverTo(obj), Zcad::eInvalidInput);
  EXPECT_EQ(obj->handOverTo(nullptr), Zcad::eNullObjectPointer);
  obj->close();
}

TEST_F(ObjectTest, SwapIdWithExchangesIdentities) {
  ZcDbObjectId second = appendSegment(db, {50, 0, 0}, {60, 0, 0});
  ZcDbObject* a = nullptr;
  ZcDbObject* b = nullptr;
  ASSERT_EQ(zcdbOpenObject(a, id, ZcDb::kForWrite), Zcad::eOk);
  ASSERT_EQ(zcdbOpenObject(b, second, ZcDb::kForWrite), Zcad::eOk);
  ASSERT_EQ(a->swapIdWith(second), Zcad::eOk);
  EXPECT_EQ(a->objectId(), second);
  EXPECT_EQ(b->objectId(), id);
  a->close();
  b->close();
  EXPECT_EQ(startX(id), 50.0);
  EXPECT_EQ(startX(second), 1.0);
}

TEST_F(ObjectTest, ExtendedDataIsReplacedAndRemovedPerApplication) {
  ASSERT_EQ(zcdbRegApp(L"APP_A"), RTNORM);
  ASSERT_EQ(zcdbRegApp(L"APP_B"), RTNORM);
  TestSegment* segment = nullptr;
  ASSERT_EQ(zcdbOpenObject(segment, id, ZcDb::kForWrite), Zcad::eOk);
  resbuf* both = zcutBuildList(1001, L"APP_A", 1000, L"a1", 1070, 7, 1001, L"APP_B", 1040, 2.5, 0);
  ASSERT_EQ(segment->setXData(both), Zcad::eOk);
  zcutRelRb(both);

  resbuf* replaceA = zcutBuildList(1001, L"app_a", 1000, L"a2", 0);  // names compare without case
  ASSERT_EQ(segment->setXData(replaceA), Zcad::eOk);
  zcutRelRb(replaceA);
  resbuf* a = segment->xData(L"APP_A");
  ASSERT_NE(a, nullptr);
  ASSERT_NE(a->rbnext, nullptr);
  EXPECT_EQ(std::wstring(a->rbnext->resval.rstring), L"a2");
  EXPECT_EQ(a->rbnext->rbnext, nullptr) << "the old items of APP_A are gone";
  zcutRelRb(a);
  resbuf* b = segment->xData(L"APP_B");
  ASSERT_NE(b, nullptr) << "APP_B untouched";
  EXPECT_DOUBLE_EQ(b->rbnext->resval.rreal, 2.5);
  zcutRelRb(b);

  resbuf* removeB = zcutBuildList(1001, L"APP_B", 0);
  ASSERT_EQ(segment->setXData(removeB), Zcad::eOk);
  zcutRelRb(removeB);
  EXPECT_EQ(segment->xData(L"APP_B"), nullptr);

  resbuf* unregistered = zcutBuildList(1001, L"NOT_REGISTERED", 1000, L"x", 0);
  EXPECT_EQ(segment->setXData(unregistered), Zcad::eKeyNotFound);
  zcutRelRb(unregistered);
  resbuf* nan = zcutBuildList(1001, L"APP_A", 1040, std::nan(""), 0);
  EXPECT_EQ(segment->setXData(nan), Zcad::eInvalidInput);
  zcutRelRb(nan);
  resbuf* unbalanced = zcutBuildList(1001, L"APP_A", 1002, L"{", 0);
  EXPECT_EQ(segment->setXData(unbalanced), Zcad::eInvalidResBuf);
  zcutRelRb(unbalanced);
  resbuf* noApp = zcutBuildList(1000, L"orphan", 0);
  EXPECT_EQ(segment->setXData(noApp), Zcad::eInvalidResBuf);
  zcutRelRb(noApp);
  segment->close();
}

TEST_F(ObjectTest, CloneOfAPluginClassGoesThroughItsFilingWithExtendedData) {
  VtLinkReactor::registerClass();
  VtLinkReactor original;
  original.value = 17;
  original.follower = id;
  resbuf* xdata = zcutBuildList(1001, L"ANY", 1000, L"text", 1010, std::vector<double>{1, 2, 3}.data(), 0);
  ASSERT_EQ(original.setXData(xdata), Zcad::eOk) << "any application outside a database";
  zcutRelRb(xdata);
  auto* copy = VtLinkReactor::cast(original.clone());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->value, 17);
  EXPECT_EQ(copy->follower, id);
  resbuf* copied = copy->xData();
  ASSERT_NE(copied, nullptr);
  EXPECT_DOUBLE_EQ(copied->rbnext->rbnext->resval.rpoint[2], 3.0);
  zcutRelRb(copied);
  delete copy;
}

TEST_F(ObjectTest, ExtensionDictionaryIsCreatedOnceAndReleasedOnlyWhenEmpty) {
  ZcDbObject* obj = nullptr;
  ASSERT_EQ(zcdbOpenObject(obj, id, ZcDb::kForWrite), Zcad::eOk);
  ASSERT_EQ(obj->createExtensionDictionary(), Zcad::eOk);
  EXPECT_EQ(obj->createExtensionDictionary(), Zcad::eAlreadyInDb);
  ZcDbObjectId dictId = obj->extensionDictionary();
  EXPECT_EQ(dictId.objectClass()->name(), std::wstring(L"AcDbDictionary"));
  EXPECT_EQ(obj->releaseExtensionDictionary(), Zcad::eOk);
  EXPECT_TRUE(obj->extensionDictionary().isNull());
  EXPECT_TRUE(dictId.isErased());
  obj->close();
}

TEST_F(ObjectTest, ObjectIteratorWalksIdsBothWaysAndSkipsErased) {
  ZcDbObjectId second = appendSegment(db, {2, 0, 0}, {3, 0, 0});
  ZcDbObjectId third = appendSegment(db, {3, 0, 0}, {4, 0, 0});
  ZcDbObject* obj = nullptr;
  ASSERT_EQ(zcdbOpenObject(obj, second, ZcDb::kForWrite), Zcad::eOk);
  obj->erase();
  obj->close();
  ZcDbObjectIterator it(ZcDbObjectIdArray{id, second, third});
  std::vector<ZcDbObjectId> seen;
  for (it.start(); !it.done(); it.step()) seen.push_back(it.objectId());
  EXPECT_EQ(seen, (std::vector<ZcDbObjectId>{id, third}));
  it.start(/*atEnd=*/true);
  EXPECT_EQ(it.objectId(), third);
  ASSERT_NE(it.entity(), nullptr);
  EXPECT_EQ(it.entity()->objectId(), third);
  it.step(/*backwards=*/true);
  EXPECT_EQ(it.objectId(), id);
  EXPECT_FALSE(it.setPosition(ZcDbObjectId()));
  EXPECT_EQ(it.objectId(), id);
}

// A block keeps the length of its entity list for cancel(), not a copy of the list (a copy
// per open made appending a million entities one open at a time quadratic).
TEST_F(ObjectTest, CancellingABlockDropsOnlyTheEntitiesAppendedSinceItWasOpened) {
  ZcDbBlockTableRecord* space = nullptr;
  ASSERT_EQ(zcdbOpenObject(space, db.modelSpaceId(), ZcDb::kForWrite), Zcad::eOk);
  ZcDbObjectId added;
  auto* segment = new TestSegment({0, 0, 0}, {1, 1, 0});
  ASSERT_EQ(space->appendZcDbEntity(added, segment), Zcad::eOk);
  segment->close();
  ASSERT_EQ(space->setComments(L"changed"), Zcad::eOk);
  ASSERT_EQ(space->cancel(), Zcad::eOk);

  ASSERT_EQ(zcdbOpenObject(space, db.modelSpaceId(), ZcDb::kForWrite), Zcad::eOk);
  EXPECT_EQ(space->entityIds(), (std::vector<ZcDbObjectId>{id}));
  const ZTCHAR* comments = nullptr;
  ASSERT_EQ(space->comments(comments), Zcad::eOk);
  EXPECT_STREQ(comments, L"") << "the rest of the record is put back too";
  segment = new TestSegment({0, 0, 0}, {2, 2, 0});
  ASSERT_EQ(space->appendZcDbEntity(added, segment), Zcad::eOk);
  segment->close();
  space->close();
  ASSERT_EQ(zcdbOpenObject(space, db.modelSpaceId(), ZcDb::kForRead), Zcad::eOk);
  EXPECT_EQ(space->entityIds(), (std::vector<ZcDbObjectId>{id, added}));
  space->close();
}

}  // namespace
