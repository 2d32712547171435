// PNG through libpng. libpng reports errors by longjmp: the functions that call setjmp hold only
// plain values, and everything with a destructor (the pixel buffer, the row pointers) lives in
// the caller's frame, reached through a job struct, so the jump skips no destructor.
#include "platform/PngCodec.h"

#include <png.h>

#include <cassert>
#include <csetjmp>
#include <cstring>
#include <new>
#include <vector>

namespace vtcad::platform {
namespace {

// Deflate expands at most 1032:1, so rows that would need more than this many times the file's
// size cannot be in it: refused before their memory is taken.
constexpr std::size_t kMaxInflateRatio = 1100;

struct PngReadJob {
  std::span<const std::uint8_t> bytes;
  std::size_t at = 0;
  char message[200] = {};
  ImagePixels pixels;
  std::vector<png_bytep> rows;
  std::string sizeProblem;
  bool allocationFailed = false;
};

void setMessage(char (&buffer)[200], const char* text) {
  std::strncpy(buffer, text, sizeof buffer - 1);
  buffer[sizeof buffer - 1] = '\0';
}

void onPngError(png_structp png, png_const_charp text) {
  auto* job = static_cast<PngReadJob*>(png_get_error_ptr(png));
  if (job->message[0] == '\0') setMessage(job->message, text);
  png_longjmp(png, 1);
}
void onPngWarning(png_structp, png_const_charp) {}

void readPngBytes(png_structp png, png_bytep out, png_size_t count) {
  auto* job = static_cast<PngReadJob*>(png_get_io_ptr(png));
  if (job->bytes.size() - job->at < count) {
    setMessage(job->message, "the PNG data ends early");
    png_error(png, "the PNG data ends early");
  }
  std::memcpy(out, job->bytes.data() + job->at, count);
  job->at += count;
}

// Takes the picture's memory once the header has been read and checked; false when it cannot.
bool allocatePng(PngReadJob& job, int width, int height, int bpp, bool alpha, std::size_t rowBytes) noexcept {
  try {
    if (auto problem = imageSizeProblem(width, height)) {
      job.sizeProblem = *problem;
      return false;
    }
    std::size_t raw = (rowBytes + 1) * static_cast<std::size_t>(height);
    if (raw / kMaxInflateRatio > job.bytes.size()) {
      job.sizeProblem = "the PNG data ends early (far too little of it for a picture of " +
                        std::to_string(width) + " × " + std::to_string(height) + " pixels)";
      return false;
    }
    job.pixels = makeImagePixels(width, height, bpp, alpha);
    assert(static_cast<std::size_t>(job.pixels.pitch) >= rowBytes);
    job.rows.resize(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) job.rows[static_cast<std::size_t>(y)] = job.pixels.row(y);
    return true;
  } catch (const std::bad_alloc&) {
    job.allocationFailed = true;
    return false;
  }
}

// 0 on success, else job->message, job->sizeProblem or job->allocationFailed says why.
int readPng(PngReadJob* job) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, job, onPngError, onPngWarning);
  if (!png) {
    job->allocationFailed = true;
    return 1;
  }
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    job->allocationFailed = true;
    return 1;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return 1;
  }
  png_set_read_fn(png, job, readPngBytes);
  // A damaged checksum of an ancillary chunk is not worth refusing a picture for.
  png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_WARN_DISCARD);
  png_read_info(png, info);
  png_uint_32 width = png_get_image_width(png, info);
  png_uint_32 height = png_get_image_height(png, info);
  int colorType = png_get_color_type(png, info);
  int depth = png_get_bit_depth(png, info);
  bool transparentColor = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  int bpp = 8;
  bool alpha = false;
  if (depth == 16) png_set_scale_16(png);
  if (colorType == PNG_COLOR_TYPE_PALETTE && !transparentColor) {
    if (depth < 8) png_set_packing(png);
  } else if (colorType == PNG_COLOR_TYPE_GRAY && !transparentColor) {
    if (depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  } else {
    // Colour, or anything with transparency: blue-green-red(-alpha) bytes.
    png_set_expand(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_bgr(png);
    alpha = transparentColor || (colorType & PNG_COLOR_MASK_ALPHA) != 0;
    bpp = alpha ? 32 : 24;
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (!allocatePng(*job, static_cast<int>(std::min<png_uint_32>(width, 0x7FFFFFFF)),
                   static_cast<int>(std::min<png_uint_32>(height, 0x7FFFFFFF)), bpp, alpha,
                   png_get_rowbytes(png, info))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return 1;
  }
  if (colorType == PNG_COLOR_TYPE_PALETTE && !transparentColor) {
    png_colorp palette = nullptr;
    int count = 0;
    // Indexes past the file's palette are black, not the grey ramp of a new picture.
    job->pixels.palette.assign(job->pixels.palette.size(), RGBQUAD{});
    if (png_get_PLTE(png, info, &palette, &count) == PNG_INFO_PLTE) {
      for (int i = 0; i < count && i < 256; ++i) {
        job->pixels.palette[static_cast<std::size_t>(i)] =
            RGBQUAD{palette[i].blue, palette[i].green, palette[i].red, 0};
      }
    }
  }
  png_read_image(png, job->rows.data());
  png_destroy_read_struct(&png, &info, nullptr);
  return 0;
}

struct PngWriteJob {
  const ImagePixels* pixels = nullptr;
  std::string out;
  std::vector<png_bytep> rows;
  png_color palette[256] = {};
  bool failed = false;
};

void writePngBytes(png_structp png, png_bytep data, png_size_t count) {
  auto* job = static_cast<PngWriteJob*>(png_get_io_ptr(png));
  bool failed = false;
  try {
    job->out.append(reinterpret_cast<const char*>(data), count);
  } catch (...) {
    failed = true;
  }
  if (failed) png_error(png, "out of memory");
}
void flushPng(png_structp) {}
void onPngWriteError(png_structp png, png_const_charp) {
  static_cast<PngWriteJob*>(png_get_error_ptr(png))->failed = true;
  png_longjmp(png, 1);
}

int writePng(PngWriteJob* job) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, job, onPngWriteError, onPngWarning);
  if (!png) return 1;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return 1;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return 1;
  }
  const ImagePixels& p = *job->pixels;
  png_set_write_fn(png, job, writePngBytes, flushPng);
  int colorType =
      p.indexed() ? PNG_COLOR_TYPE_PALETTE : (p.alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB);
  png_set_IHDR(png, info, static_cast<png_uint_32>(p.width), static_cast<png_uint_32>(p.height),
               p.indexed() ? p.bpp : 8, colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (p.indexed()) {
    for (std::size_t i = 0; i < p.palette.size(); ++i) {
      job->palette[i] = png_color{p.palette[i].rgbRed, p.palette[i].rgbGreen, p.palette[i].rgbBlue};
    }
    png_set_PLTE(png, info, job->palette, static_cast<int>(p.palette.size()));
  }
  png_write_info(png, info);
  if (!p.indexed()) png_set_bgr(png);
  // The fourth byte of a 32-bit picture without alpha is padding: left out.
  if (p.bpp == 32 && !p.alpha) png_set_filler(png, 0, PNG_FILLER_AFTER);
  png_write_image(png, job->rows.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return 0;
}

}  // namespace

DecodedImage decodePng(std::span<const std::uint8_t> bytes) {
  PngReadJob job;
  job.bytes = bytes;
  if (readPng(&job) != 0) {
    if (job.allocationFailed) return decodeFailure("there is not enough memory for the picture");
    if (!job.sizeProblem.empty()) return decodeFailure(job.sizeProblem);
    std::string why = job.message;
    if (why.rfind("the PNG", 0) != 0) why = "the PNG data is damaged (" + why + ")";
    return decodeFailure(why);
  }
  return DecodedImage{std::move(job.pixels), {}};
}

std::optional<std::string> encodePng(const ImagePixels& pixels) {
  assert(!pixels.bits.empty());
  PngWriteJob job;
  job.pixels = &pixels;
  job.rows.resize(static_cast<std::size_t>(pixels.height));
  // libpng takes row pointers to non-const bytes but only reads them when writing.
  for (int y = 0; y < pixels.height; ++y)
    job.rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(pixels.row(y));
  if (writePng(&job) != 0) return std::nullopt;
  return std::move(job.out);
}

}  // namespace vtcad::platform
