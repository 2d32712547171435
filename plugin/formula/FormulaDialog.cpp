#include "formula/FormulaDialog.h"

#include <cwchar>

#include "formula/CurveThroughPoints.h"
#include "formula/FormulaAxes.h"
#include "formula/FormulaCurve.h"
#include "frame/Messages.h"
#include "frame/Settings.h"
#include "resources/DialogTemplates.h"
#include "resources/ResourceIds.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbExtents.h"
#include "zcad/zced.h"

namespace veltrace {

namespace {

using namespace resources;

constexpr const wchar_t* kListIndexSetting = L"formula_ListIndex";
constexpr const wchar_t* kOutputSetting = L"formula_curveIsPline";
constexpr const wchar_t* kAxesSetting = L"formula_XYcoor";

// The width of a window frame in pixels (the system's frame metric).
constexpr int kFrameWidth = 4;
// A picture drawn at its own size fits between the list and the labels when their distance
// lies in this band (plus two frames).
constexpr int kPictureOwnSizeMin = 512;
constexpr int kPictureOwnSizeMax = 536;
// An origin is given once it lies farther than this from kNoFormulaOrigin.
constexpr double kOriginTolerance = 0.0001;

// The ranges the slots start with, before an entry's own replace them.
constexpr int kInitialMaximum[kFormulaParamCount] = {100, 1000, 100, 100};

// The last position each slider showed, for the life of the process: a repaint at the same
// position does not redraw, in this run or a later one.
std::array<int, kFormulaParamCount> lastSliderPositions{};

std::wstring decimal(int value) {
  wchar_t text[16];
  std::swprintf(text, 16, L"%d", value);
  return text;
}

// The integer the text starts with (white space first allowed); 0 for text that is no number.
int leadingInteger(const std::wstring& text) {
  wchar_t* end = nullptr;
  const long value = std::wcstol(text.c_str(), &end, 10);
  if (end == text.c_str()) return 0;
  if (value > 2147483647L) return 2147483647;
  if (value < -2147483647L - 1) return -2147483647 - 1;
  return static_cast<int>(value);
}

// Colours times alpha, as a 32-bit picture with transparency is blended onto the dialog.
void premultiplyAlpha(CImage& picture) {
  if (picture.GetBPP() != 32 || !picture.HasAlphaChannel()) return;
  for (int y = 0; y < picture.GetHeight(); ++y) {
    auto* pixel = static_cast<unsigned char*>(picture.GetPixelAddress(0, y));
    for (int x = 0; x < picture.GetWidth(); ++x, pixel += 4) {
      for (int c = 0; c < 3; ++c) pixel[c] = static_cast<unsigned char>(pixel[c] * pixel[3] / 255);
    }
  }
}

}  // namespace

BEGIN_MESSAGE_MAP(CMainDlgDlg, CZcUiDialog)
ON_WM_PAINT()
ON_BN_CLICKED(kFormulaPreview, &CMainDlgDlg::OnPreview)
ON_WM_CLOSE()
ON_LBN_SELCHANGE(kFormulaCurveList, &CMainDlgDlg::OnCurveSelected)
ON_EN_KILLFOCUS(2021, &CMainDlgDlg::OnEdit1Committed)
ON_EN_KILLFOCUS(2023, &CMainDlgDlg::OnEdit2Committed)
ON_EN_KILLFOCUS(2024, &CMainDlgDlg::OnEdit3Committed)
ON_EN_KILLFOCUS(2025, &CMainDlgDlg::OnEdit4Committed)
ON_NOTIFY(NM_CUSTOMDRAW, 4010, &CMainDlgDlg::OnSlider1Drawn)
ON_NOTIFY(NM_CUSTOMDRAW, 4011, &CMainDlgDlg::OnSlider2Drawn)
ON_NOTIFY(NM_CUSTOMDRAW, 4012, &CMainDlgDlg::OnSlider3Drawn)
ON_NOTIFY(NM_CUSTOMDRAW, 4013, &CMainDlgDlg::OnSlider4Drawn)
ON_CBN_SELCHANGE(kFormulaOutputKind, &CMainDlgDlg::OnOutputKindChanged)
END_MESSAGE_MAP()

CMainDlgDlg::CMainDlgDlg(CWnd* parent) : CZcUiDialog(kFormulaDialog, parent) {}

// The preview ids go with the dialog; the entities they name stay in the drawing.
CMainDlgDlg::~CMainDlgDlg() = default;

void CMainDlgDlg::DoDataExchange(CDataExchange* exchange) {
  CZcUiDialog::DoDataExchange(exchange);
  DDX_Control(exchange, kFormulaPreview, previewButton_);
  DDX_Control(exchange, kFormulaPicture, picture_);
  for (int k = 0; k < kFormulaParamCount; ++k) {
    DDX_Control(exchange, kFormulaLabels[k], labels_[static_cast<std::size_t>(k)]);
    DDX_Control(exchange, kFormulaEdits[k], edits_[static_cast<std::size_t>(k)]);
    DDX_Control(exchange, kFormulaSliders[k], sliders_[static_cast<std::size_t>(k)]);
  }
  DDX_Control(exchange, kFormulaCurveList, curves_);
  DDX_Control(exchange, kFormulaDrawAxes, drawAxes_);
  DDX_Control(exchange, kFormulaOutputKind, outputKind_);
}

BOOL CMainDlgDlg::OnInitDialog() {
  CZcUiDialog::OnInitDialog();
  const FormulaCurveDef* table = formulaCatalogue(chineseVersion);
  for (int i = 0; i < kFormulaCurveCount; ++i) catalogue_[static_cast<std::size_t>(i)] = table[i];
  SetIcon(icon_, /*big=*/1);
  SetIcon(icon_, /*big=*/0);
  origin_ = kNoFormulaOrigin;
  previewActive_ = false;

  for (const FormulaCurveDef& entry : catalogue_) curves_.AddString(entry.listText);
  for (int k = 0; k < kFormulaParamCount; ++k) {
    const auto slot = static_cast<std::size_t>(k);
    edits_[slot].SetRange(1, kInitialMaximum[k]);
    sliders_[slot].SetRange(1, kInitialMaximum[k]);
  }
  drawAxes_.SetCheck(readSetting(kAxesSetting) != 0 ? BST_CHECKED : BST_UNCHECKED);
  if (outputKind_.GetCount() == 0) {
    outputKind_.AddString(chineseVersion ? L"生成 Spline" : L"Spline");
    outputKind_.AddString(chineseVersion ? L"生成 Polyline" : L"Polyline");
  }
  outputKind_.SetCurSel(readSetting(kOutputSetting) != 0 ? 1 : 0);

  if (!chineseVersion) {
    // The template's captions are Chinese; the English ones stand beside them.
    if (const ZcUiDialogTemplate* own = findDialogTemplate(kFormulaDialog)) {
      for (int i = 0; i < own->controlCount; ++i) {
        const ZcUiControlTemplate& control = own->controls[i];
        if (control.otherCaption) SetDlgItemText(control.id, control.otherCaption);
      }
      SetWindowText(own->otherTitle);
    }
  }

  int listIndex = readSetting(kListIndexSetting);
  if (listIndex > kFormulaCurveCount - 1 || listIndex < 0) listIndex = 0;
  curves_.SetCurSel(listIndex);
  OnCurveSelected();
  return 1;
}

void CMainDlgDlg::OnCurveSelected() {
  previewActive_ = false;
  paintPreview();
  const int selected = curves_.GetCurSel();
  if (selected < 0 || selected >= kFormulaCurveCount) return;
  const FormulaCurveDef& entry = catalogue_[static_cast<std::size_t>(selected)];
  for (int k = 0; k < kFormulaParamCount; ++k) {
    const auto slot = static_cast<std::size_t>(k);
    const FormulaParamDef& param = entry.params[slot];
    const bool shown = param.label && param.label[0] != L'\0';
    labels_[slot].ShowWindow(shown ? SW_SHOW : SW_HIDE);
    edits_[slot].ShowWindow(shown ? SW_SHOW : SW_HIDE);
    sliders_[slot].ShowWindow(shown ? SW_SHOW : SW_HIDE);
    if (!shown) continue;
    labels_[slot].SetWindowText(param.label);
    edits_[slot].SetRange(param.minimum, param.maximum);
    sliders_[slot].SetRange(param.minimum, param.maximum, /*redraw=*/1);
    sliders_[slot].SetPos(param.defaultValue);
    edits_[slot].SetWindowText(decimal(param.defaultValue).c_str());
  }
  // The values themselves follow when the sliders repaint (sliderMoved).
}

void CMainDlgDlg::sliderMoved(int slot) {
  const auto k = static_cast<std::size_t>(slot);
  parameters_[k] = sliders_[k].GetPos();
  if (parameters_[k] == lastSliderPositions[k]) return;
  edits_[k].SetWindowText(decimal(parameters_[k]).c_str());
  if (previewActive_ && originGiven()) regenerate();
  lastSliderPositions[k] = parameters_[k];
}

void CMainDlgDlg::commitEdit(int slot) {
  const auto k = static_cast<std::size_t>(slot);
  edits_[k].Convert();
  int value = leadingInteger(edits_[k].GetWindowText());
  const int maximum = static_cast<int>(edits_[k].GetRangeMax());
  const int minimum = static_cast<int>(edits_[k].GetRangeMin());
  if (value > maximum) {
    value = maximum;
    edits_[k].SetWindowText(decimal(value).c_str());
  } else if (value < minimum) {
    value = minimum;
    edits_[k].SetWindowText(decimal(value).c_str());
  }
  parameters_[k] = value;
  // The slider's repaint carries the value on and redraws when it changed.
  sliders_[k].SetPos(value);
}

void CMainDlgDlg::takeOutputKind() { curveOutputAsSpline = outputKind_.GetCurSel() < 1; }

void CMainDlgDlg::OnOutputKindChanged() { takeOutputKind(); }

bool CMainDlgDlg::originGiven() const { return origin_.distanceTo(kNoFormulaOrigin) > kOriginTolerance; }

void CMainDlgDlg::askForOrigin() {
  BeginEditorCommand();
  zds_point picked = {0.0, 0.0, 0.0};
  if (getPointBilingual(nullptr, L"\n请指定原点>>", L"\nPlease specify the origin>>", picked) == RTNORM) {
    origin_ = ZcGePoint3d(picked[0], picked[1], picked[2]);
    CompleteEditorCommand();
  } else {
    CancelEditorCommand();
  }
}

void CMainDlgDlg::OnPreview() {
  previewActive_ = true;
  takeOutputKind();
  askForOrigin();
  if (originGiven()) regenerate();
}

void CMainDlgDlg::regenerate() {
  previewActive_ = true;
  const int selected = curves_.GetCurSel();
  if (selected < 0 || selected >= kFormulaCurveCount) return;
  for (ZcDbObjectId id : previewIds_) {
    ZcDbEntity* entity = nullptr;
    // Erased meanwhile (by the user, or an undo): nothing to take away.
    if (zcdbOpenObject(entity, id, ZcDb::kForWrite) != Zcad::eOk) continue;
    entity->erase();
    entity->close();
  }
  previewIds_.clear();
  const std::vector<ZcDbObjectId> made =
      generateFormulaCurve(selected, parameters_[0], parameters_[1], parameters_[2], parameters_[3], origin_);
  previewIds_.insert(previewIds_.end(), made.begin(), made.end());
  zcedUpdateDisplay();
}

void CMainDlgDlg::OnClose() {
  if (previewActive_) {
    if (originGiven()) {
      regenerate();
    } else {
      OnPreview();
    }
  }
  const int selected = curves_.GetCurSel();
  const int output = outputKind_.GetCurSel();
  writeSetting(kAxesSetting, drawAxes_.GetCheck() == BST_CHECKED ? 1 : 0);
  writeSetting(kOutputSetting, output < 0 ? 0 : output);
  writeSetting(kListIndexSetting, selected < 0 ? 0 : selected);
  if (drawAxes_.GetCheck() == BST_CHECKED && !previewIds_.empty() && originGiven()) {
    ZcDbExtents extents;
    for (ZcDbObjectId id : previewIds_) {
      ZcDbEntity* entity = nullptr;
      if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) continue;
      ZcDbExtents own;
      if (entity->getGeomExtents(own) == Zcad::eOk) extents.addExt(own);
      entity->close();
    }
    drawFormulaAxes(origin_, extents);
  }
  CZcUiDialog::OnClose();
}

void CMainDlgDlg::OnPaint() {
  CZcUiDialog::OnPaint();
  paintPreview();
}

void CMainDlgDlg::paintPreview() {
  const int selected = curves_.GetCurSel();
  if (selected < 0 || selected >= kFormulaCurveCount) return;
  CImage picture;
  const ZcUiResources* resources = zcuiCurrentResources();
  const auto id = static_cast<UINT>(catalogue_[static_cast<std::size_t>(selected)].previewId);
  if (!resources || !resources->loadPicture || !resources->loadPicture(id, picture)) {
    messageBoxBilingual(L"没加载成功", L"没加载成功");
    return;
  }
  premultiplyAlpha(picture);
  RECT list;
  RECT label;
  curves_.GetWindowRect(&list);
  labels_[0].GetWindowRect(&label);
  const int gap = label.left - list.right;
  const int side = gap - 2 * kFrameWidth;
  if (side <= 0) return;
  const int left = list.right + kFrameWidth;
  if (gap >= kPictureOwnSizeMin + 2 * kFrameWidth && gap <= kPictureOwnSizeMax + 2 * kFrameWidth) {
    picture_.MoveWindow(left, list.top, picture.GetWidth(), picture.GetHeight(), /*repaint=*/0);
    picture_.SetImage(picture);
  } else {
    CImage shown;
    if (!shown.Create(side, side, 32) || !picture.StretchBlt(shown, 0, 0, side, side, HALFTONE)) return;
    picture_.MoveWindow(left, list.top, side, side, /*repaint=*/0);
    picture_.SetImage(shown);
  }
  if (list.bottom - list.top > side)
    curves_.MoveWindow(list.left, list.top, list.right - list.left, side, /*repaint=*/0);
}

}  // namespace veltrace
