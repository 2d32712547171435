#pragma once
// The image data of a PNG file (what its IDAT chunks carry) for Cairo's RGB24 pixels: a zlib
// stream of the rows as RGB bytes, each after filter byte 0 (none).
//
// A large picture is compressed as two runs of rows at once and the two raw deflate streams
// joined, the first ended at a byte boundary by a sync flush, the second finished, under one
// zlib header and the checksum of the whole (adler32_combine): one valid stream, as a single
// compressor would have made it but for the first rows of the second run, which cannot refer
// back to the rows of the first (run-length matches reach one pixel back, so nothing is lost).
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace vtcad::render {

// The stream as the pieces it was made in, to be written one after the other (IDAT chunks may
// split a stream anywhere): no copy of megabytes into one buffer.
struct PngImageStream {
  struct Piece {
    std::unique_ptr<unsigned char[]> bytes;
    std::size_t size = 0;
  };
  std::vector<Piece> pieces;
  std::size_t size() const {
    std::size_t total = 0;
    for (const Piece& piece : pieces) total += piece.size;
    return total;
  }
};

// Rows of `stride` bytes of native 32-bit words 0x00RRGGBB, `width` x `height` of them.
// nullopt when zlib fails (out of memory).
std::optional<PngImageStream> pngImageData(const unsigned char* pixels, int width, int height, int stride);

}  // namespace vtcad::render
