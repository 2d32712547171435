// TEXT: single-line texts. A start point (or a justification: Justify, or its option typed
// at once, and the point it needs), a height, a rotation angle, then lines of text until an
// empty line: each line is its own text, placed one line spacing below the one before. Enter
// at the first prompt goes on below the last text this command wrote.
//
// Height: the text style's own height when it has one (then it is not asked), else asked
// with TEXTSIZE as the default; a height given becomes TEXTSIZE once a line is written. Align
// texts take their height and Fit texts their width from the two baseline points; both take
// their rotation from them. Style changes the current text style (TEXTSTYLE).
//
// Line spacing is 5/3 of the text height, the single-line spacing of multiline text.
#include <cmath>
#include <memory>
#include <optional>
#include <string>

#include "commands/DrawCommandSupport.h"
#include "commands/DrawCommands.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbText.h"
#include "zcad/db/ZcDbTextStyleTable.h"
#include "zcad/zced.h"

namespace vtcad::commands {

namespace {

using namespace draw;

constexpr double kLineSpacing = 5.0 / 3.0;
constexpr double kFallbackHeight = 2.5;

struct Justification {
  const wchar_t* keyword;
  ZcDb::TextHorzMode horizontal;
  ZcDb::TextVertMode vertical;
  const wchar_t* pointPrompt;  // null for Align and Fit, which take two baseline points
};

constexpr Justification kJustifications[] = {
    {L"Left", ZcDb::kTextLeft, ZcDb::kTextBase, L"\nSpecify start point of text: "},
    {L"Center", ZcDb::kTextCenter, ZcDb::kTextBase, L"\nSpecify center point of text baseline: "},
    {L"Right", ZcDb::kTextRight, ZcDb::kTextBase, L"\nSpecify right endpoint of text baseline: "},
    {L"Align", ZcDb::kTextAlign, ZcDb::kTextBase, nullptr},
    {L"Middle", ZcDb::kTextMid, ZcDb::kTextBase, L"\nSpecify middle point of text: "},
    {L"Fit", ZcDb::kTextFit, ZcDb::kTextBase, nullptr},
    {L"TL", ZcDb::kTextLeft, ZcDb::kTextTop, L"\nSpecify top-left point of text: "},
    {L"TC", ZcDb::kTextCenter, ZcDb::kTextTop, L"\nSpecify top-center point of text: "},
    {L"TR", ZcDb::kTextRight, ZcDb::kTextTop, L"\nSpecify top-right point of text: "},
    {L"ML", ZcDb::kTextLeft, ZcDb::kTextVertMid, L"\nSpecify middle-left point of text: "},
    {L"MC", ZcDb::kTextCenter, ZcDb::kTextVertMid, L"\nSpecify middle-center point of text: "},
    {L"MR", ZcDb::kTextRight, ZcDb::kTextVertMid, L"\nSpecify middle-right point of text: "},
    {L"BL", ZcDb::kTextLeft, ZcDb::kTextBottom, L"\nSpecify bottom-left point of text: "},
    {L"BC", ZcDb::kTextCenter, ZcDb::kTextBottom, L"\nSpecify bottom-center point of text: "},
    {L"BR", ZcDb::kTextRight, ZcDb::kTextBottom, L"\nSpecify bottom-right point of text: "},
};
constexpr const wchar_t* kJustifyKeywords = L"Left Center Right Align Middle Fit TL TC TR ML MC MR BL BC BR";
// The start prompt also takes the justifications directly, as CAD hosts do.
constexpr const wchar_t* kStartKeywords =
    L"Justify Style Left Center Right Align Middle Fit TL TC TR ML MC MR BL BC BR";

const Justification& justificationNamed(std::wstring_view keyword) {
  for (const Justification& j : kJustifications) {
    if (sameText(j.keyword, keyword)) return j;
  }
  return kJustifications[0];
}

bool takesTwoPoints(const Justification& j) {
  return j.horizontal == ZcDb::kTextAlign || j.horizontal == ZcDb::kTextFit;
}

// Where and how the next line goes.
struct Placement {
  const Justification* justification = &kJustifications[0];
  ZcGePoint3d point;   // the justification point; for Align and Fit the baseline's first end
  ZcGePoint3d second;  // Align and Fit: the baseline's second end
  ZcDbObjectId style;
  double height = 0.0;  // Align: worked out from the baseline for each line
  double rotation = 0.0;
  bool heightAsked = false;
};

// The last text written, for Enter at the first prompt. Found again by handle in the drawing
// it was written to, so a drawing opened at the same address or an undo mean "no text".
struct LastText {
  ZcDbDatabase* db = nullptr;
  ZcDbHandle handle;
  Placement next;
};
LastText lastText;
double lastRotation = 0.0;

std::optional<Placement> placementBelowLastText(ZcDbDatabase* db) {
  if (db != lastText.db) return std::nullopt;
  ZcDbObjectId id;
  if (db->getZcDbObjectId(id, /*createIfNotFound=*/false, lastText.handle) != Zcad::eOk) return std::nullopt;
  ZcDbText* text = nullptr;
  if (zcdbOpenObject(text, id, ZcDb::kForRead) != Zcad::eOk) return std::nullopt;
  text->close();
  Placement next = lastText.next;
  next.heightAsked = false;
  return next;
}

// The style's own height, 0 when it has none.
double fixedHeight(ZcDbObjectId style) {
  ZcDbTextStyleTableRecord* record = nullptr;
  if (zcdbOpenObject(record, style, ZcDb::kForRead) != Zcad::eOk) return 0.0;
  double height = record->textSize();
  record->close();
  return height;
}

double defaultHeight(ZcDbDatabase* db, ZcDbObjectId style) {
  if (double fixed = fixedHeight(style); fixed > 0.0) return fixed;
  return db->textsize() > 0.0 ? db->textsize() : kFallbackHeight;
}

// False after a cancel.
bool askStyle(ZcDbDatabase* db, ZcDbObjectId& style) {
  for (;;) {
    Answer<std::wstring> name =
        getText(/*spaces=*/false, L"\nEnter style name or [?] <" + recordName(style) + L">: ");
    if (name.isCancel()) return false;
    if (name.isNone()) return true;
    if (name.value == L"?") {
      say(L"\nText styles:");
      for (const std::wstring& each : recordNames(db->textStyleTableId())) say(L"\n  " + each);
      continue;
    }
    ZcDbObjectId found = findRecord(db->textStyleTableId(), name.value);
    if (found.isNull()) {
      say(L"\nText style \"" + name.value + L"\" not found.");
      continue;
    }
    style = found;
    db->setTextstyle(found);
    return true;
  }
}

// Height (unless the style fixes it) and rotation; false after a cancel.
bool askHeightAndRotation(ZcDbDatabase* db, Placement& placement) {
  double fixed = fixedHeight(placement.style);
  if (fixed > 0.0) {
    placement.height = fixed;
  } else {
    double current = defaultHeight(db, placement.style);
    Answer<double> height = getDist(&placement.point, L"\nSpecify height <" + formatLength(current) + L">: ",
                                    {.bits = RSG_NOZERO | RSG_NONEG});
    if (height.isCancel()) return false;
    placement.height = height.isValue() ? height.value : current;
    placement.heightAsked = true;
  }
  if (placement.justification->horizontal == ZcDb::kTextFit) return true;
  Answer<double> rotation =
      getAngle(&placement.point, L"\nSpecify rotation angle of text <" + formatAngle(lastRotation) + L">: ");
  if (rotation.isCancel()) return false;
  placement.rotation = rotation.isValue() ? rotation.value : lastRotation;
  return true;
}

// The point(s) the justification needs; false after a cancel.
bool askPoints(Placement& placement) {
  const Justification& j = *placement.justification;
  if (!takesTwoPoints(j)) {
    Answer<ZcGePoint3d> at = getPoint(nullptr, j.pointPrompt, {.bits = RSG_NONULL});
    if (!at.isValue()) return false;
    placement.point = at.value;
    return true;
  }
  Answer<ZcGePoint3d> first =
      getPoint(nullptr, L"\nSpecify first endpoint of text baseline: ", {.bits = RSG_NONULL});
  if (!first.isValue()) return false;
  for (;;) {
    Answer<ZcGePoint3d> second =
        getPoint(&first.value, L"\nSpecify second endpoint of text baseline: ", {.bits = RSG_NONULL});
    if (!second.isValue()) return false;
    ZcGeVector3d baseline = second.value - first.value;
    if (ZcGeVector2d(baseline.x, baseline.y).length() > 0.0) {
      placement.point = first.value;
      placement.second = second.value;
      placement.rotation = std::atan2(baseline.y, baseline.x);
      return true;
    }
    // Degenerate case: a baseline without length has no direction.
    say(L"\nThe two endpoints coincide; give another one.");
  }
}

// Writes one line; answers the height it got (0 when it was not written).
double writeLine(ZcDbDatabase* db, const Placement& placement, const std::wstring& line) {
  const Justification& j = *placement.justification;
  auto text = std::make_unique<ZcDbText>();
  text->setTextStyle(placement.style);
  text->setHeight(placement.height > 0.0 ? placement.height : defaultHeight(db, placement.style));
  text->setRotation(placement.rotation);
  text->setTextString(line.c_str());
  text->setHorizontalMode(j.horizontal);
  text->setVerticalMode(j.vertical);
  if (takesTwoPoints(j)) {
    text->setPosition(placement.point);
    text->setAlignmentPoint(placement.second);
  } else if (j.horizontal == ZcDb::kTextLeft && j.vertical == ZcDb::kTextBase) {
    text->setPosition(placement.point);
  } else {
    text->setAlignmentPoint(placement.point);
  }
  text->adjustAlignment(db);
  double height = text->height();
  ZcDbObjectId id = addEntity(db, std::move(text));
  if (id.isNull()) return 0.0;
  lastText.db = db;
  lastText.handle = id.handle();
  return height;
}

void writeLines(ZcDbDatabase* db, Placement placement) {
  int written = 0;
  for (;;) {
    Answer<std::wstring> line = getText(/*spaces=*/true, L"\nEnter text: ");
    if (!line.isValue()) break;
    double height = writeLine(db, placement, line.value);
    if (height <= 0.0) break;
    ++written;
    // Down the page as the text reads: perpendicular to the baseline, to its right.
    ZcGeVector3d down(std::sin(placement.rotation), -std::cos(placement.rotation), 0.0);
    ZcGeVector3d step = down * (kLineSpacing * height);
    placement.point += step;
    placement.second += step;
    lastText.next = placement;
  }
  if (written == 0) return;
  // Align and Fit take their rotation from the baseline: that is not a rotation to offer again.
  if (!takesTwoPoints(*placement.justification)) lastRotation = placement.rotation;
  if (placement.heightAsked && placement.height != db->textsize()) db->setTextsize(placement.height);
}

}  // namespace

void textCommand() {
  ZcDbDatabase* db = drawingDatabase();
  if (!db) return;
  Placement placement;
  placement.style = db->textstyle();
  for (;;) {
    say(L"\nCurrent text style:  \"" + recordName(placement.style) + L"\"  Text height:  " +
        formatLength(defaultHeight(db, placement.style)) + L"  Justify:  " +
        placement.justification->keyword);
    Answer<ZcGePoint3d> start = getPoint(nullptr, L"\nSpecify start point of text or [Justify/Style]: ",
                                         {.keywords = kStartKeywords});
    if (start.isCancel()) return;
    if (start.isNone()) {
      std::optional<Placement> below = placementBelowLastText(db);
      if (!below) {
        say(L"\nThere is no text to continue below.");
        continue;
      }
      writeLines(db, *below);
      return;
    }
    if (start.is(L"Style")) {
      if (!askStyle(db, placement.style)) return;
      continue;
    }
    if (start.isValue()) {
      placement.point = start.value;
    } else {
      std::wstring keyword = start.keyword;
      if (start.is(L"Justify")) {
        Answer<std::wstring> option =
            getKeyword(L"\nEnter an option [Left/Center/Right/Align/Middle/Fit/TL/TC/TR/ML/MC/MR/BL/BC/BR]: ",
                       {.bits = RSG_NONULL, .keywords = kJustifyKeywords});
        if (option.isCancel()) return;
        keyword = option.keyword;
      }
      placement.justification = &justificationNamed(keyword);
      if (!askPoints(placement)) return;
    }
    // Align takes its height and rotation from the baseline.
    if (placement.justification->horizontal != ZcDb::kTextAlign && !askHeightAndRotation(db, placement))
      return;
    writeLines(db, placement);
    return;
  }
}

}  // namespace vtcad::commands
