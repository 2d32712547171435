#include "database/MTextLayout.h"

#include <algorithm>
#include <cmath>

#include "database/FontService.h"

namespace vtcad::db {
namespace {

constexpr double kLineSpacing = 5.0 / 3.0;
constexpr double kStackScale = 0.7;
constexpr double kTabStop = 4.0;  // in text heights

// CJK punctuation that may not start a line (it hangs on the character before it).
bool isClosingPunctuation(char32_t ch) {
  switch (ch) {
    case U'\u3001':  // 、
    case U'\u3002':  // 。
    case U'\u3009':
    case U'\u300B':
    case U'\u300D':
    case U'\u300F':
    case U'\u3011':
    case U'\u3015':
    case U'\uFF01':
    case U'\uFF09':
    case U'\uFF0C':
    case U'\uFF0E':
    case U'\uFF1A':
    case U'\uFF1B':
    case U'\uFF1F':
      return true;
    default:
      return false;
  }
}

// CJK punctuation that may not end a line.
bool isOpeningPunctuation(char32_t ch) {
  switch (ch) {
    case U'\u3008':
    case U'\u300A':
    case U'\u300C':
    case U'\u300E':
    case U'\u3010':
    case U'\u3014':
    case U'\uFF08':
      return true;
    default:
      return false;
  }
}

// A run of items that wraps as one.
struct Word {
  double width = 0.0;
  double top = 0.0;
  double bottom = 0.0;
  double maxHeight = 0.0;
  bool empty = true;
  std::vector<MTextGlyph> glyphs;  // x from the word's start

  void add(double advance, double itemTop, double itemBottom, double height) {
    width += advance;
    top = std::max(top, itemTop);
    bottom = std::min(bottom, itemBottom);
    maxHeight = std::max(maxHeight, height);
    empty = false;
  }
};

class Layout {
 public:
  Layout(const MTextContents& contents, const MTextLayoutParams& params)
      : contents_(contents), params_(params) {}

  MTextLayoutResult run() {
    if (contents_.items.empty()) return {};
    startLine(contents_.formats.front().height);
    for (const MTextItem& item : contents_.items) process(item);
    flushWord();
    finishLine();
    return finish();
  }

 private:
  FontChoice fontFor(const MTextFormat& format) const { return mtextFontOf(format, params_.styleFont); }

  const MTextFormat& formatOf(const MTextItem& item) const {
    return contents_.formats[static_cast<size_t>(item.format)];
  }

  double runWidth(const FontChoice& font, const std::u32string& text) const {
    double width = 0.0;
    for (char32_t ch : text) width += FontService::instance().glyph(font, ch).advance;
    return width;
  }

  void addGlyph(const MTextItem& item, char32_t ch) {
    const MTextFormat& format = formatOf(item);
    const GlyphMetrics g = FontService::instance().glyph(fontFor(format), ch);
    const double h = format.height;
    if (params_.placeGlyphs) word_.glyphs.push_back({ch, item.format, 0, word_.width, 0.0, 1.0});
    word_.add(g.advance * h * format.widthFactor * format.tracking, std::max(h, g.top * h),
              std::min(0.0, g.bottom * h), h);
  }

  void process(const MTextItem& item) {
    const MTextFormat& format = formatOf(item);
    switch (item.kind) {
      case MTextItem::Kind::kParagraphBreak:
        flushWord();
        lineHeight_ = std::max(lineHeight_, format.height);
        finishLine();
        startLine(format.height);
        return;
      case MTextItem::Kind::kSpace:
      case MTextItem::Kind::kTab: {
        flushWord();
        const double h = format.height;
        lineHeight_ = std::max(lineHeight_, h);
        if (item.kind == MTextItem::Kind::kSpace) {
          pending_ += FontService::instance().glyph(fontFor(format), U' ').advance * h * format.widthFactor *
                      format.tracking;
        } else {
          // A zero height has no tab stops: the tab takes no width.
          const double stop = kTabStop * h;
          const double reached = lineWidth_ + pending_;
          if (stop > 0.0) pending_ = (std::floor(reached / stop) + 1.0) * stop - lineWidth_;
        }
        return;
      }
      case MTextItem::Kind::kNoBreakSpace:
        if (breakAfterLast_) flushWord();
        addGlyph(item, U' ');
        return;
      case MTextItem::Kind::kStack: {
        if (breakAfterLast_) flushWord();
        const FontChoice font = fontFor(format);
        const double top = runWidth(font, item.stackTop);
        const double bottom = runWidth(font, item.stackBottom);
        const double width = item.stackSeparator == U'#' ? top + bottom : std::max(top, bottom);
        const double h = format.height;
        if (params_.placeGlyphs) placeStack(item, font, format, top, bottom, width);
        word_.add(width * kStackScale * h * format.widthFactor * format.tracking, h, 0.0, h);
        return;
      }
      case MTextItem::Kind::kChar:
        break;
    }
    // A line may break before a CJK character and after one, except before closing and
    // after opening punctuation.
    const bool cjk = isCjkCharacter(item.ch);
    if ((cjk || breakAfterLast_) && !isClosingPunctuation(item.ch)) flushWord();
    addGlyph(item, item.ch);
    breakAfterLast_ = cjk && !isOpeningPunctuation(item.ch);
  }

  // A stack's parts at kStackScale: over each other, each centred on the stack ('/', '^'), or
  // side by side, the top one raised ('#'). The parts sit inside the stack's height.
  void placeStack(const MTextItem& item, const FontChoice& font, const MTextFormat& format, double topWidth,
                  double bottomWidth, double width) {
    const double unit = kStackScale * format.height * format.widthFactor * format.tracking;
    const bool sideBySide = item.stackSeparator == U'#';
    const double h = format.height;
    const auto place = [&](const std::u32string& part, double x, double y) {
      for (char32_t ch : part) {
        word_.glyphs.push_back({ch, item.format, 0, word_.width + x, y, kStackScale});
        x += FontService::instance().glyph(font, ch).advance * unit;
      }
    };
    if (sideBySide) {
      place(item.stackTop, 0.0, (1.0 - kStackScale) * h);
      place(item.stackBottom, topWidth * unit, 0.0);
    } else {
      place(item.stackTop, 0.5 * (width - topWidth) * unit, (1.0 - kStackScale) * h);
      place(item.stackBottom, 0.5 * (width - bottomWidth) * unit, -0.5 * kStackScale * h);
    }
  }

  void flushWord() {
    breakAfterLast_ = false;
    if (word_.empty) return;
    const bool wraps = params_.wrapWidth > 0.0 && lineHasContent_ &&
                       lineWidth_ + pending_ + word_.width > params_.wrapWidth * (1.0 + 1e-9);
    if (wraps) {
      finishLine();
      startLine(word_.maxHeight);
    }
    for (MTextGlyph& glyph : word_.glyphs) {
      glyph.line = static_cast<int>(result_.lines.size());
      glyph.x += lineWidth_ + pending_;
      result_.glyphs.push_back(glyph);
    }
    lineWidth_ += pending_ + word_.width;
    pending_ = 0.0;
    lineTop_ = std::max(lineTop_, word_.top);
    lineBottom_ = std::min(lineBottom_, word_.bottom);
    lineHeight_ = std::max(lineHeight_, word_.maxHeight);
    lineHasContent_ = true;
    word_ = Word();
  }

  void startLine(double height) {
    lineWidth_ = 0.0;
    pending_ = 0.0;
    lineTop_ = 0.0;
    lineBottom_ = 0.0;
    lineHeight_ = height;
    lineHasContent_ = false;
  }

  void finishLine() {
    MTextLine line;
    line.width = lineWidth_;
    line.maxHeight = lineHeight_;
    line.top = std::max(lineTop_, lineHeight_);
    line.bottom = lineBottom_;
    result_.lines.push_back(line);
  }

  MTextLayoutResult finish() {
    double baseline = 0.0;
    for (size_t i = 0; i < result_.lines.size(); ++i) {
      MTextLine& line = result_.lines[i];
      if (i == 0) {
        baseline = -line.top;
      } else {
        const double reference =
            params_.lineSpacingAtLeast ? std::max(params_.textHeight, line.maxHeight) : params_.textHeight;
        baseline -= kLineSpacing * params_.lineSpacingFactor * reference;
      }
      line.baseline = baseline;
      result_.width = std::max(result_.width, line.width);
    }
    result_.height = -baseline - result_.lines.back().bottom;
    return std::move(result_);
  }

  const MTextContents& contents_;
  const MTextLayoutParams& params_;
  MTextLayoutResult result_;
  Word word_;
  double lineWidth_ = 0.0;
  double pending_ = 0.0;
  double lineTop_ = 0.0;
  double lineBottom_ = 0.0;
  double lineHeight_ = 0.0;
  bool lineHasContent_ = false;
  bool breakAfterLast_ = false;  // the last character was a CJK one a line may break after
};

}  // namespace

FontChoice mtextFontOf(const MTextFormat& format, const FontChoice& styleFont) {
  if (!format.typeface.empty()) return resolveFontChoice(L"", L"", format.typeface);
  if (!format.fontFile.empty()) return resolveFontChoice(format.fontFile, L"", L"");
  return styleFont;
}

MTextLayoutResult layoutMText(const MTextContents& contents, const MTextLayoutParams& params) {
  return Layout(contents, params).run();
}

}  // namespace vtcad::db
