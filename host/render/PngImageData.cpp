// Deflate at zlib's fastest level with its run-length strategy: pictures of drawings are mostly
// background, long runs of one colour, which it packs about as well as the default level does
// and several times faster. Rows are not filtered: choosing a filter per row costs more than it
// saves on such pictures.
#include "render/PngImageData.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <system_error>
#include <thread>

namespace vtcad::render {
namespace {

// Pictures of fewer rows are compressed in one run: a thread costs more than it saves.
constexpr int kFewestRowsToSplit = 256;

struct Deflated {
  PngImageStream::Piece piece;
  uLong adler = 1;     // of the uncompressed bytes
  z_off_t length = 0;  // how many uncompressed bytes
  bool ok = false;
};

// The zlib header: deflate with a 32 KiB window, the fastest level, no dictionary; its two bytes
// as a big-endian number are a multiple of 31. The trailer is the checksum, four bytes.
constexpr unsigned char kHeader[2] = {0x78, 0x01};
constexpr std::size_t kTrailerBytes = 4;

// Rows first ... end - 1 as a raw deflate stream, finished when `last`, else ended by a sync
// flush (on a byte boundary, open for what follows); `front` and `back` bytes are left free
// before and after it, for the stream's header and trailer.
Deflated deflateRows(const unsigned char* pixels, int width, int stride, int first, int end, bool last,
                     std::size_t front, std::size_t back) {
  Deflated out;
  z_stream z{};
  if (deflateInit2(&z, /*level=*/1, Z_DEFLATED, /*windowBits=raw*/ -15, /*memLevel=*/8, Z_RLE) != Z_OK)
    return out;
  const std::size_t rowBytes = 1 + 3 * static_cast<std::size_t>(width);
  const std::size_t raw = rowBytes * static_cast<std::size_t>(end - first);
  // deflateBound holds for a finished stream; a sync flush adds its empty stored block.
  const std::size_t capacity = deflateBound(&z, static_cast<uLong>(raw)) + 16;
  // Allocations that fail are answered, not thrown: a helper thread must not throw. Not a
  // string: its zeroing would touch every page of the bound.
  const std::unique_ptr<unsigned char[]> row(new (std::nothrow) unsigned char[rowBytes]);
  out.piece.bytes.reset(new (std::nothrow) unsigned char[front + capacity + back]);
  if (!row || !out.piece.bytes) {
    deflateEnd(&z);
    return out;
  }
  row[0] = 0;  // filter: none
  z.next_out = out.piece.bytes.get() + front;
  z.avail_out = static_cast<uInt>(capacity);
  bool ok = true;
  for (int y = first; y < end && ok; ++y) {
    // Native words 0x00RRGGBB, whatever the machine's byte order.
    const auto* words =
        reinterpret_cast<const std::uint32_t*>(pixels + static_cast<std::ptrdiff_t>(y) * stride);
    unsigned char* to = row.get() + 1;
    for (int x = 0; x < width; ++x, to += 3) {
      const std::uint32_t w = words[x];
      to[0] = static_cast<unsigned char>(w >> 16);
      to[1] = static_cast<unsigned char>(w >> 8);
      to[2] = static_cast<unsigned char>(w);
    }
    out.adler = adler32(out.adler, row.get(), static_cast<uInt>(rowBytes));
    z.next_in = row.get();
    z.avail_in = static_cast<uInt>(rowBytes);
    const int flush = y + 1 < end ? Z_NO_FLUSH : last ? Z_FINISH : Z_SYNC_FLUSH;
    const int status = deflate(&z, flush);
    ok = z.avail_in == 0 && (flush == Z_FINISH ? status == Z_STREAM_END : status == Z_OK);
  }
  out.piece.size = front + (capacity - z.avail_out);
  out.length = static_cast<z_off_t>(raw);
  out.ok = ok;
  deflateEnd(&z);
  return out;
}

}  // namespace

std::optional<PngImageStream> pngImageData(const unsigned char* pixels, int width, int height, int stride) {
  const int split = height >= kFewestRowsToSplit && std::thread::hardware_concurrency() >= 2 ? height / 2 : 0;
  Deflated top, bottom;
  if (split == 0) {
    top = deflateRows(pixels, width, stride, 0, height, /*last=*/true, sizeof kHeader, kTrailerBytes);
  } else {
    const auto deflateBottom = [&] {
      bottom = deflateRows(pixels, width, stride, split, height, /*last=*/true, /*front=*/0, kTrailerBytes);
    };
    std::thread helper;
    try {
      helper = std::thread(deflateBottom);
    } catch (const std::system_error&) {
      deflateBottom();
    }
    top = deflateRows(pixels, width, stride, 0, split, /*last=*/false, sizeof kHeader, /*back=*/0);
    if (helper.joinable()) helper.join();
  }
  if (!top.ok || (split != 0 && !bottom.ok)) return std::nullopt;
  const uLong adler = split == 0 ? top.adler : adler32_combine(top.adler, bottom.adler, bottom.length);
  PngImageStream stream;
  std::copy(std::begin(kHeader), std::end(kHeader), top.piece.bytes.get());
  stream.pieces.push_back(std::move(top.piece));
  if (split != 0) stream.pieces.push_back(std::move(bottom.piece));
  PngImageStream::Piece& last = stream.pieces.back();
  for (int shift = 24; shift >= 0; shift -= 8)
    last.bytes[last.size++] = static_cast<unsigned char>((adler >> shift) & 0xFF);
  return stream;
}

}  // namespace vtcad::render
