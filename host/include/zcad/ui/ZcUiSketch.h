#pragma once
// Pictures drawn by the host's renderer for dialogs: strokes and texts in pixels (y down) on a
// plain background, painted with the same antialiased pens and font outlines as pictures of
// drawings. Dialogs show them in picture frames (CStatic::SetImage).
#include <string>
#include <vector>

#include "zcad/ge/ZcGePoint2d.h"
#include "zcad/platform/zcimage.h"

struct ZcUiSketchStroke {
  std::vector<ZcGePoint2d> points;  // non-finite points lift the pen
  COLORREF colour = RGB(255, 255, 255);
  double width = 1.5;  // pixels
};

struct ZcUiSketchText {
  std::wstring text;
  ZcGePoint2d centre;  // the middle of the text's baseline
  double height = 20;  // of capitals, pixels
  COLORREF colour = RGB(255, 255, 255);
};

struct ZcUiSketch {
  int width = 512;
  int height = 512;
  COLORREF background = RGB(0, 0, 0);
  std::vector<ZcUiSketchStroke> strokes;
  std::vector<ZcUiSketchText> texts;
};

// Paints `sketch` into `picture` (32 bits per pixel, no alpha). False, `picture` untouched,
// for a size that is not positive or beyond kImagePixelBudget.
bool zcuiPaintSketch(const ZcUiSketch& sketch, CImage& picture);
