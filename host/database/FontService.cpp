#include "database/FontService.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>

namespace vtcad::db {
namespace {

constexpr const char* kDefaultLatinFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kDefaultCjkFile = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";

size_t indexOf(FontFace face) { return static_cast<size_t>(face); }

FontFace otherFace(FontFace face) { return face == FontFace::kLatin ? FontFace::kCjk : FontFace::kLatin; }

GlyphMetrics approximateGlyph(char32_t ch) {
  GlyphMetrics metrics;
  metrics.advance = isCjkCharacter(ch) ? FontService::kApproxCjkAdvance : FontService::kApproxAdvance;
  metrics.bottom = 0.0;
  metrics.top = 1.0;
  return metrics;
}

}  // namespace

struct FontService::Library {
  FT_Library handle = nullptr;
  Library() {
    if (FT_Init_FreeType(&handle) != 0) handle = nullptr;
  }
  ~Library() {
    if (handle) FT_Done_FreeType(handle);
  }
};

struct FontService::Face {
  FT_Face handle = nullptr;
  double unitsPerEm = 1.0;
  // Font units of the cap height (top of 'H'); the unit every metric is divided by.
  double capHeight = 1.0;
  ~Face() {
    if (handle) FT_Done_Face(handle);
  }
};

FontService& FontService::instance() {
  static FontService service;
  return service;
}

FontService::FontService() : library_(std::make_unique<Library>()) { resetFontFiles(); }

FontService::~FontService() {
  // Faces belong to the library: free them first.
  for (auto& face : faces_) face.reset();
}

void FontService::setFontFile(FontFace face, const std::string& path) {
  const size_t i = indexOf(face);
  files_[i] = path;
  faces_[i].reset();
  tried_[i] = false;
  glyphs_[i].clear();
}

const std::string& FontService::fontFile(FontFace face) const { return files_[indexOf(face)]; }

void FontService::resetFontFiles() {
  setFontFile(FontFace::kLatin, kDefaultLatinFile);
  setFontFile(FontFace::kCjk, kDefaultCjkFile);
}

bool FontService::isAvailable(FontFace face) { return this->face(face) != nullptr; }

FontService::Face* FontService::face(FontFace which) {
  const size_t i = indexOf(which);
  if (tried_[i]) return faces_[i].get();
  tried_[i] = true;
  if (!library_->handle || files_[i].empty()) return nullptr;

  auto face = std::make_unique<Face>();
  // Face 0 of a collection (WenQuanYi Micro Hei, not its monospaced sibling).
  if (FT_New_Face(library_->handle, files_[i].c_str(), /*face_index=*/0, &face->handle) != 0) {
    face->handle = nullptr;
    return nullptr;
  }
  if (FT_Select_Charmap(face->handle, FT_ENCODING_UNICODE) != 0 || face->handle->units_per_EM == 0) {
    return nullptr;  // a font we cannot address by Unicode is no better than none
  }
  face->unitsPerEm = face->handle->units_per_EM;
  faces_[i] = std::move(face);

  // The cap height from the glyph itself: the OS/2 field is missing or zero in older fonts.
  const RawGlyph& h = rawGlyph(which, U'H');
  faces_[i]->capHeight = (h.found && h.top > 0.0) ? h.top : 0.7 * faces_[i]->unitsPerEm;
  return faces_[i].get();
}

const FontService::RawGlyph& FontService::rawGlyph(FontFace which, char32_t ch) {
  auto& cache = glyphs_[indexOf(which)];
  auto it = cache.find(ch);
  if (it != cache.end()) return it->second;

  RawGlyph raw;
  Face* f = faces_[indexOf(which)].get();
  if (f) {
    const FT_UInt index = FT_Get_Char_Index(f->handle, static_cast<FT_ULong>(ch));
    if (index != 0 && FT_Load_Glyph(f->handle, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) == 0) {
      const FT_Glyph_Metrics& m = f->handle->glyph->metrics;
      raw.found = true;
      raw.advance = static_cast<double>(m.horiAdvance);
      raw.top = static_cast<double>(m.horiBearingY);
      raw.bottom = static_cast<double>(m.horiBearingY - m.height);
    }
  }
  return cache.emplace(ch, raw).first->second;
}

GlyphMetrics FontService::scaled(FontFace which, const RawGlyph& raw, bool emIsHeight) {
  const Face* f = faces_[indexOf(which)].get();
  const double unit = emIsHeight ? f->unitsPerEm : f->capHeight;
  return {raw.advance / unit, raw.bottom / unit, raw.top / unit};
}

GlyphMetrics FontService::glyph(const FontChoice& font, char32_t ch) {
  const bool cjk = isCjkCharacter(ch);
  for (FontFace which : {font.primary, otherFace(font.primary)}) {
    if (!face(which)) continue;
    const RawGlyph& raw = rawGlyph(which, ch);
    if (!raw.found) continue;
    return scaled(which, raw, /*emIsHeight=*/font.cjkCellIsHeight && cjk && which == FontFace::kCjk);
  }
  return approximateGlyph(ch);
}

double FontService::descent(const FontChoice& font) {
  for (FontFace which : {font.primary, otherFace(font.primary)}) {
    if (!face(which)) continue;
    const RawGlyph& raw = rawGlyph(which, U'p');
    if (raw.found) return std::max(0.0, -scaled(which, raw, /*emIsHeight=*/false).bottom);
  }
  return kApproxDescent;
}

}  // namespace vtcad::db
