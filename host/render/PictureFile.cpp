// Cairo surfaces written into memory, then replaced on disk in one step.
#include "render/PictureFile.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <png.h>

#include <algorithm>
#include <cctype>
#include <csetjmp>
#include <memory>
#include <optional>
#include <vector>

#include "platform/AtomicFile.h"
#include "render/PngImageData.h"

namespace vtcad::render {
namespace {

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

std::string cannotWrite(const std::filesystem::path& path, const std::string& why) {
  return "cannot write " + path.string() + ": " + why;
}

// New pictures: readable by everyone, written by their owner (the mode is taken as given).
constexpr mode_t kNewFileMode = 0644;
// Cairo's image surfaces stop at 32767 pixels a side.
constexpr int kLargestSide = 32767;

void appendPngBytes(png_structp png, png_bytep data, png_size_t count) {
  auto* out = static_cast<std::string*>(png_get_io_ptr(png));
  bool failed = false;
  try {
    out->append(reinterpret_cast<const char*>(data), count);
  } catch (...) {
    failed = true;
  }
  if (failed) png_error(png, "out of memory");
}
void flushNothing(png_structp) {}
void onPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void onPngWarning(png_structp, png_const_charp) {}

// An RGB24 image surface as PNG bytes: libpng writes the header and the chunks, the image
// data is compressed on its own (PngImageData.h). False when libpng or zlib fails (out of
// memory).
bool appendPng(cairo_surface_t* surface, std::string& out) {
  cairo_surface_flush(surface);
  const int width = cairo_image_surface_get_width(surface);
  const int height = cairo_image_surface_get_height(surface);
  const std::optional<PngImageStream> data = pngImageData(cairo_image_surface_get_data(surface), width,
                                                          height, cairo_image_surface_get_stride(surface));
  if (!data) return false;
  // The stream in chunks of up to a mebibyte (a chunk may hold 2 GiB; readers are kinder to
  // smaller ones), then the end chunk (png_write_end would look for image data it wrote itself).
  constexpr std::size_t kChunkBytes = std::size_t{1} << 20;
  // Room for all of it at once: growing a string of megabytes copies it again each time.
  constexpr std::size_t kHeadersAndTrailers = 1024;
  try {
    out.reserve(out.size() + data->size() + (data->size() / kChunkBytes + 2) * 12 + kHeadersAndTrailers);
  } catch (const std::bad_alloc&) {
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return false;
  }
  png_set_write_fn(png, &out, appendPngBytes, flushNothing);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (const PngImageStream::Piece& piece : data->pieces) {
    for (std::size_t at = 0; at < piece.size; at += kChunkBytes) {
      png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), piece.bytes.get() + at,
                      std::min(kChunkBytes, piece.size - at));
    }
  }
  png_write_chunk(png, reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
  png_destroy_write_struct(&png, &info);
  return true;
}

// The pixels of a PNG picture, kept for the thread's next picture of up to kKeptBytes: memory
// that is new for every picture costs the system's zeroing of its pages each time, more than
// clearing it here does. A picture drawn while another is (a paint that writes a picture)
// gets memory of its own.
class PixelMemory {
 public:
  static constexpr std::size_t kKeptBytes = std::size_t{64} << 20;
  explicit PixelMemory(std::size_t bytes) {
    Kept& kept = keptOfThread();
    if (!kept.inUse && bytes <= kKeptBytes) {
      if (kept.size < bytes) {
        kept.bytes.reset();
        kept.bytes = std::make_unique<unsigned char[]>(bytes);  // zeroed
        kept.size = bytes;
      } else {
        std::fill_n(kept.bytes.get(), bytes, 0);
      }
      kept.inUse = true;
      data_ = kept.bytes.get();
      borrowed_ = true;
    } else {
      own_ = std::make_unique<unsigned char[]>(bytes);
      data_ = own_.get();
    }
  }
  ~PixelMemory() {
    if (borrowed_) keptOfThread().inUse = false;
  }
  PixelMemory(const PixelMemory&) = delete;
  PixelMemory& operator=(const PixelMemory&) = delete;
  unsigned char* data() const { return data_; }

 private:
  struct Kept {
    std::unique_ptr<unsigned char[]> bytes;
    std::size_t size = 0;
    bool inUse = false;
  };
  static Kept& keptOfThread() {
    static thread_local Kept kept;
    return kept;
  }
  std::unique_ptr<unsigned char[]> own_;
  unsigned char* data_ = nullptr;
  bool borrowed_ = false;
};

}  // namespace

std::optional<PictureFormat> pictureFormatOf(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  if (ext == ".png") return PictureFormat::kPng;
  if (ext == ".svg") return PictureFormat::kSvg;
  if (ext == ".pdf") return PictureFormat::kPdf;
  return std::nullopt;
}

std::optional<std::string> writePicture(const std::filesystem::path& path, PictureFormat format, int width,
                                        int height, const std::function<void(Canvas&)>& paint) {
  if (width < 1 || height < 1 || width > kLargestSide || height > kLargestSide) {
    return cannotWrite(path, "a picture is 1 to 32767 pixels each way");
  }
  std::string bytes;
  cairo_surface_t* surface = nullptr;
  std::optional<PixelMemory> pixels;
  switch (format) {
    case PictureFormat::kPng: {
      const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width);
      pixels.emplace(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
      surface =
          cairo_image_surface_create_for_data(pixels->data(), CAIRO_FORMAT_RGB24, width, height, stride);
      break;
    }
    case PictureFormat::kSvg:
      surface = cairo_svg_surface_create_for_stream(appendBytes, &bytes, width, height);
      break;
    case PictureFormat::kPdf:
      surface = cairo_pdf_surface_create_for_stream(appendBytes, &bytes, width, height);
      break;
  }
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    const std::string why = cairo_status_to_string(cairo_surface_status(surface));
    cairo_surface_destroy(surface);
    return cannotWrite(path, why);
  }
  cairo_t* cr = cairo_create(surface);
  {
    Canvas canvas(cr, width, height);
    paint(canvas);
  }
  cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  if (status == CAIRO_STATUS_SUCCESS && format == PictureFormat::kPng) {
    if (!appendPng(surface, bytes)) status = CAIRO_STATUS_NO_MEMORY;
  }
  // Finishing a vector surface writes the rest of its file into `bytes`.
  cairo_surface_finish(surface);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) return cannotWrite(path, cairo_status_to_string(status));
  return platform::replaceFileAtomically(path, bytes, kNewFileMode);
}

}  // namespace vtcad::render
