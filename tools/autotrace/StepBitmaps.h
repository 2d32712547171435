#pragma once
// A picture cut into potrace bitmaps, one per grey step: with N steps, bitmap k (0 ... N - 2)
// holds the pixels whose step is k or darker, so the bitmaps stack like layers of paint, the
// darkest on top, and the lightest step is the paper.
#include <potracelib.h>

#include <memory>
#include <vector>

class CImage;

namespace vtcad::tracer {

// A potrace bitmap that owns its words. Scanline 0 is the bottom row of the picture, so the
// traced coordinates grow upward as a drawing's do.
class StepBitmap {
 public:
  StepBitmap(int width, int height);
  void set(int x, int row);  // row: 0 at the bottom
  const potrace_bitmap_t& bitmap() const { return bitmap_; }

 private:
  std::vector<potrace_word> words_;
  potrace_bitmap_t bitmap_{};
};

// The grey step 0 ... steps - 1 of a colour: 0 the darkest. Luminance by the Rec. 601 weights.
int greyStep(int red, int green, int blue, int steps);

// The grey step of every pixel of the picture (any depth CImage reads), row by row from the
// top; transparent pixels show white paper.
struct GreySteps {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> steps;
};
GreySteps greySteps(const CImage& picture, int steps);

// Bitmap k: the pixels of step k or darker. One at a time, so that many steps of a large
// picture never hold more than one bitmap.
StepBitmap stepBitmap(const GreySteps& grey, int k);

}  // namespace vtcad::tracer
