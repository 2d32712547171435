// The first frame of a GIF, read record by record with giflib.
#include "platform/GifCodec.h"

#include <gif_lib.h>

#include <cstring>
#include <memory>
#include <vector>

namespace vtcad::platform {
namespace {

struct GifSource {
  std::span<const std::uint8_t> bytes;
  std::size_t at = 0;
  bool endedEarly = false;
};

int readGifBytes(GifFileType* gif, GifByteType* out, int count) {
  auto* source = static_cast<GifSource*>(gif->UserData);
  std::size_t left = source->bytes.size() - source->at;
  auto wanted = static_cast<std::size_t>(count < 0 ? 0 : count);
  std::size_t n = std::min(left, wanted);
  std::memcpy(out, source->bytes.data() + source->at, n);
  source->at += n;
  if (n < wanted) source->endedEarly = true;
  return static_cast<int>(n);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

std::string gifProblem(const GifSource& source, int error) {
  if (source.endedEarly) return "the GIF data ends early";
  if (error == D_GIF_ERR_NOT_ENOUGH_MEM) return "there is not enough memory for the picture";
  const char* text = GifErrorString(error);
  return std::string("the GIF data is damaged (") + (text ? text : "unknown error") + ")";
}

}  // namespace

DecodedImage decodeGif(std::span<const std::uint8_t> bytes) {
  GifSource source{bytes};
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&source, readGifBytes, &error));
  if (!gif) return decodeFailure(gifProblem(source, error));
  int transparent = -1;
  for (;;) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR)
      return decodeFailure(gifProblem(source, gif->Error));
    if (record == TERMINATE_RECORD_TYPE) return decodeFailure("the GIF holds no picture");
    if (record == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR)
        return decodeFailure(gifProblem(source, gif->Error));
      // Graphic control: flags byte (bit 0: a transparent index follows), delay, index.
      if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4 && (block[1] & 1)) transparent = block[4];
      while (block) {
        if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) {
          return decodeFailure(gifProblem(source, gif->Error));
        }
      }
      continue;
    }
    if (record != IMAGE_DESC_RECORD_TYPE) continue;
    if (DGifGetImageDesc(gif.get()) == GIF_ERROR) {
      return decodeFailure(gifProblem(source, gif->Error));
    }
    break;
  }
  const GifImageDesc& frame = gif->Image;
  // A screen of zero size (some writers leave it so) takes the frame's size.
  long long screenWidth = gif->SWidth > 0 ? gif->SWidth : frame.Left + frame.Width;
  long long screenHeight = gif->SHeight > 0 ? gif->SHeight : frame.Top + frame.Height;
  if (auto problem = imageSizeProblem(screenWidth, screenHeight)) return decodeFailure(*problem);
  if (auto problem = imageSizeProblem(frame.Width, frame.Height)) return decodeFailure(*problem);
  const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
  ImagePixels out = makeImagePixels(static_cast<int>(screenWidth), static_cast<int>(screenHeight), 8, false);
  if (map) {
    out.palette.assign(256, RGBQUAD{});
    for (int i = 0; i < map->ColorCount && i < 256; ++i) {
      const GifColorType& c = map->Colors[i];
      out.palette[static_cast<std::size_t>(i)] = RGBQUAD{c.Blue, c.Green, c.Red, 0};
    }
  }
  // Without any colour table the indexes are shown as the grey ramp of a new picture.
  auto background = static_cast<std::uint8_t>(gif->SColorMap ? gif->SBackGroundColor : 0);
  std::fill(out.bits.begin(), out.bits.end(), background);
  std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
  // Interlaced rows come in four passes: every 8th from 0, every 8th from 4, every 4th from 2,
  // every 2nd from 1.
  static constexpr int kPassStart[4] = {0, 4, 2, 1};
  static constexpr int kPassStep[4] = {8, 8, 4, 2};
  int pass = 0;
  int next = 0;
  for (int i = 0; i < frame.Height; ++i) {
    int y = i;
    if (frame.Interlace) {
      while (next >= frame.Height && pass < 3) {
        ++pass;
        next = kPassStart[pass];
      }
      y = next;
      next += kPassStep[pass];
    }
    if (DGifGetLine(gif.get(), line.data(), frame.Width) == GIF_ERROR) {
      return decodeFailure(gifProblem(source, gif->Error));
    }
    long long row = static_cast<long long>(frame.Top) + y;
    if (row >= screenHeight) continue;
    std::uint8_t* dst = out.row(static_cast<int>(row));
    for (int x = 0; x < frame.Width; ++x) {
      long long column = static_cast<long long>(frame.Left) + x;
      if (column >= screenWidth) break;
      if (line[static_cast<std::size_t>(x)] == transparent) continue;
      dst[column] = line[static_cast<std::size_t>(x)];
    }
  }
  return DecodedImage{std::move(out), {}};
}

}  // namespace vtcad::platform
