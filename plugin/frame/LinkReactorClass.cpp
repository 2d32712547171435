#include "frame/LinkReactorClass.h"

#include "linkline/VTLinkLineToNotify.h"

namespace veltrace {
namespace {

// A class under our name is ours when it makes our objects: the creator's address is the
// one thing another library's class cannot share with ours.
bool isOurClass(const ZcRxClass* cls) {
  return cls && cls->pseudoConstructor() == &VTLinkLineToNotify::create;
}

}  // namespace

void registerLinkReactorClass() {
  using Reactor = VTLinkLineToNotify;
  if (Reactor::gpDesc) {
    ZcRxClass* found = zcrxFindZcRxClass(Reactor::kClassName);
    if (found == Reactor::gpDesc) return;
    if (found) zcrx_abort(L"Class mismatch");
  }
  ZcRxClass* cls = newZcRxClass(Reactor::kClassName, Reactor::kParentClassName, Reactor::kDwgVersion,
                                Reactor::kMaintenanceVersion, /*proxyFlags=*/0, &Reactor::create,
                                Reactor::kDxfName, Reactor::kAppName);
  // The host answers the class already filed under the name when there is one: someone
  // else's class there would make our objects theirs.
  if (!isOurClass(cls)) zcrx_abort(L"Class mismatch");
  Reactor::gpDesc = cls;
  zcrxBuildClassHierarchy();
}

void unregisterLinkReactorClass() {
  if (!VTLinkLineToNotify::gpDesc) return;
  deleteZcRxClass(VTLinkLineToNotify::gpDesc);
  // The library may stay mapped: a later load must register anew.
  VTLinkLineToNotify::gpDesc = nullptr;
}

}  // namespace veltrace
