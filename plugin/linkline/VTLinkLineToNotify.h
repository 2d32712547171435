#pragma once
// The persistent reactor that keeps connector lines attached to the closed curves they join.
// It lives in the drawing among a curve's reactors; the plug-in registers its runtime class at
// load and removes it at unload. Objects of the class read back from a drawing while the
// plug-in is loaded are of this class; without the plug-in the host keeps them as it finds
// them.
#include "zcad/db/ZcDbObject.h"
#include "zcad/rx/ZcRxClass.h"

class VTLinkLineToNotify : public ZcDbObject {
 public:
  ZCRX_DECLARE_MEMBERS(VTLinkLineToNotify)
  VTLinkLineToNotify() = default;
  ~VTLinkLineToNotify() override = default;

  // The class's creator: a default object.
  static ZcRxObject* create() { return new VTLinkLineToNotify; }

  // The class as registered.
  static constexpr const wchar_t* kClassName = L"VTLinkLineToNotify";
  static constexpr const wchar_t* kParentClassName = L"AcDbObject";
  static constexpr const wchar_t* kDxfName = L"VTLinkLineToNotify";
  static constexpr const wchar_t* kAppName = L"persreac";
  static constexpr int kDwgVersion = 33;
  static constexpr int kMaintenanceVersion = 55;
};
