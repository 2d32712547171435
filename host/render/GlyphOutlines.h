#pragma once
// GlyphOutlines: the shapes of characters, read from the same two font files the font service
// measures texts with, in the same units (text heights: the face's cap height is 1, or the em
// square for ideographs of shape-font styles) and with the same fallback to the other face,
// so a text's ink fills the box its extents give.
//
// Outlines are FreeType's (FT_Outline_Decompose), each quadratic or cubic piece cut into eight
// chords: smooth at the sizes drawings show texts at.
// Characters neither face has have no outline (the approximate metric leaves a gap).
// Cached per face and character; not thread-safe (drawn on the database's thread).
#include <array>
#include <memory>
#include <unordered_map>
#include <vector>

#include "database/FontMapping.h"
#include "zcad/ge/ZcGePoint2d.h"

namespace vtcad::render {

// Closed contours in text heights, baseline at y = 0, pen at x = 0 (non-zero winding).
using GlyphShape = std::vector<std::vector<ZcGePoint2d>>;

class GlyphOutlines {
 public:
  static GlyphOutlines& instance();
  const GlyphShape& shape(const db::FontChoice& font, char32_t ch);

  ~GlyphOutlines();
  GlyphOutlines(const GlyphOutlines&) = delete;
  GlyphOutlines& operator=(const GlyphOutlines&) = delete;

 private:
  GlyphOutlines();
  struct Face;
  Face* face(db::FontFace which);

  struct Library;
  std::unique_ptr<Library> library_;
  std::array<std::unique_ptr<Face>, 2> faces_;
  std::array<bool, 2> tried_{};
  // Key: character, and whether the em square is the height (bit 32).
  std::array<std::unordered_map<unsigned long long, GlyphShape>, 2> shapes_;
};

}  // namespace vtcad::render
