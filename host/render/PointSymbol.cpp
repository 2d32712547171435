// The point symbols of PDMODE, in pixels.
#include "render/PointSymbol.h"

#include <cmath>

namespace vtcad::render {

double pointSymbolSize(double pdsize, double viewHeightPx, double pixelsPerUnit) {
  if (!std::isfinite(pdsize) || pdsize == 0.0) return 0.05 * viewHeightPx;
  if (pdsize < 0.0) return -pdsize / 100.0 * viewHeightPx;
  return pdsize * pixelsPerUnit;
}

void paintPointSymbol(Canvas& canvas, const ZcGePoint2d& at, int pdmode, double sizePx) {
  const double h = 0.5 * sizePx;
  const auto segment = [&](double x0, double y0, double x1, double y1) {
    canvas.moveTo({at.x + x0, at.y + y0});
    canvas.lineTo({at.x + x1, at.y + y1});
  };
  switch (pdmode & 7) {
    case 0:
      segment(0, 0, 0, 0);  // a zero-length stroke with round caps: a dot
      break;
    case 2:
      segment(-h, 0, h, 0);
      segment(0, -h, 0, h);
      break;
    case 3:
      segment(-h, -h, h, h);
      segment(-h, h, h, -h);
      break;
    case 4:
      segment(0, 0, 0, -h);  // y grows downwards: upwards is negative
      break;
    default:
      break;  // 1: nothing at the point itself
  }
  if (pdmode & 32) {
    constexpr int kChords = 48;
    for (int i = 0; i <= kChords; ++i) {
      const double t = 2.0 * M_PI * i / kChords;
      const ZcGePoint2d p(at.x + h * std::cos(t), at.y + h * std::sin(t));
      if (i == 0) {
        canvas.moveTo(p);
      } else {
        canvas.lineTo(p);
      }
    }
  }
  if (pdmode & 64) {
    canvas.moveTo({at.x - h, at.y - h});
    canvas.lineTo({at.x + h, at.y - h});
    canvas.lineTo({at.x + h, at.y + h});
    canvas.lineTo({at.x - h, at.y + h});
    canvas.closePath();
  }
}

}  // namespace vtcad::render
