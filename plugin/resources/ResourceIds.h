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

// The vectorize dialog (R2V) and its controls.
inline constexpr unsigned kVectorizeDialog = 479;
inline constexpr int kVectorizeLoad = 4004;
inline constexpr int kVectorizeThresholdLabel = 4005;
inline constexpr int kVectorizeGradientLabel = 4006;
inline constexpr int kVectorizeClutterLabel = 4007;
inline constexpr int kVectorizeOptimisationLabel = 4008;
inline constexpr int kVectorizeThreshold = 4010;
inline constexpr int kVectorizeGradient = 4011;
inline constexpr int kVectorizeClutter = 4012;
inline constexpr int kVectorizeOptimisation = 4013;
inline constexpr int kVectorizePicture = 4014;
inline constexpr int kVectorizeRun = 4015;
inline constexpr int kVectorizeStatus = 4019;
inline constexpr int kVectorizeExternalRoute = 4021;

// The hole net dialog (txwk) and its controls.
inline constexpr unsigned kHoleNetDialog = 485;
inline constexpr int kHoleNetPreviewImage = 4000;
inline constexpr int kHoleNetPreviewNet = 4001;
inline constexpr int kHoleNetInvert = 4002;
inline constexpr int kHoleNetLoad = 4004;
inline constexpr int kHoleNetContrast = 4010;
inline constexpr int kHoleNetBrightness = 4011;
inline constexpr int kHoleNetSize = 4012;
inline constexpr int kHoleNetPicture = 4014;
inline constexpr int kHoleNetPreview = 4015;
inline constexpr int kHoleNetDraw = 4016;
inline constexpr int kHoleNetRows = 4029;
inline constexpr int kHoleNetShapes[4] = {4030, 4031, 4032, 4033};

// The width in pixels of the control column right of an image dialog's picture.
inline constexpr int kImageControlColumnPixels = 190;

// The preview pictures of the formula curves: entries 1 to 70 in order from the first, entry
// 71 (the notice of curves to come) apart.
inline constexpr unsigned kFirstFormulaPicture = 407;
inline constexpr unsigned kLastFormulaPicture = 476;
inline constexpr unsigned kFormulaNoticePicture = 478;

}  // namespace veltrace::resources
