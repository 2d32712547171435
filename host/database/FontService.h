#pragma once
// FontService: glyph metrics for the extents of texts, read with FreeType from the host's two
// fonts (docs/fonts.md).
//
// Scale. A text of height h has capital letters h high (the shape-font convention), so every
// metric is in units of the text height: the face's font units divided by its cap height (the
// top of 'H'). Ideographs of shape-font styles are the exception (FontChoice::cjkCellIsHeight):
// their em square is the height.
//
// Fallback. A character the chosen face lacks is measured in the other face; one neither face
// has, or any character while no font file can be read, gets the approximate metric: advance
// 0.6 (1.0 for CJK characters), from the baseline to the cap height. A missing font file is
// never an error.
//
// Faces and glyph metrics are cached on first use. The service is not thread-safe: texts are
// measured on the thread that owns the database.
#include <array>
#include <memory>
#include <string>
#include <unordered_map>

#include "database/FontMapping.h"

namespace vtcad::db {

// One character's metrics in text heights: the pen advance and the ink's vertical extent
// (bottom is negative for descenders).
struct GlyphMetrics {
  double advance = 0.0;
  double bottom = 0.0;
  double top = 0.0;
};

class FontService {
 public:
  static constexpr double kApproxAdvance = 0.6;
  static constexpr double kApproxCjkAdvance = 1.0;
  // Depth of descenders below the baseline when no font can be read (the shape fonts' third
  // of the height).
  static constexpr double kApproxDescent = 1.0 / 3.0;

  static FontService& instance();

  GlyphMetrics glyph(const FontChoice& font, char32_t ch);
  // Depth (positive) of the primary face's descenders: the bottom of 'p'. Bottom-aligned texts
  // put this line on their alignment point.
  double descent(const FontChoice& font);

  // The font file of a face: the Debian paths by default. Changing it drops the caches (tests
  // point a face at a missing file to see the fallback).
  void setFontFile(FontFace face, const std::string& path);
  const std::string& fontFile(FontFace face) const;
  void resetFontFiles();
  // True when the face's file could be opened.
  bool isAvailable(FontFace face);

  ~FontService();
  FontService(const FontService&) = delete;
  FontService& operator=(const FontService&) = delete;

 private:
  FontService();

  struct Face;
  // Cached metrics of one character in one face, in font units; found false when the face
  // has no glyph for it.
  struct RawGlyph {
    bool found = false;
    double advance = 0.0;
    double bottom = 0.0;
    double top = 0.0;
  };

  Face* face(FontFace which);
  const RawGlyph& rawGlyph(FontFace which, char32_t ch);
  GlyphMetrics scaled(FontFace which, const RawGlyph& raw, bool emIsHeight);

  struct Library;
  std::unique_ptr<Library> library_;
  std::array<std::string, 2> files_;
  std::array<std::unique_ptr<Face>, 2> faces_;
  std::array<bool, 2> tried_{};
  std::array<std::unordered_map<char32_t, RawGlyph>, 2> glyphs_;
};

}  // namespace vtcad::db
