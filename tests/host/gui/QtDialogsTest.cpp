// A dialog of the host's dialog framework shown by the window: its slider moved with the mouse
// repaints (NM_CUSTOMDRAW) at once, the picture it draws shows, and OK ends it.
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include "GuiTestSupport.h"
#include "gui/MainWindow.h"
#include "gui/QtDialogs.h"
#include "zcad/ed/ZcEdCommandStack.h"
#include "zcad/ui/ZcUiDialog.h"

namespace gui_test {
namespace {

constexpr ZcUiControlTemplate kControls[] = {
    {12, ZcUiControlKind::kSlider, L"slider", {10, 10, 120, 14}, nullptr, nullptr},
    {15, ZcUiControlKind::kPicture, L"picture", {10, 30, 120, 60}, nullptr, nullptr},
    {16, ZcUiControlKind::kStatic, L"label", {140, 10, 60, 12}, L"位置", L"Position"},
    {IDOK, ZcUiControlKind::kPushButton, L"ok", {140, 76, 50, 14}, L"确定", L"OK"},
};
constexpr ZcUiDialogTemplate kTemplate{710,       {0, 0, 210, 100}, L"滑块",
                                       L"Slider", kControls,        static_cast<int>(std::size(kControls))};
const ZcUiDialogTemplate* findTestDialog(UINT id) { return id == 710 ? &kTemplate : nullptr; }
constexpr ZcUiResources kResources{&findTestDialog, nullptr};

std::vector<int> drawnAt;
INT_PTR result = 0;

class SliderDialog : public CZcUiDialog {
 public:
  SliderDialog() : CZcUiDialog(710) {}
  BOOL OnInitDialog() override {
    CZcUiDialog::OnInitDialog();
    slider_.SetRange(1, 50);
    slider_.SetPos(5);
    return 1;
  }
  void DoDataExchange(CDataExchange* exchange) override {
    CZcUiDialog::DoDataExchange(exchange);
    DDX_Control(exchange, 12, slider_);
    DDX_Control(exchange, 15, picture_);
    DDX_Control(exchange, 16, label_);
  }
  // The live redraw: a bar as long as the slider's position.
  void OnSliderDrawn(NMHDR*, LRESULT*) {
    drawnAt.push_back(slider_.GetPos());
    CImage picture;
    picture.Create(180, 96, 24);
    for (int y = 0; y < 96; ++y) {
      for (int x = 0; x < 180; ++x)
        picture.SetPixel(x, y, x < slider_.GetPos() * 3 ? RGB(0, 120, 255) : RGB(0, 0, 0));
    }
    picture_.SetImage(picture);
    label_.SetWindowText((L"at " + std::to_wstring(slider_.GetPos())).c_str());
  }

  CSliderCtrl slider_;
  CStatic picture_;
  CStatic label_;
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SliderDialog, CZcUiDialog)
ON_NOTIFY(NM_CUSTOMDRAW, 12, &SliderDialog::OnSliderDrawn)
END_MESSAGE_MAP()

void sliderDialogCommand() {
  ZcUiResourceOverride resources(&kResources);
  SliderDialog dialog;
  result = dialog.DoModal();
}

using QtDialogsTest = WindowTest;

TEST_F(QtDialogsTest, ASliderMovedWithTheMouseRedrawsAtOnceAndOkEndsTheDialog) {
  zcedRegCmds()->addCommand(L"GUI_TEST", L"SLIDERDLG", L"SLIDERDLG", ZcRx::kCmdModal, sliderDialogCommand);
  drawnAt.clear();
  result = 0;
  QImage shown;
  QString label;
  drive({[&] {
    QTimer::singleShot(200, &window(), [&] {
      QDialog* dialog = vtcad::gui::QtDialogs::runningWindow();
      ASSERT_TRUE(dialog);
      auto* slider = dialog->findChild<QSlider*>(QStringLiteral("12"));
      ASSERT_TRUE(slider);
      // A click on the groove's right end moves the thumb a page (or to the end) toward it.
      const int before = slider->value();
      QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() - 3, slider->height() / 2));
      EXPECT_GT(slider->value(), before);
      slider->setValue(30);  // as a drag leaves it
      label = dialog->findChild<QLabel*>(QStringLiteral("16"))->text();
      shown = dialog->findChild<QLabel*>(QStringLiteral("15"))->pixmap().toImage();
      QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("1")), Qt::LeftButton);
    });
    type("SLIDERDLG");
  }});
  zcedRegCmds()->removeGroup(L"GUI_TEST");
  EXPECT_EQ(result, IDOK) << transcript();
  ASSERT_GE(drawnAt.size(), 3u);
  EXPECT_EQ(drawnAt.front(), 5);
  EXPECT_EQ(drawnAt.back(), 30);
  EXPECT_EQ(label, QStringLiteral("at 30"));
  ASSERT_FALSE(shown.isNull());
  EXPECT_EQ(shown.pixel(89, 40), qRgb(0, 120, 255));
  EXPECT_EQ(shown.pixel(90, 40), qRgb(0, 0, 0));
}

}  // namespace
}  // namespace gui_test
