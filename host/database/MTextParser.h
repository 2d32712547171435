#pragma once
// MTextParser: MText contents read far enough to measure them. The contents keep their inline
// codes verbatim in the entity; this reads them into characters, breaks and the font and size
// each character is drawn with.
//
// Codes understood (anything else is skipped with its argument, up to ';', or kept as text):
//   \P \N \X      paragraph break (\N column break counts as one)
//   \~            no-break space          \\ \{ \}   literal characters
//   { }           format group: changes inside end at '}'
//   \fName|b0|i0|c134|p2;   TrueType typeface      \Ffile.shx|c0;   font file
//   \Hn; \Hnx;    text height, absolute or relative (x)
//   \Wn; \Wnx;    width factor              \Tn;   tracking (scales the advances)
//   \Sa^b; \Sa/b; \Sa#b;    stacked text (one unbreakable item)
//   \U+XXXX       a Unicode character (four hex digits)
//   \M+nXXXX      a multibyte character (measured as an ideograph)
//   \Cn;          colour index (0 ByBlock, 1..255, 256 ByLayer)
//   \cn;          true colour, n = red + 256 * green + 65536 * blue (the COLORREF layout)
//   \Q \A \p (argument to ';') and \L \l \O \o \K \k (toggles): no effect on size
//   %% codes as in single-line text (TextCodes.h); tab and newline characters as \t and \P.
#include <string>
#include <string_view>
#include <vector>

namespace vtcad::db {

// Font and size in force for a run of characters.
struct MTextFormat {
  std::wstring typeface;  // set by \f (empty: the style's font)
  std::wstring fontFile;  // set by \F
  double height = 0.0;    // absolute
  double widthFactor = 1.0;
  double tracking = 1.0;
  // Set by \C or \c; -1: the entity's own colour. A true colour wins over an index.
  int colorIndex = -1;
  long trueColor = -1;  // 0xBBGGRR

  bool operator==(const MTextFormat&) const = default;
};

struct MTextItem {
  enum class Kind { kChar, kSpace, kNoBreakSpace, kTab, kParagraphBreak, kStack };
  Kind kind = Kind::kChar;
  char32_t ch = 0;
  // Stacked text: the two parts and the separator ('/', '#' or '^').
  std::u32string stackTop;
  std::u32string stackBottom;
  char32_t stackSeparator = 0;
  int format = 0;  // index into MTextContents::formats
};

struct MTextContents {
  std::vector<MTextFormat> formats;
  std::vector<MTextItem> items;

  // Plain text: formatting removed, paragraphs separated by '\n', stacks as "top/bottom".
  std::wstring plainText() const;
};

// `height` and `widthFactor` are the entity's: the format before any code changes it.
MTextContents parseMText(std::wstring_view contents, double height, double widthFactor);

}  // namespace vtcad::db
