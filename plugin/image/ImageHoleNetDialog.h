#pragma once
// The txwk dialog: a picture loaded, its contrast and brightness adjusted, the net's rows,
// hole size, inversion and hole shape chosen, the net previewed as red dots over the picture,
// then placed in the drawing by an origin and a height (the dialog hidden for the prompts).
#include "image/HoleNet.h"
#include "image/PictureDisplay.h"
#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ui/ZcUiDialog.h"

namespace veltrace {

class ImageHoleNet : public CZcUiDialog {
 public:
  explicit ImageHoleNet(CWnd* parent = nullptr);
  ~ImageHoleNet() override;

 protected:
  void DoDataExchange(CDataExchange* exchange) override;
  BOOL OnInitDialog() override;

  void OnLoadPicture();
  void OnPreview();
  void OnDraw();
  void OnRowsCommitted();
  void OnContrastDrawn(NMHDR*, LRESULT*);
  void OnBrightnessDrawn(NMHDR*, LRESULT*);
  void OnSizeDrawn(NMHDR*, LRESULT*);
  // The check boxes and the first radio button: nothing beyond their own state.
  void OnStateOnly() {}

  DECLARE_MESSAGE_MAP()

 private:
  bool pictureLoaded() const { return !basePicture_.IsNull(); }
  bool adjustable(const CSliderCtrl& slider) const { return slider.IsWindowEnabled() && pictureLoaded(); }
  void display(const CImage& picture);
  int rows() const;
  HoleShape chosenShape() const;

  CStatic picture_;
  CSliderCtrl contrast_;
  CSliderCtrl brightness_;
  CSliderCtrl size_;
  CZcUiNumericEdit rows_;
  CButton invert_;
  CButton shapes_[4];
  HICON icon_ = nullptr;

  CImage basePicture_;
  CImage adjustedPicture_;
  CImage contrastSnapshot_;
  CImage canvas_;
  int lastContrast_ = 50;
  int lastBrightness_ = 50;
  int holeSize_ = 50;
  double displayScale_ = 1.0;
  bool invertChecked_ = false;
  ZcDbObjectId holeEntity_;
};

}  // namespace veltrace
