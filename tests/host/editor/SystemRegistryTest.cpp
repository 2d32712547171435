// The system registry: the host's services under their names, and entries plug-ins add.
#include <gtest/gtest.h>

#include "zcad/ed/ZcEdCommandStack.h"
#include "zcad/rx/ZcRxDictionary.h"
#include "zcad/rx/ZcRxDynamicLinker.h"

namespace {

class Marker : public ZcRxObject {};

TEST(SystemRegistryTest, HostServicesAreFoundByNameAsTheirOwnClasses) {
  ZcRxDictionary* registry = zcrxSysRegistry();
  ASSERT_NE(registry, nullptr);
  EXPECT_TRUE(registry->isKindOf(ZcRxDictionary::desc()));
  EXPECT_EQ(ZcRxDynamicLinker::cast(registry->at(ZCRX_DYNAMIC_LINKER)), zcrxDynamicLinker());
  EXPECT_EQ(ZcEdCommandStack::cast(registry->at(ZCRX_REGISTERED_COMMANDS)), zcedRegCmds());
  // The wrong class for a name is no service.
  EXPECT_EQ(ZcRxDynamicLinker::cast(registry->at(ZCRX_REGISTERED_COMMANDS)), nullptr);
  EXPECT_EQ(registry->at(L"NoSuchService"), nullptr);
  EXPECT_EQ(registry->at(nullptr), nullptr);
}

TEST(SystemRegistryTest, EntriesBelongToTheRegistryUntilTakenOutAndServicesStayTheHosts) {
  ZcRxDictionary* registry = zcrxSysRegistry();
  const Zdesk::UInt32 before = registry->numEntries();
  auto* first = new Marker;
  auto* second = new Marker;
  EXPECT_EQ(registry->atPut(L"VtTestEntry", first), nullptr);
  EXPECT_TRUE(registry->has(L"VtTestEntry"));
  EXPECT_EQ(registry->numEntries(), before + 1);
  ZcRxObject* replaced = registry->atPut(L"VtTestEntry", second);
  EXPECT_EQ(replaced, first) << "the caller owns what was replaced";
  delete replaced;
  ZcRxObject* taken = registry->remove(L"VtTestEntry");
  EXPECT_EQ(taken, second);
  delete taken;
  EXPECT_FALSE(registry->has(L"VtTestEntry"));
  EXPECT_EQ(registry->numEntries(), before);

  // A service is hidden by an entry under its name, and shows again when the entry goes; it is
  // never handed out to be deleted.
  auto* standIn = new Marker;
  EXPECT_EQ(registry->atPut(ZCRX_DYNAMIC_LINKER, standIn), nullptr);
  EXPECT_EQ(registry->at(ZCRX_DYNAMIC_LINKER), standIn);
  EXPECT_EQ(registry->numEntries(), before);
  ZcRxObject* back = registry->remove(ZCRX_DYNAMIC_LINKER);
  EXPECT_EQ(back, standIn);
  delete back;
  EXPECT_EQ(registry->remove(ZCRX_DYNAMIC_LINKER), nullptr);
  EXPECT_EQ(registry->at(ZCRX_DYNAMIC_LINKER), zcrxDynamicLinker());
}

}  // namespace
