#include "resources/DialogTemplates.h"

#include <iterator>

#include "resources/ResourceIds.h"

namespace veltrace::resources {

namespace {

using Kind = ZcUiControlKind;

// The formula dialog: the curve list down the left, the preview picture beside it, the four
// parameter slots (label, edit, slider) and the output options on the right.
constexpr ZcUiControlTemplate kFormulaControls[] = {
    {2010, Kind::kListBox, L"curves", {7, 7, 106, 274}, nullptr, nullptr},
    {4014, Kind::kPicture, L"picture", {116, 7, 240, 222}, nullptr, nullptr},
    {4005, Kind::kStatic, L"label1", {362, 10, 40, 10}, L"参数1", L"parm1"},
    {2021, Kind::kNumericEdit, L"p1", {404, 8, 50, 12}, nullptr, nullptr},
    {4010, Kind::kSlider, L"slider1", {362, 24, 140, 14}, nullptr, nullptr},
    {4006, Kind::kStatic, L"label2", {362, 50, 40, 10}, L"参数2", L"parm2"},
    {2023, Kind::kNumericEdit, L"p2", {404, 48, 50, 12}, nullptr, nullptr},
    {4011, Kind::kSlider, L"slider2", {362, 64, 140, 14}, nullptr, nullptr},
    {4007, Kind::kStatic, L"label3", {362, 90, 40, 10}, L"参数3", L"parm3"},
    {2024, Kind::kNumericEdit, L"p3", {404, 88, 50, 12}, nullptr, nullptr},
    {4012, Kind::kSlider, L"slider3", {362, 104, 140, 14}, nullptr, nullptr},
    {4008, Kind::kStatic, L"label4", {362, 130, 40, 10}, L"参数4", L"parm4"},
    {2025, Kind::kNumericEdit, L"p4", {404, 128, 50, 12}, nullptr, nullptr},
    {4013, Kind::kSlider, L"slider4", {362, 144, 140, 14}, nullptr, nullptr},
    {2009, Kind::kComboBox, L"output", {362, 180, 90, 60}, nullptr, nullptr},
    {4000, Kind::kCheckBox, L"axes", {362, 200, 90, 12}, L"绘制坐标系", L"Draw UCS"},
    {4004, Kind::kPushButton, L"preview", {362, 220, 60, 16}, L"预览定位", L"Preview"},
};

// The picture fills the area left of a 190-pixel (127 dialog units) control column; the
// picture frame shows it, the red dots of a preview or the traced outlines painted over it.
constexpr ZcUiControlTemplate kHoleNetControls[] = {
    {4014, Kind::kPicture, L"picture", {0, 0, 432, 293}, nullptr, nullptr},
    {4004, Kind::kPushButton, L"load", {440, 8, 110, 16}, L"载入图片", L"Load Image"},
    {4025, Kind::kStatic, L"contrastlabel", {440, 32, 110, 10}, L"调节对比度：", L"Contrast:"},
    {4010, Kind::kSlider, L"contrast", {440, 44, 110, 14}, nullptr, nullptr},
    {4026, Kind::kStatic, L"brightnesslabel", {440, 64, 110, 10}, L"调节亮度：", L"Brightness:"},
    {4011, Kind::kSlider, L"brightness", {440, 76, 110, 14}, nullptr, nullptr},
    {4027, Kind::kStatic, L"rowslabel", {440, 98, 50, 10}, L"网孔行数：", L"Rows:"},
    {4029, Kind::kNumericEdit, L"rows", {494, 96, 56, 12}, nullptr, nullptr},
    {4028, Kind::kStatic, L"sizelabel", {440, 116, 110, 10}, L"孔网大小：", L"Size:"},
    {4012, Kind::kSlider, L"size", {440, 128, 110, 14}, nullptr, nullptr},
    {4002, Kind::kCheckBox, L"invert", {440, 148, 110, 12}, L"黑白翻转", L"BlockWhiteInvert"},
    {4034, Kind::kGroupBox, L"shapes", {440, 164, 110, 62}, nullptr, nullptr},
    {4030, Kind::kRadioButton, L"circle", {446, 174, 100, 10}, L"圆形", L"Circle", /*group=*/1},
    {4031, Kind::kRadioButton, L"square", {446, 186, 100, 10}, L"方形", L"Squart", /*group=*/1},
    {4032, Kind::kRadioButton, L"diamond", {446, 198, 100, 10}, L"菱形", L"Diamond", /*group=*/1},
    {4033, Kind::kRadioButton, L"select", {446, 210, 100, 10}, L"任选", L"Select...", /*group=*/1},
    {4015, Kind::kPushButton, L"preview", {440, 234, 52, 16}, L"预览", L"Preview"},
    {4016, Kind::kPushButton, L"draw", {498, 234, 52, 16}, L"绘图", L"Do Drawing"},
    {4000,
     Kind::kCheckBox,
     L"previewimage",
     {440, 258, 110, 10},
     L"图像调节预览",
     L"PreviewImage",
     0,
     /*hidden=*/true},
    {4001,
     Kind::kCheckBox,
     L"previewnet",
     {440, 270, 110, 10},
     L"网孔预览",
     L"PreviewHoleNet",
     0,
     /*hidden=*/true},
};

constexpr ZcUiControlTemplate kVectorizeControls[] = {
    {4014, Kind::kPicture, L"picture", {0, 0, 528, 331}, nullptr, nullptr},
    {4004, Kind::kPushButton, L"load", {534, 8, 114, 16}, L"载入图片文件", L"Load Image"},
    {4005,
     Kind::kStatic,
     L"thresholdlabel",
     {534, 32, 114, 20},
     L"设置黑白阀值，适合于亮度对比较大的图片：",
     L"Set black-white threshold, suitable for images with large contrast"},
    {4010, Kind::kSlider, L"threshold", {534, 54, 114, 14}, nullptr, nullptr},
    {4006,
     Kind::kStatic,
     L"gradientlabel",
     {534, 76, 114, 20},
     L"设置色彩梯度，适合于亮度对比较小，但由多种色块构成的图片：",
     L"Set color gradient, suitable for small brightness but various color"},
    {4011, Kind::kSlider, L"gradient", {534, 98, 114, 14}, nullptr, nullptr},
    {4007, Kind::kStatic, L"clutterlabel", {534, 120, 114, 10}, L"杂点忽略：", L"Clutter ignored"},
    {4012, Kind::kSlider, L"clutter", {534, 132, 114, 14}, nullptr, nullptr},
    {4008, Kind::kStatic, L"optimisationlabel", {534, 154, 114, 10}, L"误差优化：", L"Optimization"},
    {4013, Kind::kSlider, L"optimisation", {534, 166, 114, 14}, nullptr, nullptr},
    {4021, Kind::kCheckBox, L"quick", {534, 188, 114, 12}, L" 高级矢量化模式", L"Quick mode"},
    {4015, Kind::kPushButton, L"vectorize", {534, 208, 114, 16}, L"矢量化", L"Do Vectorize"},
    {4019, Kind::kStatic, L"status", {534, 310, 114, 12}, nullptr, nullptr},
};

constexpr ZcUiDialogTemplate kTemplates[] = {
    {kVectorizeDialog,
     {0, 0, 655, 331},
     L"图片矢量化",
     L"Image Vectorize to Curves",
     kVectorizeControls,
     static_cast<int>(std::size(kVectorizeControls))},
    {kHoleNetDialog,
     {0, 0, 559, 293},
     L"图像网孔绘制",
     L"Image to HoleNet",
     kHoleNetControls,
     static_cast<int>(std::size(kHoleNetControls))},
    {kFormulaDialog,
     {0, 0, 508, 288},
     L"数学公式曲线",
     L"Math Formula Curves",
     kFormulaControls,
     static_cast<int>(std::size(kFormulaControls))},
};

}  // namespace

const ZcUiDialogTemplate* findDialogTemplate(unsigned id) {
  for (const ZcUiDialogTemplate& dialog : kTemplates) {
    if (dialog.id == id) return &dialog;
  }
  return nullptr;
}

}  // namespace veltrace::resources
