#include "image/PictureDisplay.h"

#include <algorithm>
#include <cmath>

namespace veltrace {

PictureFit fitPicture(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight) {
  PictureFit fit;
  if (pictureWidth <= 0 || pictureHeight <= 0) return fit;
  fit.width = pictureWidth;
  if (pictureWidth > areaWidth) {
    fit.width = areaWidth;
    fit.scale = static_cast<double>(areaWidth) / pictureWidth;
  }
  fit.height = static_cast<int>(static_cast<double>(fit.width) * pictureHeight / pictureWidth);
  if (fit.height > areaHeight) {
    fit.height = areaHeight;
    fit.width = static_cast<int>(static_cast<double>(areaHeight) * pictureWidth / pictureHeight);
    fit.scale = static_cast<double>(areaHeight) / pictureHeight;
  }
  return fit;
}

PictureFit showPicture(CImage& canvas, int areaWidth, int areaHeight, const CImage& picture) {
  canvas.Destroy();
  if (areaWidth <= 0 || areaHeight <= 0 || !canvas.Create(areaWidth, areaHeight, 24)) return {};
  for (int y = 0; y < areaHeight; ++y) {
    auto* row = static_cast<BYTE*>(canvas.GetPixelAddress(0, y));
    std::fill(row, row + 3 * areaWidth, static_cast<BYTE>(0xEE));
  }
  if (picture.IsNull()) return {};
  const PictureFit fit = fitPicture(picture.GetWidth(), picture.GetHeight(), areaWidth, areaHeight);
  // Degenerate case: a picture thousands of times wider than high fits as no row at all.
  if (fit.width > 0 && fit.height > 0) picture.StretchBlt(canvas, 0, 0, fit.width, fit.height, HALFTONE);
  return fit;
}

void paintPoint(CImage& canvas, int x, int y, COLORREF colour) {
  if (canvas.IsNull() || x < 0 || y < 0 || x >= canvas.GetWidth() || y >= canvas.GetHeight()) return;
  canvas.SetPixel(x, y, colour);
}

void paintFilledEllipse(CImage& canvas, double left, double top, double right, double bottom,
                        COLORREF colour) {
  if (canvas.IsNull() || !(right > left) || !(bottom > top)) return;
  const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
  const double rx = (right - left) / 2.0, ry = (bottom - top) / 2.0;
  const int y0 = std::max(0, static_cast<int>(std::floor(top)));
  const int y1 = std::min(canvas.GetHeight() - 1, static_cast<int>(std::ceil(bottom)));
  const int x0 = std::max(0, static_cast<int>(std::floor(left)));
  const int x1 = std::min(canvas.GetWidth() - 1, static_cast<int>(std::ceil(right)));
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
      if (dx * dx + dy * dy <= 1.0) canvas.SetPixel(x, y, colour);
    }
  }
}

}  // namespace veltrace
