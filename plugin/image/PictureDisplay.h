#pragma once
// How the image dialogs show their picture: in the area left of the control column, on a light
// grey ground, fitted to the area, with red marks (the hole net's dots, the traced outlines)
// painted over it until the picture is shown again.
#include "zcad/platform/zcimage.h"

namespace veltrace {

inline constexpr COLORREF kDisplayGround = RGB(0xEE, 0xEE, 0xEE);
inline constexpr COLORREF kDisplayMark = RGB(255, 0, 0);

struct PictureFit {
  int width = 0;  // displayed size in dialog pixels
  int height = 0;
  double scale = 1.0;  // dialog pixels per picture pixel
};

// A picture wider than the area is shown at the area's width, else at its own; its height
// follows in proportion, and one taller than the area is shown at the area's height instead.
PictureFit fitPicture(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight);

// The area as a fresh 24-bit canvas: the ground, the picture fitted at the top-left corner.
// The fit's scale; the canvas stays empty when the area is.
PictureFit showPicture(CImage& canvas, int areaWidth, int areaHeight, const CImage& picture);

// A filled ellipse within the box (canvas pixels; parts outside the canvas are left out).
void paintFilledEllipse(CImage& canvas, double left, double top, double right, double bottom,
                        COLORREF colour);

// One pixel; nothing outside the canvas.
void paintPoint(CImage& canvas, int x, int y, COLORREF colour);

}  // namespace veltrace
