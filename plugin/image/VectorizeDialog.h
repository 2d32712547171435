#pragma once
// The R2V dialog: a picture loaded and simplified to black and white (threshold) or to a few
// colour steps (gradient), the clutter and optimisation values chosen, then vectorised by the
// plug-in's own route (outlines gathered in a block placed by an origin and a height) or, in
// quick mode, by the tracer program (its DXF file inserted at a picked point).
#include "image/PictureDisplay.h"
#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/ui/ZcUiDialog.h"

namespace veltrace {

// The setting that keeps the route: non-zero for the tracer program.
inline constexpr const wchar_t* kExternalRouteSetting = L"VectorizeGjCtrl";

class COutlineDlg : public CZcUiDialog {
 public:
  explicit COutlineDlg(CWnd* parent = nullptr);
  ~COutlineDlg() override;

 protected:
  void DoDataExchange(CDataExchange* exchange) override;
  BOOL OnInitDialog() override;

  void OnLoadPicture();
  void OnVectorize();
  void OnRouteChanged();
  void OnThresholdDrawn(NMHDR*, LRESULT*);
  void OnGradientDrawn(NMHDR*, LRESULT*);
  void OnClutterDrawn(NMHDR*, LRESULT*);
  void OnOptimisationDrawn(NMHDR*, LRESULT*);

  DECLARE_MESSAGE_MAP()

 private:
  bool pictureLoaded() const { return !basePicture_.IsNull(); }
  const CImage& pictureToVectorize() const {
    return workingPicture_.IsNull() ? basePicture_ : workingPicture_;
  }
  void display(const CImage& picture);
  void setStatus(const std::wstring& text);
  void vectorizeInternally();
  void vectorizeExternally();

  CStatic picture_;
  CSliderCtrl threshold_;
  CSliderCtrl gradient_;
  CSliderCtrl clutter_;
  CSliderCtrl optimisation_;
  CStatic clutterLabel_;
  CStatic optimisationLabel_;
  CStatic status_;
  CButton externalRoute_;
  HICON icon_ = nullptr;

  CImage basePicture_;
  CImage workingPicture_;
  CImage canvas_;
  int lastThreshold_ = 0;
  int lastGradient_ = 0;
  int clutterValue_ = 10;
  int optimisationValue_ = 5;
  double displayScale_ = 1.0;
  bool placed_ = false;
  ZcGePoint3d placedCorner_;
  double placedHeight_ = 0.0;
};

}  // namespace veltrace
