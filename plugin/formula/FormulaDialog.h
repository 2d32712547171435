#pragma once
// The FORMULA dialog: the catalogue's curves in a list, each entry's parameters as labelled
// edits and sliders, the entry's preview picture, the output kind (spline or polyline) and
// whether coordinate axes are drawn at close. After the first origin is picked (Preview), the
// curve is redrawn in the drawing at every parameter change; the curve drawn last stays when
// the dialog closes. The entry, the output kind and the axes option are kept in the settings.
#include <array>
#include <vector>

#include "formula/FormulaCatalogue.h"
#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/ui/ZcUiDialog.h"

namespace veltrace {

// The origin before one is given.
inline const ZcGePoint3d kNoFormulaOrigin(-99999.0, -99999.0, -99999.0);

class CMainDlgDlg : public CZcUiDialog {
 public:
  explicit CMainDlgDlg(CWnd* parent = nullptr);
  ~CMainDlgDlg() override;

 protected:
  void DoDataExchange(CDataExchange* exchange) override;
  BOOL OnInitDialog() override;

  void OnPaint();
  void OnClose();
  void OnPreview();
  void OnCurveSelected();
  void OnOutputKindChanged();
  void OnEdit1Committed() { commitEdit(0); }
  void OnEdit2Committed() { commitEdit(1); }
  void OnEdit3Committed() { commitEdit(2); }
  void OnEdit4Committed() { commitEdit(3); }
  void OnSlider1Drawn(NMHDR*, LRESULT*) { sliderMoved(0); }
  void OnSlider2Drawn(NMHDR*, LRESULT*) { sliderMoved(1); }
  void OnSlider3Drawn(NMHDR*, LRESULT*) { sliderMoved(2); }
  void OnSlider4Drawn(NMHDR*, LRESULT*) { sliderMoved(3); }

  DECLARE_MESSAGE_MAP()

 private:
  bool originGiven() const;
  // Asks for the origin with the dialog hidden; true when one was given.
  void askForOrigin();
  void regenerate();
  void paintPreview();
  void commitEdit(int slot);
  void sliderMoved(int slot);
  void takeOutputKind();

  CButton previewButton_;
  CStatic picture_;
  std::array<CStatic, kFormulaParamCount> labels_;
  std::array<CZcUiNumericEdit, kFormulaParamCount> edits_;
  std::array<CSliderCtrl, kFormulaParamCount> sliders_;
  CListBox curves_;
  CButton drawAxes_;
  CComboBox outputKind_;
  HICON icon_ = nullptr;

  std::array<FormulaCurveDef, kFormulaCurveCount> catalogue_{};
  std::array<int, kFormulaParamCount> parameters_{};
  bool previewActive_ = false;
  std::vector<ZcDbObjectId> previewIds_;
  ZcGePoint3d origin_ = kNoFormulaOrigin;
};

}  // namespace veltrace
