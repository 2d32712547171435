#include "image/ImageHoleNetDialog.h"

#include <cstdlib>
#include <cwchar>

#include "frame/Messages.h"
#include "frame/ResbufChain.h"
#include "frame/SelectionSet.h"
#include "image/ImagePlacement.h"
#include "image/PictureAdjustments.h"
#include "image/PictureLoading.h"
#include "resources/DialogTemplates.h"
#include "resources/ResourceIds.h"
#include "zcad/platform/zcui.h"
#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {

using namespace resources;

constexpr const wchar_t* kPictureFilter = L"bmp;jpg;jpeg;png;gif";
constexpr MessagePair kLoadFirst{L"请先载入图片", L"Please load the picture first"};

// The integer the text starts with; 0 for text that is no number.
int leadingInteger(const std::wstring& text) {
  wchar_t* end = nullptr;
  const long value = std::wcstol(text.c_str(), &end, 10);
  if (end == text.c_str()) return 0;
  if (value > 1000000L) return 1000000;
  if (value < -1000000L) return -1000000;
  return static_cast<int>(value);
}

// The entity a hole is a copy of: one pick of a polyline, circle, ellipse, block reference or
// spline. Null when nothing was picked.
ZcDbObjectId pickHoleEntity() {
  printBilingual(L"\n请选择一个代表网孔的物体（多段线、圆、椭圆或图块）:",
                 L"\nPlease select an entity(polyline, circle, ellipse or block) representing the hole:");
  const ResbufChain filter(zcutBuildList(-4, L"<or", RTDXF0, L"LWPOLYLINE", RTDXF0, L"POLYLINE", RTDXF0,
                                         L"CIRCLE", RTDXF0, L"ELLIPSE", RTDXF0, L"INSERT", RTDXF0, L"SPLINE",
                                         -4, L"or>", /*end=*/0));
  SelectionSet set;
  ZcDbObjectId id;
  if (zcedSSGet(/*mode=*/L":S", /*pt1=*/nullptr, /*pt2=*/nullptr, filter.get(), set.name) == RTNORM) {
    const ObjectIdList picked = selectionSetIds(set.name);
    if (!picked.empty()) id = picked.front();
  }
  if (id.isNull()) printBilingual(L"没有选中物体。\n", L"No Entity selected.\n");
  return id;
}

}  // namespace

BEGIN_MESSAGE_MAP(ImageHoleNet, CZcUiDialog)
ON_BN_CLICKED(kHoleNetLoad, &ImageHoleNet::OnLoadPicture)
ON_BN_CLICKED(kHoleNetPreview, &ImageHoleNet::OnPreview)
ON_NOTIFY(NM_CUSTOMDRAW, kHoleNetContrast, &ImageHoleNet::OnContrastDrawn)
ON_NOTIFY(NM_CUSTOMDRAW, kHoleNetBrightness, &ImageHoleNet::OnBrightnessDrawn)
ON_NOTIFY(NM_CUSTOMDRAW, kHoleNetSize, &ImageHoleNet::OnSizeDrawn)
ON_BN_CLICKED(kHoleNetPreviewImage, &ImageHoleNet::OnStateOnly)
ON_BN_CLICKED(kHoleNetPreviewNet, &ImageHoleNet::OnStateOnly)
ON_BN_CLICKED(kHoleNetInvert, &ImageHoleNet::OnStateOnly)
ON_BN_CLICKED(4030, &ImageHoleNet::OnStateOnly)
ON_EN_KILLFOCUS(kHoleNetRows, &ImageHoleNet::OnRowsCommitted)
ON_BN_CLICKED(kHoleNetDraw, &ImageHoleNet::OnDraw)
END_MESSAGE_MAP()

ImageHoleNet::ImageHoleNet(CWnd* parent) : CZcUiDialog(kHoleNetDialog, parent) {}

ImageHoleNet::~ImageHoleNet() = default;

void ImageHoleNet::DoDataExchange(CDataExchange* exchange) {
  CZcUiDialog::DoDataExchange(exchange);
  DDX_Control(exchange, kHoleNetPicture, picture_);
  DDX_Control(exchange, kHoleNetContrast, contrast_);
  DDX_Control(exchange, kHoleNetBrightness, brightness_);
  DDX_Control(exchange, kHoleNetSize, size_);
  DDX_Control(exchange, kHoleNetRows, rows_);
  DDX_Control(exchange, kHoleNetInvert, invert_);
  for (int k = 0; k < 4; ++k) DDX_Control(exchange, kHoleNetShapes[k], shapes_[k]);
}

BOOL ImageHoleNet::OnInitDialog() {
  CZcUiDialog::OnInitDialog();
  SetIcon(icon_, /*big=*/1);
  SetIcon(icon_, /*big=*/0);
  displayScale_ = 1.0;
  for (CSliderCtrl* slider : {&contrast_, &brightness_, &size_}) {
    slider->EnableWindow(/*enable=*/0);
    slider->SetRange(0, 100);
    slider->SetPos(50);
  }
  rows_.SetWindowText(L"72");
  if (!chineseVersion) {
    // The template's captions are Chinese; the English ones stand beside them.
    if (const ZcUiDialogTemplate* own = findDialogTemplate(kHoleNetDialog)) {
      for (int i = 0; i < own->controlCount; ++i) {
        const ZcUiControlTemplate& control = own->controls[i];
        if (control.otherCaption) SetDlgItemText(control.id, control.otherCaption);
      }
      SetWindowText(own->otherTitle);
    }
  }
  lastContrast_ = contrast_.GetPos();
  lastBrightness_ = brightness_.GetPos();
  holeSize_ = size_.GetPos();
  shapes_[0].SetCheck(BST_CHECKED);
  holeEntity_ = ZcDbObjectId();
  display(basePicture_);
  return 1;
}

void ImageHoleNet::display(const CImage& picture) {
  const ZcUiDialogTemplate* own = dialogTemplate();
  const int clientWidth = own ? dialogUnitsToPixelsX(own->rect.width) : 0;
  const int clientHeight = own ? dialogUnitsToPixelsY(own->rect.height) : 0;
  const PictureFit fit = showPicture(canvas_, clientWidth - kImageControlColumnPixels, clientHeight, picture);
  if (!picture.IsNull()) displayScale_ = fit.scale;
  picture_.SetImage(canvas_);
}

void ImageHoleNet::OnLoadPicture() {
  resbuf answer{};
  if (zcedGetFileD(L"图像(*.bmp;*.jpg;*.jpeg;*.png;*.gif)", /*defawlt=*/nullptr, kPictureFilter, /*flags=*/0,
                   &answer) != RTNORM) {
    AfxMessageBox(L"未选中图像文件！");
    return;
  }
  const std::wstring path = answer.resval.rstring;
  std::free(answer.resval.rstring);
  LoadedPicture loaded = loadWorkingPicture(path, kWidestWorkingPicture);
  if (!loaded.loaded()) {
    AfxMessageBox(pictureLoadMessage(loaded, path).c_str());
    return;
  }
  basePicture_ = std::move(loaded.picture);
  display(basePicture_);
  adjustedPicture_ = copyPicture(basePicture_);
  contrastSnapshot_.Destroy();
  for (CSliderCtrl* slider : {&contrast_, &brightness_, &size_}) slider->EnableWindow(/*enable=*/1);
}

void ImageHoleNet::OnContrastDrawn(NMHDR*, LRESULT*) {
  if (!adjustable(contrast_)) return;
  const int v = contrast_.GetPos();
  if (v == lastContrast_) return;
  adjustedPicture_ = copyPicture(basePicture_);
  applyContrast(adjustedPicture_, v);
  display(adjustedPicture_);
  contrastSnapshot_ = copyPicture(adjustedPicture_);
  lastContrast_ = v;
}

void ImageHoleNet::OnBrightnessDrawn(NMHDR*, LRESULT*) {
  if (!adjustable(brightness_)) return;
  const int v = brightness_.GetPos();
  if (v == lastBrightness_) return;
  adjustedPicture_ = copyPicture(contrastSnapshot_.IsNull() ? basePicture_ : contrastSnapshot_);
  applyBrightness(adjustedPicture_, v);
  display(adjustedPicture_);
  lastBrightness_ = v;
}

void ImageHoleNet::OnSizeDrawn(NMHDR*, LRESULT*) {
  if (!adjustable(size_)) return;
  holeSize_ = size_.GetPos();
}

void ImageHoleNet::OnRowsCommitted() {
  const int typed = leadingInteger(rows_.GetWindowText());
  if (committedHoleRows(typed) != typed) rows_.SetWindowText(L"72");
}

int ImageHoleNet::rows() const { return leadingInteger(rows_.GetWindowText()); }

HoleShape ImageHoleNet::chosenShape() const {
  for (int k = 0; k < 4; ++k) {
    if (shapes_[k].GetCheck() == BST_CHECKED) return static_cast<HoleShape>(k);
  }
  return HoleShape::kCircle;
}

void ImageHoleNet::OnPreview() {
  invertChecked_ = invert_.GetCheck() == BST_CHECKED;
  if (!pictureLoaded()) {
    AfxMessageBox(chineseVersion ? kLoadFirst.chinese : kLoadFirst.english);
    return;
  }
  display(adjustedPicture_);
  const HoleNetCells net = computeHoleNet(adjustedPicture_, rows(), invertChecked_);
  for (const HoleCell& cell : net.cells) {
    const PreviewDot dot = previewDot(cell, holeSize_, displayScale_);
    paintFilledEllipse(canvas_, dot.left, dot.top, dot.right, dot.bottom, kDisplayMark);
  }
  picture_.SetImage(canvas_);
}

void ImageHoleNet::OnDraw() {
  invertChecked_ = invert_.GetCheck() == BST_CHECKED;
  const HoleShape shape = chosenShape();
  if (!pictureLoaded()) {
    AfxMessageBox(chineseVersion ? kLoadFirst.chinese : kLoadFirst.english);
    return;
  }
  BeginEditorCommand();
  // A cancelled origin, or a height that is no positive distance, leaves the dialog open.
  const std::optional<PicturePlacement> placement = askPicturePlacement();
  if (!placement) {
    CancelEditorCommand();
    return;
  }
  if (shape == HoleShape::kPickedEntity) holeEntity_ = pickHoleEntity();
  CompleteEditorCommand();
  if (adjustedPicture_.IsNull()) {
    printBilingual(L"\n建议先预览调整！", L"\nPlease make preview first.");
    return;
  }
  const HoleNetCells net = computeHoleNet(adjustedPicture_, rows(), invertChecked_);
  placeHoleNet(net, *placement, HoleNetStyle{holeSize_, shape, holeEntity_});
  EndDialog(IDOK);
}

}  // namespace veltrace
