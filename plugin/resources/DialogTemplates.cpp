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

constexpr ZcUiDialogTemplate kTemplates[] = {
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
