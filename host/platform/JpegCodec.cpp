// JPEG through libjpeg. Its errors arrive in error_exit, which longjmps back to readJpeg: that
// function holds only plain values; the pixels and the row buffer live in the caller's job.
#include "platform/JpegCodec.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jerror.h>
#include <jpeglib.h>

namespace vtcad::platform {
namespace {

// A progressive file may hold any number of scans, each a pass over the whole picture; real
// encoders write about ten. Beyond this the file is taken as hostile (it would take minutes).
constexpr int kMaxScans = 500;

struct JpegJob {
  std::span<const std::uint8_t> bytes;
  jpeg_error_mgr errors{};
  jpeg_progress_mgr progress{};
  std::jmp_buf jump{};
  char message[JMSG_LENGTH_MAX + 64] = {};
  ImagePixels pixels;
  std::vector<std::uint8_t> cmykRow;
  std::string sizeProblem;
  bool allocationFailed = false;
};

JpegJob* jobOf(j_common_ptr info) { return static_cast<JpegJob*>(info->client_data); }

void onJpegError(j_common_ptr info) {
  JpegJob* job = jobOf(info);
  if (job->message[0] == '\0') {
    char text[JMSG_LENGTH_MAX] = {};
    (*info->err->format_message)(info, text);
    std::snprintf(job->message, sizeof job->message, "the JPEG data is damaged (%s)", text);
  }
  std::longjmp(job->jump, 1);
}

// Warnings are ignored except the end of the data: libjpeg would fill the rest with grey.
void onJpegMessage(j_common_ptr info, int level) {
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) {
    JpegJob* job = jobOf(info);
    std::snprintf(job->message, sizeof job->message, "the JPEG data ends early");
    std::longjmp(job->jump, 1);
  }
}

void onJpegProgress(j_common_ptr info) {
  if (!info->is_decompressor) return;
  auto* d = reinterpret_cast<j_decompress_ptr>(info);
  if (d->input_scan_number > kMaxScans) {
    JpegJob* job = jobOf(info);
    std::snprintf(job->message, sizeof job->message, "the JPEG has more than %d scans", kMaxScans);
    std::longjmp(job->jump, 1);
  }
}

bool allocateJpeg(JpegJob& job, JDIMENSION width, JDIMENSION height, int bpp, bool cmyk) noexcept {
  try {
    if (auto problem = imageSizeProblem(width, height)) {
      job.sizeProblem = *problem;
      return false;
    }
    job.pixels = makeImagePixels(static_cast<int>(width), static_cast<int>(height), bpp, /*alpha=*/false);
    if (cmyk) job.cmykRow.resize(4 * static_cast<std::size_t>(width));
    return true;
  } catch (const std::bad_alloc&) {
    job.allocationFailed = true;
    return false;
  }
}

// Adobe's CMYK is stored inverted (0 is full ink); others store ink directly.
void cmykToBgr(const std::uint8_t* cmyk, std::uint8_t* bgr, JDIMENSION width, bool inverted) {
  for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
    unsigned c = inverted ? cmyk[0] : 255u - cmyk[0];
    unsigned m = inverted ? cmyk[1] : 255u - cmyk[1];
    unsigned y = inverted ? cmyk[2] : 255u - cmyk[2];
    unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
    bgr[0] = static_cast<std::uint8_t>((y * k + 127) / 255);
    bgr[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
    bgr[2] = static_cast<std::uint8_t>((c * k + 127) / 255);
  }
}

int readJpeg(JpegJob* job, jpeg_decompress_struct* info) {
  info->err = jpeg_std_error(&job->errors);
  job->errors.error_exit = onJpegError;
  job->errors.emit_message = onJpegMessage;
  if (setjmp(job->jump)) {
    jpeg_destroy_decompress(info);
    return 1;
  }
  jpeg_create_decompress(info);
  info->client_data = job;
  job->progress.progress_monitor = onJpegProgress;
  info->progress = &job->progress;
  jpeg_mem_src(info, job->bytes.data(), static_cast<unsigned long>(job->bytes.size()));
  jpeg_read_header(info, TRUE);
  bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
  bool grey = info->jpeg_color_space == JCS_GRAYSCALE;
  info->out_color_space = cmyk ? JCS_CMYK : (grey ? JCS_GRAYSCALE : JCS_EXT_BGR);
  if (!allocateJpeg(*job, info->image_width, info->image_height, grey ? 8 : 24, cmyk)) {
    jpeg_destroy_decompress(info);
    return 1;
  }
  jpeg_start_decompress(info);
  bool inverted = info->saw_Adobe_marker;
  while (info->output_scanline < info->output_height) {
    JDIMENSION y = info->output_scanline;
    JSAMPROW row = cmyk ? job->cmykRow.data() : job->pixels.row(static_cast<int>(y));
    if (jpeg_read_scanlines(info, &row, 1) != 1) break;
    if (cmyk)
      cmykToBgr(job->cmykRow.data(), job->pixels.row(static_cast<int>(y)), info->output_width, inverted);
  }
  jpeg_destroy_decompress(info);
  return 0;
}

}  // namespace

DecodedImage decodeJpeg(std::span<const std::uint8_t> bytes) {
  JpegJob job;
  job.bytes = bytes;
  jpeg_decompress_struct info{};
  if (readJpeg(&job, &info) != 0) {
    if (job.allocationFailed) return decodeFailure("there is not enough memory for the picture");
    if (!job.sizeProblem.empty()) return decodeFailure(job.sizeProblem);
    return decodeFailure(job.message);
  }
  return DecodedImage{std::move(job.pixels), {}};
}

}  // namespace vtcad::platform
