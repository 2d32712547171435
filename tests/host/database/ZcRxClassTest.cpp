// The class dictionary: registration by parent name, lookups, deletion.
#include <gtest/gtest.h>

#include <string>

#include "DatabaseTestSupport.h"
#include "zcad/db/ZcDbDictionary.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/rx/ZcRxClass.h"

namespace {

ZcRxObject* makeNothing() { return nullptr; }

TEST(ZcRxClassTest, HostClassesAreRegisteredUnderDrawingFileNamesWithTheirHierarchy) {
  ZcRxClass* dictionary = zcrxFindZcRxClass(L"AcDbDictionary");
  ASSERT_NE(dictionary, nullptr);
  EXPECT_EQ(dictionary, ZcDbDictionary::desc());
  EXPECT_TRUE(dictionary->isDerivedFrom(zcrxFindZcRxClass(L"AcDbObject")));
  EXPECT_TRUE(dictionary->isDerivedFrom(zcrxFindZcRxClass(L"AcRxObject")));
  EXPECT_FALSE(dictionary->isDerivedFrom(zcrxFindZcRxClass(L"AcDbEntity")));
  EXPECT_TRUE(zcrxFindZcRxClass(L"AcDbCurve")->isDerivedFrom(zcrxFindZcRxClass(L"AcDbEntity")));
  EXPECT_EQ(zcrxFindZcRxClassByDxfName(L"layer"), ZcDbLayerTableRecord::desc()) << "DXF names without case";
  EXPECT_EQ(zcrxFindZcRxClass(L"NoSuchClass"), nullptr);

  ZcRxObject* created = zcrxCreateObject(L"XRECORD");
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(std::wstring(created->isA()->name()), L"AcDbXrecord");
  delete created;
  EXPECT_EQ(zcrxCreateObject(L"AcDbCurve"), nullptr) << "abstract";
}

TEST(ZcRxClassTest, PluginClassNamesItsParentAndTheHierarchyIsBuiltLater) {
  // The child is registered before its parent exists: zcrxBuildClassHierarchy resolves it.
  ZcRxClass* child = newZcRxClass(L"VtTestChild", L"VtTestParent", 1, 2, 0, &makeNothing);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->myParent(), nullptr);
  EXPECT_EQ(std::wstring(child->parentName()), L"VtTestParent");
  ZcRxClass* parent = newZcRxClass(L"VtTestParent", L"AcDbObject", 1, 2, 0, &makeNothing);
  zcrxBuildClassHierarchy();
  EXPECT_EQ(child->myParent(), parent);
  EXPECT_TRUE(child->isDerivedFrom(ZcDbObject::desc()));
  EXPECT_EQ(newZcRxClass(L"VtTestChild", L"AcDbObject", 9, 9, 0, &makeNothing), child)
      << "names are not replaced";
  deleteZcRxClass(child);
  deleteZcRxClass(parent);
}

TEST(ZcRxClassTest, DeletedClassStaysValidForItsObjectsButIsNoLongerFound) {
  VtLinkReactor::registerClass();
  ZcRxClass* cls = VtLinkReactor::desc();
  EXPECT_EQ(cls->dwgVersion(), 33);
  EXPECT_EQ(cls->maintenanceVersion(), 55);
  EXPECT_EQ(std::wstring(cls->appName()), L"persreac");
  EXPECT_EQ(std::wstring(cls->dxfName()), L"VTLinkLineToNotify");
  EXPECT_EQ(zcrxFindZcRxClass(L"VTLinkLineToNotify"), cls);
  auto* survivor = VtLinkReactor::cast(zcrxCreateObject(L"VTLinkLineToNotify"));
  ASSERT_NE(survivor, nullptr);

  deleteZcRxClass(cls);
  deleteZcRxClass(cls);  // twice: nothing happens
  EXPECT_EQ(zcrxFindZcRxClass(L"VTLinkLineToNotify"), nullptr);
  EXPECT_EQ(survivor->isA(), cls);
  EXPECT_EQ(std::wstring(survivor->isA()->name()), L"VTLinkLineToNotify") << "retired, not freed";
  EXPECT_TRUE(survivor->isKindOf(ZcDbObject::desc()));
  EXPECT_EQ(cls->create(), nullptr);
  delete survivor;

  // Loading the plug-in again registers a new class under the old name.
  VtLinkReactor::gpDesc = nullptr;
  VtLinkReactor::registerClass();
  EXPECT_NE(VtLinkReactor::desc(), cls);
  EXPECT_EQ(zcrxFindZcRxClass(L"VTLinkLineToNotify"), VtLinkReactor::desc());
}

}  // namespace
