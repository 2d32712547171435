#pragma once
// MTextLayout: MText contents broken into lines and measured with the font service.
//
// Wrapping. With a wrap width above 0, a line ends before the word that would cross the width.
// Words are separated by spaces and tabs; every CJK character is a word of its own (no line
// starts with closing CJK punctuation, none ends with opening punctuation). A word wider than
// the wrap width stays whole on its own line and sticks out, as CAD programs draw it. Spaces
// where a line wraps take no width; tabs advance to the next multiple of four text heights.
//
// Lines. Baselines are 5/3 * lineSpacingFactor * height apart: the entity's height ("exactly")
// or the tallest height in the next line ("at least"). The first line's top is the taller of
// its heights and its glyphs' tops; the height of the whole text runs from there to the last
// baseline, and below it by the last line's descenders. An empty paragraph is a line of the
// height in force.
//
// Stacked text is one word: its width the wider part (both parts side by side for '#') at
// 0.7 of the height, its height that of a character.
#include <vector>

#include "database/FontMapping.h"
#include "database/MTextParser.h"

class ZcDbMText;

namespace vtcad::db {

struct MTextLine {
  double width = 0.0;      // without the spaces where it wrapped
  double top = 0.0;        // above the baseline
  double bottom = 0.0;     // below the baseline (0 or negative)
  double baseline = 0.0;   // y of the baseline; the first line's top is at 0
  double maxHeight = 0.0;  // tallest format height in the line
};

// A character placed by the layout: its pen position on its line's baseline (x from the line's
// start, y above the baseline for stacked parts), drawn at `scale` times its format's height.
struct MTextGlyph {
  char32_t ch = 0;
  int format = 0;  // index into MTextContents::formats
  int line = 0;
  double x = 0.0;
  double y = 0.0;
  double scale = 1.0;
};

struct MTextLayoutResult {
  std::vector<MTextLine> lines;
  std::vector<MTextGlyph> glyphs;  // when MTextLayoutParams::placeGlyphs
  double width = 0.0;              // the widest line
  double height = 0.0;             // first line's top to the last line's bottom
};

struct MTextLayoutParams {
  FontChoice styleFont;
  double wrapWidth = 0.0;  // 0: paragraphs are single lines
  double lineSpacingFactor = 1.0;
  bool lineSpacingAtLeast = true;
  double textHeight = 0.0;   // the entity's height, for "exactly" spacing
  bool placeGlyphs = false;  // also fill MTextLayoutResult::glyphs (pictures, metafiles)
};

MTextLayoutResult layoutMText(const MTextContents& contents, const MTextLayoutParams& params);

// The font a format's characters are measured and drawn with.
FontChoice mtextFontOf(const MTextFormat& format, const FontChoice& styleFont);

// An MText entity's contents, parsed with its style's width factor, and laid out as its extents
// measure it (its style's font, wrap width and line spacing).
struct MTextEntityLayout {
  FontChoice styleFont;
  MTextContents contents;
  MTextLayoutResult layout;
};
MTextEntityLayout layoutOfMText(const ZcDbMText& mtext, bool placeGlyphs);

}  // namespace vtcad::db
