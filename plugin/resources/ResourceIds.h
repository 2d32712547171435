#pragma once
// Ids of the plug-in's dialog templates, their controls and pictures.

namespace veltrace::resources {

inline constexpr unsigned kFormulaDialog = 230;

// Controls of the formula dialog.
inline constexpr int kFormulaCurveList = 2010;
inline constexpr int kFormulaOutputKind = 2009;
inline constexpr int kFormulaDrawAxes = 4000;
inline constexpr int kFormulaPreview = 4004;
inline constexpr int kFormulaPicture = 4014;
inline constexpr int kFormulaLabels[4] = {4005, 4006, 4007, 4008};
inline constexpr int kFormulaEdits[4] = {2021, 2023, 2024, 2025};
inline constexpr int kFormulaSliders[4] = {4010, 4011, 4012, 4013};

// The preview pictures of the formula curves: entries 1 to 70 in order from the first, entry
// 71 (the notice of curves to come) apart.
inline constexpr unsigned kFirstFormulaPicture = 407;
inline constexpr unsigned kLastFormulaPicture = 476;
inline constexpr unsigned kFormulaNoticePicture = 478;

}  // namespace veltrace::resources
