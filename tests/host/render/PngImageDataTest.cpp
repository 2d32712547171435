// A PNG's image data inflates to the picture's rows, each after filter byte 0, whether it was
// compressed in one run or in two halves joined (the checksum is zlib's to check).
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "render/PngImageData.h"

namespace {

TEST(PngImageData, InflatesToTheRowsInOneRunOrInHalves) {
  std::mt19937 random(8);
  for (int round = 0; round < 12; ++round) {
    // Below and above the height where the rows are compressed in two halves; odd sizes.
    const int width = 1 + static_cast<int>(random() % 300);
    const int height =
        round % 2 == 0 ? 1 + static_cast<int>(random() % 100) : 256 + static_cast<int>(random() % 300);
    const int stride = 4 * width + 4 * static_cast<int>(random() % 3);
    std::vector<unsigned char> pixels(static_cast<std::size_t>(stride) * height);
    std::vector<unsigned char> expected;
    for (int y = 0; y < height; ++y) {
      expected.push_back(0);
      for (int x = 0; x < width; ++x) {
        // Runs of one colour broken by noise, as pictures of drawings are.
        const std::uint32_t word = random() % 8 == 0 ? random() & 0xFFFFFFu : 0x203040u;
        std::memcpy(&pixels[static_cast<std::size_t>(y) * stride + 4 * x], &word, sizeof word);
        expected.push_back(static_cast<unsigned char>(word >> 16));
        expected.push_back(static_cast<unsigned char>(word >> 8));
        expected.push_back(static_cast<unsigned char>(word));
      }
    }
    const auto stream = vtcad::render::pngImageData(pixels.data(), width, height, stride);
    ASSERT_TRUE(stream.has_value());
    std::string joined;
    for (const auto& piece : stream->pieces)
      joined.append(reinterpret_cast<const char*>(piece.bytes.get()), piece.size);
    std::vector<unsigned char> inflated(expected.size() + 1);
    uLongf size = static_cast<uLongf>(inflated.size());
    ASSERT_EQ(uncompress(inflated.data(), &size, reinterpret_cast<const Bytef*>(joined.data()),
                         static_cast<uLong>(joined.size())),
              Z_OK)
        << "round " << round;
    inflated.resize(size);
    EXPECT_EQ(inflated, expected) << "round " << round;
  }
}

}  // namespace
