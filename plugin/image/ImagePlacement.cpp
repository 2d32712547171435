#include "image/ImagePlacement.h"

#include <cmath>

#include "frame/Messages.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {
constexpr MessagePair kOriginPrompt{L"\n请指定原点>>", L"\nPlease specify the origin>>"};
constexpr MessagePair kHeightPrompt{L"\n请指定高度>>", L"\nPlease specify the height>>"};
}  // namespace

std::optional<PicturePlacement> askPicturePlacement() {
  zds_point origin{0, 0, 0};
  if (getPointBilingual(nullptr, kOriginPrompt.chinese, kOriginPrompt.english, origin) != RTNORM)
    return std::nullopt;
  double height = 0.0;
  if (getDistBilingual(origin, kHeightPrompt.chinese, kHeightPrompt.english, &height) != RTNORM)
    return std::nullopt;
  if (!std::isfinite(height) || height <= 0.0) return std::nullopt;
  return PicturePlacement{ZcGePoint3d(origin[0], origin[1], origin[2]), height};
}

}  // namespace veltrace
