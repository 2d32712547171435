// Cairo surfaces written into memory, then replaced on disk in one step.
#include "render/PictureFile.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>

#include <algorithm>
#include <cctype>

#include "platform/AtomicFile.h"

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
  switch (format) {
    case PictureFormat::kPng:
      surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
      break;
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
    status = cairo_surface_write_to_png_stream(surface, appendBytes, &bytes);
  }
  // Finishing a vector surface writes the rest of its file into `bytes`.
  cairo_surface_finish(surface);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) return cannotWrite(path, cairo_status_to_string(status));
  return platform::replaceFileAtomically(path, bytes, kNewFileMode);
}

}  // namespace vtcad::render
