#pragma once
// The preview pictures of the formula curves, 512 × 512 pixels, the curve in white on black:
// made by the host's renderer from the catalogue's own generators at each entry's default
// parameters the first time they are asked for, then kept for the rest of the process. The
// last entry's picture is a notice, in both languages, that more curves are to come.
#include "zcad/platform/zcimage.h"

namespace veltrace::resources {

inline constexpr int kPreviewPictureSize = 512;

// Fills `picture` with picture `id` (kFirstFormulaPicture … kLastFormulaPicture,
// kFormulaNoticePicture). False, `picture` untouched, for another id or a picture that cannot
// be made.
bool loadPreviewPicture(unsigned id, CImage& picture);

}  // namespace veltrace::resources
