// FreeType outlines decomposed into contours of chords.
#include "render/GlyphOutlines.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include "database/FontService.h"

namespace vtcad::render {
namespace {

// Chords per quadratic or cubic piece of an outline.
constexpr int kChordsPerCurve = 8;

struct Decomposer {
  GlyphShape* shape;
  double unit;  // font units per text height
  ZcGePoint2d last;

  ZcGePoint2d scaled(const FT_Vector* v) const { return {v->x / unit, v->y / unit}; }
};

int moveTo(const FT_Vector* to, void* user) {
  auto* d = static_cast<Decomposer*>(user);
  d->shape->emplace_back();
  d->last = d->scaled(to);
  d->shape->back().push_back(d->last);
  return 0;
}

int lineTo(const FT_Vector* to, void* user) {
  auto* d = static_cast<Decomposer*>(user);
  d->last = d->scaled(to);
  d->shape->back().push_back(d->last);
  return 0;
}

int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
  auto* d = static_cast<Decomposer*>(user);
  const ZcGePoint2d p0 = d->last, p1 = d->scaled(control), p2 = d->scaled(to);
  for (int i = 1; i <= kChordsPerCurve; ++i) {
    const double t = static_cast<double>(i) / kChordsPerCurve, s = 1.0 - t;
    d->shape->back().emplace_back(s * s * p0.x + 2 * s * t * p1.x + t * t * p2.x,
                                  s * s * p0.y + 2 * s * t * p1.y + t * t * p2.y);
  }
  d->last = p2;
  return 0;
}

int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
  auto* d = static_cast<Decomposer*>(user);
  const ZcGePoint2d p0 = d->last, p1 = d->scaled(c1), p2 = d->scaled(c2), p3 = d->scaled(to);
  for (int i = 1; i <= kChordsPerCurve; ++i) {
    const double t = static_cast<double>(i) / kChordsPerCurve, s = 1.0 - t;
    const double a = s * s * s, b = 3 * s * s * t, c = 3 * s * t * t, e = t * t * t;
    d->shape->back().emplace_back(a * p0.x + b * p1.x + c * p2.x + e * p3.x,
                                  a * p0.y + b * p1.y + c * p2.y + e * p3.y);
  }
  d->last = p3;
  return 0;
}

db::FontFace otherFace(db::FontFace face) {
  return face == db::FontFace::kLatin ? db::FontFace::kCjk : db::FontFace::kLatin;
}

const GlyphShape& noShape() {
  static const GlyphShape empty;
  return empty;
}

}  // namespace

struct GlyphOutlines::Library {
  FT_Library handle = nullptr;
  Library() {
    if (FT_Init_FreeType(&handle) != 0) handle = nullptr;
  }
  ~Library() {
    if (handle) FT_Done_FreeType(handle);
  }
};

struct GlyphOutlines::Face {
  FT_Face handle = nullptr;
  double unitsPerEm = 1.0;
  double capHeight = 1.0;
  ~Face() {
    if (handle) FT_Done_Face(handle);
  }
};

GlyphOutlines& GlyphOutlines::instance() {
  static GlyphOutlines outlines;
  return outlines;
}

GlyphOutlines::GlyphOutlines() : library_(std::make_unique<Library>()) {}
GlyphOutlines::~GlyphOutlines() = default;

GlyphOutlines::Face* GlyphOutlines::face(db::FontFace which) {
  const std::size_t i = static_cast<std::size_t>(which);
  if (tried_[i]) return faces_[i].get();
  tried_[i] = true;
  const std::string& file = db::FontService::instance().fontFile(which);
  if (!library_->handle || file.empty()) return nullptr;
  auto face = std::make_unique<Face>();
  if (FT_New_Face(library_->handle, file.c_str(), /*face_index=*/0, &face->handle) != 0) {
    face->handle = nullptr;
    return nullptr;
  }
  if (FT_Select_Charmap(face->handle, FT_ENCODING_UNICODE) != 0 || face->handle->units_per_EM == 0)
    return nullptr;
  face->unitsPerEm = face->handle->units_per_EM;
  // The cap height as the font service takes it: the top of 'H', or 0.7 em without one.
  face->capHeight = 0.7 * face->unitsPerEm;
  const FT_UInt h = FT_Get_Char_Index(face->handle, 'H');
  if (h != 0 && FT_Load_Glyph(face->handle, h, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) == 0 &&
      face->handle->glyph->metrics.horiBearingY > 0) {
    face->capHeight = static_cast<double>(face->handle->glyph->metrics.horiBearingY);
  }
  faces_[i] = std::move(face);
  return faces_[i].get();
}

const GlyphShape& GlyphOutlines::shape(const db::FontChoice& font, char32_t ch) {
  const bool cjk = db::isCjkCharacter(ch);
  for (db::FontFace which : {font.primary, otherFace(font.primary)}) {
    Face* f = face(which);
    if (!f) continue;
    const FT_UInt index = FT_Get_Char_Index(f->handle, static_cast<FT_ULong>(ch));
    if (index == 0) continue;
    const bool emIsHeight = font.cjkCellIsHeight && cjk && which == db::FontFace::kCjk;
    auto& cache = shapes_[static_cast<std::size_t>(which)];
    const unsigned long long key = static_cast<unsigned long long>(ch) | (emIsHeight ? 1ull << 32 : 0ull);
    if (const auto found = cache.find(key); found != cache.end()) return found->second;
    GlyphShape shape;
    if (FT_Load_Glyph(f->handle, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) == 0 &&
        f->handle->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
      Decomposer d{&shape, emIsHeight ? f->unitsPerEm : f->capHeight, {}};
      FT_Outline_Funcs funcs{};
      funcs.move_to = moveTo;
      funcs.line_to = lineTo;
      funcs.conic_to = conicTo;
      funcs.cubic_to = cubicTo;
      FT_Outline_Decompose(&f->handle->glyph->outline, &funcs, &d);
    }
    return cache.emplace(key, std::move(shape)).first->second;
  }
  return noShape();
}

}  // namespace vtcad::render
