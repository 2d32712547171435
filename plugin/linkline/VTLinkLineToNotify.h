#pragma once
// The persistent reactor that keeps connector lines attached to the closed curves they join.
// It lives in the drawing among a curve's reactors; the plug-in registers its runtime class at
// load and removes it at unload. Objects of the class read back from a drawing while the
// plug-in is loaded are of this class; without the plug-in the host keeps them as it finds
// them.
//
// When the watched curve (any curve but a spline) is opened for change, the reactor records
// the side midpoints of its extents and collects the splines crossing the extents grown by a
// thirtieth of their diagonal. After the change, each collected spline whose start or end
// lies on a recorded midpoint (within a hundredth of the curve's width plus height) has that
// fit point moved to the side's new midpoint. Nothing of this is saved: after a drawing is
// opened again the reactor starts empty and fills itself at the next change. Failures (a
// spline that cannot be opened, a selection that finds nothing) are passed over; the curve's
// edit always goes through.
#include <vector>

#include "linkline/SideMidpoints.h"
#include "zcad/db/ZcDbObject.h"
#include "zcad/rx/ZcRxClass.h"

class VTLinkLineToNotify : public ZcDbObject {
 public:
  ZCRX_DECLARE_MEMBERS(VTLinkLineToNotify)
  VTLinkLineToNotify() {
    candidates_.reserve(kCandidateGrowth);
    ++liveObjects_;
  }
  ~VTLinkLineToNotify() override { --liveObjects_; }
  // Objects of the class that exist (in drawings, in their undo records): while there are
  // any, the plug-in's code must stay loaded, for their notifications and destructors.
  static long liveObjects() { return liveObjects_; }

  // The class's creator: a default object.
  static ZcRxObject* create() { return new VTLinkLineToNotify; }

  // The class as registered.
  static constexpr const wchar_t* kClassName = L"VTLinkLineToNotify";
  static constexpr const wchar_t* kParentClassName = L"AcDbObject";
  static constexpr const wchar_t* kDxfName = L"VTLinkLineToNotify";
  static constexpr const wchar_t* kAppName = L"persreac";
  static constexpr int kDwgVersion = 33;
  static constexpr int kMaintenanceVersion = 55;

  // Only the base's fields are filed: the reactor's own are transient.
  Zcad::ErrorStatus dwgInFields(ZcDbDwgFiler* filer) override;
  Zcad::ErrorStatus dwgOutFields(ZcDbDwgFiler* filer) const override;
  Zcad::ErrorStatus dxfInFields(ZcDbDxfFiler* filer) override;
  Zcad::ErrorStatus dxfOutFields(ZcDbDxfFiler* filer) const override;

  void openedForModify(const ZcDbObject* dbObj) override;
  void modified(const ZcDbObject* dbObj) override;

 private:
  static constexpr std::size_t kCandidateGrowth = 8;
  // Objects are made and freed on the host's command thread only.
  static inline long liveObjects_ = 0;
  veltrace::SideMidpoints recorded_;
  std::vector<ZcDbObjectId> candidates_;
};
