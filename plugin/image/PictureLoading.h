#pragma once
// Loading a picture for the image commands: decoded, made readable at a depth their pixel
// passes know (8, 24 or 32 bits), and stretched to at most a given width.
#include <string>

#include "zcad/platform/zcimage.h"

namespace veltrace {

// The widest picture the hole net and the internal vectorizer work on.
inline constexpr int kWidestWorkingPicture = 1024;

enum class PictureLoadStatus {
  kLoaded,
  kNotAPicture,  // the file could not be decoded (missing, damaged, of no known kind)
  kNoBitmap,     // decoded, but no picture could be made of it (no memory, a degenerate size)
};

struct LoadedPicture {
  PictureLoadStatus status = PictureLoadStatus::kNotAPicture;
  CImage picture;       // the base picture when loaded
  DWORD lastError = 0;  // the system's code of a failed decode
  std::wstring reason;  // the decoder's reason, for the transcript
  bool loaded() const { return status == PictureLoadStatus::kLoaded; }
};

// Decodes `path` and makes the base picture: width min(width, widest) (a widest of 0 or less:
// the picture's own), height in proportion (integer part, at least 1), with the decoded
// picture's depth, filled by halftone stretching. Pictures of 1, 4 or 16 bits per pixel are
// first made 24-bit pictures, so that every pixel pass sees their colours (16-bit BMPs decode
// as 24-bit already; the rule holds whatever the decoder gives).
LoadedPicture loadWorkingPicture(const std::wstring& path, int widest);

// The message box text of a failed load: "GetLastError: %d -- Load image Error：%s" with the
// code and the path, or "载入图片错误2!" when there was no bitmap.
std::wstring pictureLoadMessage(const LoadedPicture& result, const std::wstring& path);

// A copy of `source` (same size, depth, colour table and alpha); an empty picture for an empty
// source or when no memory can be had.
CImage copyPicture(const CImage& source);

// `source` as a 24-bit picture when its depth is not 8, 24 or 32 (a copy otherwise).
CImage withReadableDepth(const CImage& source);

}  // namespace veltrace
