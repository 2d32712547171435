// libFuzzer target: the picture decoders (BMP, PNG, JPEG, GIF, told apart by their first bytes)
// on arbitrary bytes. Beyond not crashing, a decoded picture must be well formed, and whatever is
// decoded must save as BMP and PNG into files that decode back to the same pixels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/BmpCodec.h"
#include "platform/ImagePixels.h"
#include "platform/PngCodec.h"

using namespace vtcad::platform;

namespace {

// Saving back is checked on small pictures only, so that each input stays fast.
constexpr long long kRoundTripPixels = 1 << 16;

std::span<const std::uint8_t> bytesOf(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

void expectSame(const ImagePixels& a, const ImagePixels& b, bool withAlpha) {
  if (a.width != b.width || a.height != b.height) std::abort();
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      RGBQUAD p = a.colorAt(x, y), q = b.colorAt(x, y);
      if (p.rgbRed != q.rgbRed || p.rgbGreen != q.rgbGreen || p.rgbBlue != q.rgbBlue) std::abort();
      if (withAlpha && p.rgbReserved != q.rgbReserved) std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  DecodedImage decoded = decodeImage({data, size});
  if (!decoded.pixels) {
    if (decoded.message.empty()) std::abort();
    return 0;
  }
  const ImagePixels& p = *decoded.pixels;
  if (imageSizeProblem(p.width, p.height) || p.pitch % 4 != 0 ||
      static_cast<std::size_t>(p.pitch) != imagePitch(p.width, p.bpp) ||
      p.bits.size() != static_cast<std::size_t>(p.pitch) * static_cast<std::size_t>(p.height) ||
      p.palette.size() != (p.indexed() ? std::size_t{1} << p.bpp : 0u)) {
    std::abort();
  }
  if (static_cast<long long>(p.width) * p.height > kRoundTripPixels) return 0;
  DecodedImage bmp = decodeImage(bytesOf(encodeBmp(p)));
  if (!bmp.pixels) std::abort();
  expectSame(p, *bmp.pixels, /*withAlpha=*/false);
  std::optional<std::string> png = encodePng(p);
  if (!png) std::abort();
  DecodedImage back = decodeImage(bytesOf(*png));
  if (!back.pixels) std::abort();
  expectSame(p, *back.pixels, /*withAlpha=*/p.alpha);
  return 0;
}
