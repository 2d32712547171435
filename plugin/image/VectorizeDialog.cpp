#include "image/VectorizeDialog.h"

#include <cstdlib>
#include <cwchar>
#include <optional>

#include "frame/Messages.h"
#include "frame/Settings.h"
#include "frame/TempFiles.h"
#include "image/ExternalTracer.h"
#include "image/ExternalVectorize.h"
#include "image/ImagePlacement.h"
#include "image/InternalVectorize.h"
#include "image/PictureAdjustments.h"
#include "image/PictureLoading.h"
#include "resources/DialogTemplates.h"
#include "resources/ResourceIds.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/platform/zcui.h"
#include "zcad/zced.h"

namespace veltrace {

namespace {

using namespace resources;

constexpr const wchar_t* kPictureFilter = L"bmp;jpg;jpeg;png;gif";

// Takes back the block of outlines that no reference will show.
void eraseBlock(ZcDbObjectId block) {
  ZcDbBlockTableRecord* record = nullptr;
  if (zcdbOpenObject(record, block, ZcDb::kForWrite) != Zcad::eOk) return;
  record->erase();
  record->close();
}

}  // namespace

BEGIN_MESSAGE_MAP(COutlineDlg, CZcUiDialog)
ON_BN_CLICKED(kVectorizeLoad, &COutlineDlg::OnLoadPicture)
ON_BN_CLICKED(kVectorizeRun, &COutlineDlg::OnVectorize)
ON_NOTIFY(NM_CUSTOMDRAW, kVectorizeThreshold, &COutlineDlg::OnThresholdDrawn)
ON_NOTIFY(NM_CUSTOMDRAW, kVectorizeGradient, &COutlineDlg::OnGradientDrawn)
ON_NOTIFY(NM_CUSTOMDRAW, kVectorizeClutter, &COutlineDlg::OnClutterDrawn)
ON_NOTIFY(NM_CUSTOMDRAW, kVectorizeOptimisation, &COutlineDlg::OnOptimisationDrawn)
ON_BN_CLICKED(kVectorizeExternalRoute, &COutlineDlg::OnRouteChanged)
END_MESSAGE_MAP()

COutlineDlg::COutlineDlg(CWnd* parent) : CZcUiDialog(kVectorizeDialog, parent) {}

COutlineDlg::~COutlineDlg() = default;

void COutlineDlg::DoDataExchange(CDataExchange* exchange) {
  CZcUiDialog::DoDataExchange(exchange);
  DDX_Control(exchange, kVectorizePicture, picture_);
  DDX_Control(exchange, kVectorizeThreshold, threshold_);
  DDX_Control(exchange, kVectorizeGradient, gradient_);
  DDX_Control(exchange, kVectorizeClutter, clutter_);
  DDX_Control(exchange, kVectorizeOptimisation, optimisation_);
  DDX_Control(exchange, kVectorizeClutterLabel, clutterLabel_);
  DDX_Control(exchange, kVectorizeOptimisationLabel, optimisationLabel_);
  DDX_Control(exchange, kVectorizeStatus, status_);
  DDX_Control(exchange, kVectorizeExternalRoute, externalRoute_);
}

BOOL COutlineDlg::OnInitDialog() {
  CZcUiDialog::OnInitDialog();
  if (!fileExists(tracerProgramPath())) {
    externalRoute_.EnableWindow(/*enable=*/0);
    externalRoute_.SetCheck(BST_UNCHECKED);
    writeSetting(kExternalRouteSetting, 0);
  }
  SetIcon(icon_, /*big=*/1);
  SetIcon(icon_, /*big=*/0);
  displayScale_ = 1.0;
  optimisationValue_ = 5;
  placed_ = false;
  threshold_.EnableWindow(/*enable=*/0);
  gradient_.EnableWindow(/*enable=*/0);
  clutter_.EnableWindow(/*enable=*/1);
  clutter_.SetRange(2, 16);
  clutter_.SetPos(10);
  optimisation_.SetRange(0, 10);
  optimisation_.SetPos(10);
  if (readSetting(kExternalRouteSetting) != 0) externalRoute_.SetCheck(BST_CHECKED);
  if (!chineseVersion) {
    // The template's captions are Chinese; the English ones stand beside them.
    if (const ZcUiDialogTemplate* own = findDialogTemplate(kVectorizeDialog)) {
      for (int i = 0; i < own->controlCount; ++i) {
        const ZcUiControlTemplate& control = own->controls[i];
        if (control.otherCaption) SetDlgItemText(control.id, control.otherCaption);
      }
      SetWindowText(own->otherTitle);
    }
  }
  lastThreshold_ = threshold_.GetPos();
  lastGradient_ = gradient_.GetPos();
  clutterValue_ = clutter_.GetPos();
  display(basePicture_);
  return 1;
}

void COutlineDlg::display(const CImage& picture) {
  const ZcUiDialogTemplate* own = dialogTemplate();
  const int clientWidth = own ? dialogUnitsToPixelsX(own->rect.width) : 0;
  const int clientHeight = own ? dialogUnitsToPixelsY(own->rect.height) : 0;
  const PictureFit fit = showPicture(canvas_, clientWidth - kImageControlColumnPixels, clientHeight, picture);
  if (!picture.IsNull()) displayScale_ = fit.scale;
  picture_.SetImage(canvas_);
}

void COutlineDlg::setStatus(const std::wstring& text) { status_.SetWindowText(text.c_str()); }

void COutlineDlg::OnLoadPicture() {
  resbuf answer{};
  if (zcedGetFileD(L"图像(*.bmp;*.jpg;*.jpeg;*.png;*.gif)", /*defawlt=*/nullptr, kPictureFilter, /*flags=*/0,
                   &answer) != RTNORM) {
    AfxMessageBox(L"未选中图像文件！");
    return;
  }
  const std::wstring path = answer.resval.rstring;
  std::free(answer.resval.rstring);
  // The tracer program works on the picture at its own size.
  const bool external = externalRoute_.GetCheck() == BST_CHECKED;
  LoadedPicture loaded = loadWorkingPicture(path, external ? 0 : kWidestWorkingPicture);
  if (!loaded.loaded()) {
    AfxMessageBox(pictureLoadMessage(loaded, path).c_str());
    return;
  }
  basePicture_ = std::move(loaded.picture);
  // The working picture of the previous picture is of no use for this one; until a slider
  // makes a new one, the base picture is vectorised.
  workingPicture_.Destroy();
  display(basePicture_);
  threshold_.EnableWindow(/*enable=*/1);
  threshold_.SetRange(1, 254);
  threshold_.SetPos(128);
  gradient_.EnableWindow(/*enable=*/1);
  gradient_.SetRange(1, 8);
  gradient_.SetPos(2);
}

void COutlineDlg::OnThresholdDrawn(NMHDR*, LRESULT*) {
  if (!threshold_.IsWindowEnabled() || !pictureLoaded()) return;
  const int t = threshold_.GetPos();
  if (t == lastThreshold_) return;
  workingPicture_ = copyPicture(basePicture_);
  applyThreshold(workingPicture_, t);
  display(workingPicture_);
  lastThreshold_ = t;
}

void COutlineDlg::OnGradientDrawn(NMHDR*, LRESULT*) {
  if (!gradient_.IsWindowEnabled() || !pictureLoaded()) return;
  const int q = gradient_.GetPos();
  if (q == lastGradient_) return;
  workingPicture_ = copyPicture(basePicture_);
  applyColorGradient(workingPicture_, q);
  display(workingPicture_);
  lastGradient_ = q;
}

void COutlineDlg::OnClutterDrawn(NMHDR*, LRESULT*) {
  clutterValue_ = clutter_.GetPos();
  wchar_t text[64];
  std::swprintf(text, 64, chineseVersion ? L"杂点忽略： %d" : L"Outliers ignored: %d", clutterValue_);
  clutterLabel_.SetWindowText(text);
}

void COutlineDlg::OnOptimisationDrawn(NMHDR*, LRESULT*) {
  optimisationValue_ = optimisation_.GetPos();
  wchar_t text[64];
  std::swprintf(text, 64, chineseVersion ? L"误差优化： %d" : L"Optimization: %d", optimisationValue_);
  optimisationLabel_.SetWindowText(text);
}

void COutlineDlg::OnRouteChanged() {
  optimisation_.EnableWindow(externalRoute_.GetCheck() == BST_CHECKED ? 0 : 1);
}

void COutlineDlg::OnVectorize() {
  if (!pictureLoaded()) {
    setStatus(chineseVersion ? L"请先载入图片" : L"Please load the picture first");
    return;
  }
  const bool external = externalRoute_.GetCheck() == BST_CHECKED;
  writeSetting(kExternalRouteSetting, external ? 1 : 0);
  if (external) {
    vectorizeExternally();
  } else {
    vectorizeInternally();
  }
}

void COutlineDlg::vectorizeInternally() {
  const CImage& picture = pictureToVectorize();
  VectorizeObserver observer;
  observer.status = [this](const std::wstring& text) { setStatus(text); };
  observer.outline = [this](const std::vector<PixelPoint>& outline) {
    for (const PixelPoint& p : outline) {
      paintPoint(canvas_, static_cast<int>(p.x * displayScale_), static_cast<int>(p.y * displayScale_),
                 kDisplayMark);
    }
  };
  const TracedBlock traced =
      traceColourRegionsIntoBlock(picture, clutterValue_, optimisationValue_, observer);
  picture_.SetImage(canvas_);
  if (traced.block.isNull()) return;
  if (!placed_) {
    BeginEditorCommand();
    const std::optional<PicturePlacement> placement = askPicturePlacement();
    if (!placement) {
      // Asking again without end would leave no way out: a cancelled prompt inserts nothing
      // and takes the outlines' block back; the dialog stays open for another try.
      CancelEditorCommand();
      eraseBlock(traced.block);
      setStatus(L"");
      return;
    }
    CompleteEditorCommand();
    placedCorner_ = placement->origin;
    placedHeight_ = placement->height;
    placed_ = true;
  }
  insertTracedBlock(traced.block, PicturePlacement{placedCorner_, placedHeight_}, picture.GetHeight());
  setStatus(L"OK");
  EndDialog(IDOK);
}

void COutlineDlg::vectorizeExternally() {
  const std::wstring bmp = tempFilePath(L".bmp");
  const CImage& picture = pictureToVectorize();
  if (bmp.empty() || FAILED(picture.Save(bmp.c_str(), CImage::FileType::kBmp)) || !fileExists(bmp)) {
    printBilingual(L"转换图片错误！", L"Error converting picture!");
    return;
  }
  BeginEditorCommand();
  vectorizeWithTracer(bmp, clutterValue_);
  CompleteEditorCommand();
  EndDialog(IDOK);
}

}  // namespace veltrace
