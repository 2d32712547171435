// The input functions of the command line (zcedGetInt ... zcedEntSel). Each prints its prompt,
// reads one input, and answers it the way a CAD host does: a value, a keyword, an empty input,
// a cancel; input that does not fit is answered with a message and the prompt repeats.
#include <charconv>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <numbers>
#include <optional>
#include <string>

#include "editor/EntityAtPoint.h"
#include "editor/InputParsing.h"
#include "editor/Keywords.h"
#include "editor/Session.h"
#include "editor/WaitingPrompt.h"
#include "editor/WorkPoll.h"
#include "zcad/zced.h"

using editor::InputItem;
using editor::Session;

namespace {

constexpr size_t kDefaultResultLength = 512;

ZcGePoint3d lastPoint() {
  resbuf value{};
  if (zcedGetVar(L"LASTPOINT", &value) == RTNORM &&
      (value.restype == RT3DPOINT || value.restype == RTPOINT)) {
    return ZcGePoint3d(value.resval.rpoint[0], value.resval.rpoint[1],
                       value.restype == RT3DPOINT ? value.resval.rpoint[2] : 0.0);
  }
  return ZcGePoint3d(0.0, 0.0, 0.0);
}

void setLastPoint(const ZcGePoint3d& point) {
  resbuf value{};
  value.restype = RT3DPOINT;
  value.resval.rpoint[0] = point.x;
  value.resval.rpoint[1] = point.y;
  value.resval.rpoint[2] = point.z;
  zcedSetVar(L"LASTPOINT", &value);
}

double sysVarReal(const wchar_t* name, double fallback) {
  resbuf value{};
  if (zcedGetVar(name, &value) != RTNORM) return fallback;
  if (value.restype == RTREAL) return value.resval.rreal;
  if (value.restype == RTSHORT) return value.resval.rint;
  return fallback;
}

void toPoint(const ZcGePoint3d& p, zds_point out) {
  out[0] = p.x;
  out[1] = p.y;
  out[2] = p.z;
}

ZcGePoint3d fromPoint(const zds_point p) { return ZcGePoint3d(p[0], p[1], p[2]); }

void say(const wchar_t* text) { Session::instance().printRefusal(text); }

// Copies `text` into a caller's buffer of `length` characters.
int copyResult(const std::wstring& text, ZTCHAR* result, size_t length) {
  if (!result || length == 0) return RTERROR;
  size_t n = std::min(text.size(), length - 1);
  std::wmemcpy(result, text.data(), n);
  result[n] = L'\0';
  return n < text.size() ? RTINPUTTRUNCATED : RTNORM;
}

// What an input means at a prompt before its own kind of value is tried.
enum class Common { kCancel, kEmpty, kKeyword, kOther };

struct Reading {
  InputItem item;
  Common common = Common::kOther;
};

// Reads one input and sorts out what every prompt answers alike: cancel, Enter (refused under
// RSG_NONULL: the prompt repeats), a keyword of the list.
Reading readInput(const std::wstring& prompt, const Session::InitGet& control, bool keywordFirst,
                  Session::ReadMode mode = Session::ReadMode::kToken) {
  Session& session = Session::instance();
  editor::Keywords keywords(control.keywords);
  for (;;) {
    Reading reading{session.read(prompt, mode), Common::kOther};
    InputItem& item = reading.item;
    if (item.cancelled()) {
      reading.common = Common::kCancel;
      return reading;
    }
    if (item.kind == InputItem::Kind::kEmpty) {
      if (control.bits & RSG_NONULL) continue;
      reading.common = Common::kEmpty;
      return reading;
    }
    if (item.kind == InputItem::Kind::kText && keywordFirst && !keywords.empty()) {
      if (auto keyword = keywords.match(item.text)) {
        session.lastKeywordInput = *keyword;
        reading.common = Common::kKeyword;
        return reading;
      }
    }
    return reading;
  }
}

// The keyword answer of a prompt that tried its own value first: the keyword list, then
// arbitrary input under RSG_OTHER.
bool keywordAnswer(const InputItem& item, const Session::InitGet& control) {
  // A number handed over by zcedCommand where only arbitrary input could take it (INSERT's
  // scale at its point prompt) arrives as the text a user would have typed for it.
  if (item.kind == InputItem::Kind::kNumber && (control.bits & RSG_OTHER)) {
    char digits[32];
    const auto written = std::to_chars(digits, digits + sizeof digits, item.number);
    Session::instance().lastKeywordInput.assign(digits, written.ptr);
    return true;
  }
  if (item.kind != InputItem::Kind::kText) return false;
  editor::Keywords keywords(control.keywords);
  if (auto keyword = keywords.match(item.text)) {
    Session::instance().lastKeywordInput = *keyword;
    return true;
  }
  if (control.bits & RSG_OTHER) {
    Session::instance().lastKeywordInput = item.text;
    return true;
  }
  return false;
}

// RSG_NOZERO / RSG_NONEG; false after saying why.
bool numberAllowed(double value, int bits) {
  bool noZero = bits & RSG_NOZERO, noNegative = bits & RSG_NONEG;
  if ((noZero && value == 0.0) || (noNegative && value < 0.0)) {
    if (noZero && noNegative) {
      say(L"\nValue must be positive and nonzero.");
    } else if (noZero) {
      say(L"\nValue must be nonzero.");
    } else {
      say(L"\nValue must be positive.");
    }
    return false;
  }
  return true;
}

std::optional<double> numberOf(const InputItem& item) {
  if (item.kind == InputItem::Kind::kNumber) return item.number;
  if (item.kind == InputItem::Kind::kText) return editor::parseReal(item.text);
  return std::nullopt;
}

std::optional<ZcGePoint3d> pointOf(const InputItem& item) {
  if (item.kind == InputItem::Kind::kPoint) return item.point;
  if (item.kind == InputItem::Kind::kText) return editor::parsePoint(item.text, lastPoint());
  return std::nullopt;
}

std::wstring promptText(const ZTCHAR* prompt) { return prompt ? std::wstring(prompt) : std::wstring(); }

// A prompt that takes a point, with a rubber band from `base` when there is one.
editor::WaitingPrompt pointPrompt(const ZcGePoint3d* base, editor::WaitingPrompt::Band band) {
  editor::WaitingPrompt waiting;
  waiting.wants = editor::WaitingPrompt::Wants::kPoint;
  if (base) {
    waiting.band = band;
    waiting.base = *base;
  }
  return waiting;
}

editor::WaitingPrompt pointPrompt(const zds_point base, editor::WaitingPrompt::Band band) {
  if (!base) return pointPrompt(static_cast<const ZcGePoint3d*>(nullptr), band);
  const ZcGePoint3d from = fromPoint(base);
  return pointPrompt(&from, band);
}

// A second point for distances and angles given by two points.
int secondPoint(const ZcGePoint3d& first, ZcGePoint3d& second) {
  const editor::WaitingPromptScope waiting(pointPrompt(&first, editor::WaitingPrompt::Band::kLine));
  for (;;) {
    Reading reading = readInput(L"\nSpecify second point: ", Session::InitGet{RSG_NONULL, {}}, false);
    if (reading.common == Common::kCancel) return RTCAN;
    if (auto point = pointOf(reading.item)) {
      second = *point;
      setLastPoint(second);
      return RTNORM;
    }
    say(L"\nInvalid point.");
  }
}

double normalizedAngle(double a) {
  a = std::fmod(a, 2.0 * std::numbers::pi);
  if (a < 0.0) a += 2.0 * std::numbers::pi;
  return a;
}

// Angles for zcedGetAngle (relative to ANGBASE) and zcedGetOrient (absolute).
int getAngleCommon(const zds_point pt, const ZTCHAR* prompt, zds_real* result, bool relativeToBase) {
  if (!result) return RTERROR;
  Session::InitGet control = Session::instance().takeInitGet();
  double angBase = sysVarReal(L"ANGBASE", 0.0);
  bool clockwise = sysVarReal(L"ANGDIR", 0.0) != 0.0;
  const editor::WaitingPromptScope waiting(pointPrompt(pt, editor::WaitingPrompt::Band::kLine));
  for (;;) {
    Reading reading = readInput(promptText(prompt), control, false);
    if (reading.common == Common::kCancel) return RTCAN;
    if (reading.common == Common::kEmpty) return RTNONE;
    double direction = 0.0;  // absolute, counter-clockwise from the world X axis
    if (auto degrees = numberOf(reading.item)) {
      double typed = *degrees * std::numbers::pi / 180.0;
      direction = angBase + (clockwise ? -typed : typed);
    } else if (auto point = pointOf(reading.item)) {
      ZcGePoint3d from = pt ? fromPoint(pt) : *point;
      ZcGePoint3d to = *point;
      if (!pt) {
        setLastPoint(from);
        int status = secondPoint(from, to);
        if (status != RTNORM) return status;
      }
      direction = std::atan2(to.y - from.y, to.x - from.x);
    } else if (keywordAnswer(reading.item, control)) {
      return RTKWORD;
    } else {
      say(L"\nRequires numeric angle or two points.");
      continue;
    }
    *result = normalizedAngle(relativeToBase ? direction - angBase : direction);
    return RTNORM;
  }
}

int getPointCommon(const zds_point pt, const ZTCHAR* prompt, zds_point result,
                   editor::WaitingPrompt::Band band) {
  if (!result) return RTERROR;
  Session::InitGet control = Session::instance().takeInitGet();
  const editor::WaitingPromptScope waiting(pointPrompt(pt, band));
  for (;;) {
    Reading reading = readInput(promptText(prompt), control, false);
    if (reading.common == Common::kCancel) return RTCAN;
    if (reading.common == Common::kEmpty) return RTNONE;
    if (auto point = pointOf(reading.item)) {
      toPoint(*point, result);
      setLastPoint(*point);
      return RTNORM;
    }
    if (keywordAnswer(reading.item, control)) return RTKWORD;
    say(L"\nInvalid point.");
  }
}

}  // namespace

int zcedInitGet(int val, const ZTCHAR* kwl) {
  Session::instance().setInitGet(val, kwl ? std::wstring(kwl) : std::wstring());
  return RTNORM;
}

int zcedGetInt(const ZTCHAR* prompt, int* result) {
  if (!result) return RTERROR;
  Session::InitGet control = Session::instance().takeInitGet();
  for (;;) {
    Reading reading = readInput(promptText(prompt), control, false);
    if (reading.common == Common::kCancel) return RTCAN;
    if (reading.common == Common::kEmpty) return RTNONE;
    const InputItem& item = reading.item;
    std::optional<int> value;
    if (item.kind == InputItem::Kind::kNumber && item.number == std::floor(item.number) &&
        std::fabs(item.number) <= 32767.0) {
      value = static_cast<int>(item.number);
    } else if (item.kind == InputItem::Kind::kText) {
      editor::ParsedInteger parsed = editor::parseInteger(item.text);
      if (parsed.status == editor::IntegerParse::kOk) value = parsed.value;
      if (parsed.status == editor::IntegerParse::kOutOfRange) {
        say(L"\nRequires an integer between -32768 and 32767.");
        continue;
      }
    }
    if (!value) {
      if (keywordAnswer(item, control)) return RTKWORD;
      say(L"\nRequires an integer value.");
      continue;
    }
    if (!numberAllowed(*value, control.bits)) continue;
    *result = *value;
    return RTNORM;
  }
}

int zcedGetReal(const ZTCHAR* prompt, zds_real* result) {
  if (!result) return RTERROR;
  Session::InitGet control = Session::instance().takeInitGet();
  for (;;) {
    Reading reading = readInput(promptText(prompt), control, false);
    if (reading.common == Common::kCancel) return RTCAN;
    if (reading.common == Common::kEmpty) return RTNONE;
    auto value = numberOf(reading.item);
    if (!value) {
      if (keywordAnswer(reading.item, control)) return RTKWORD;
      say(L"\nRequires numeric value.");
      continue;
    }
    if (!numberAllowed(*value, control.bits)) continue;
    *result = *value;
    return RTNORM;
  }
}

int zcedGetDist(const zds_point pt, const ZTCHAR* prompt, zds_real* result) {
  if (!result) return RTERROR;
  Session::InitGet control = Session::instance().takeInitGet();
  bool flat = control.bits & RSG_2D;
  const editor::WaitingPromptScope waiting(pointPrompt(pt, editor::WaitingPrompt::Band::kLine));
  for (;;) {
    Reading reading = readInput(promptText(prompt), control, false);
    if (reading.common == Common::kCancel) return RTCAN;
    if (reading.common == Common::kEmpty) return RTNONE;
    double distance = 0.0;
    if (auto value = numberOf(reading.item)) {
      distance = *value;
    } else if (auto point = pointOf(reading.item)) {
      ZcGePoint3d from = pt ? fromPoint(pt) : *point;
      ZcGePoint3d to = *point;
      setLastPoint(*point);
      if (!pt) {
        int status = secondPoint(from, to);
        if (status != RTNORM) return status;
      }
      double dx = to.x - from.x, dy = to.y - from.y, dz = flat ? 0.0 : to.z - from.z;
      distance = std::sqrt(dx * dx + dy * dy + dz * dz);
    } else if (keywordAnswer(reading.item, control)) {
      return RTKWORD;
    } else {
      say(L"\nRequires numeric distance or two points.");
      continue;
    }
    if (!numberAllowed(distance, control.bits)) continue;
    *result = distance;
    return RTNORM;
  }
}

int zcedGetAngle(const zds_point pt, const ZTCHAR* prompt, zds_real* result) {
  return getAngleCommon(pt, prompt, result, /*relativeToBase=*/true);
}

int zcedGetOrient(const zds_point pt, const ZTCHAR* prompt, zds_real* result) {
  return getAngleCommon(pt, prompt, result, /*relativeToBase=*/false);
}

int zcedGetPoint(const zds_point pt, const ZTCHAR* prompt, zds_point result) {
  return getPointCommon(pt, prompt, result, editor::WaitingPrompt::Band::kLine);
}

int zcedGetCorner(const zds_point pt, const ZTCHAR* prompt, zds_point result) {
  if (!pt) return RTERROR;  // a corner needs the first corner
  return getPointCommon(pt, prompt, result, editor::WaitingPrompt::Band::kBox);
}

int zcedGetKword(const ZTCHAR* prompt, ZTCHAR* result, size_t bufLen) {
  if (!result || bufLen == 0) return RTERROR;
  Session::InitGet control = Session::instance().takeInitGet();
  editor::Keywords keywords(control.keywords);
  for (;;) {
    Reading reading = readInput(promptText(prompt), control, true);
    if (reading.common == Common::kCancel) return RTCAN;
    if (reading.common == Common::kEmpty) {
      result[0] = L'\0';
      return RTNONE;
    }
    if (reading.common == Common::kKeyword)
      return copyResult(Session::instance().lastKeywordInput, result, bufLen);
    if ((control.bits & RSG_OTHER) && reading.item.kind == InputItem::Kind::kText) {
      Session::instance().lastKeywordInput = reading.item.text;
      return copyResult(reading.item.text, result, bufLen);
    }
    say(L"\nInvalid option keyword.");
  }
}

int zcedGetKword(const ZTCHAR* prompt, ZTCHAR* result) {
  return zcedGetKword(prompt, result, kDefaultResultLength);
}

int zcedGetString(int cronly, const ZTCHAR* prompt, ZTCHAR* result, size_t bufLen) {
  if (!result || bufLen == 0) return RTERROR;
  Session& session = Session::instance();
  (void)session.takeInitGet();  // input control does not apply to texts
  InputItem item =
      session.read(promptText(prompt), cronly ? Session::ReadMode::kRestOfLine : Session::ReadMode::kToken);
  if (item.cancelled()) return RTCAN;
  std::wstring text;
  if (item.kind == InputItem::Kind::kText) {
    text = item.text;
  } else if (item.kind != InputItem::Kind::kEmpty) {
    text = session.echoText(item);
  }
  return copyResult(text, result, bufLen);
}

int zcedGetString(int cronly, const ZTCHAR* prompt, ZTCHAR* result) {
  return zcedGetString(cronly, prompt, result, kDefaultResultLength);
}

int zcedGetInput(ZTCHAR* str, size_t bufLen) {
  return copyResult(Session::instance().lastKeywordInput, str, bufLen);
}
int zcedGetInput(ZTCHAR* str) { return zcedGetInput(str, kDefaultResultLength); }

int zcedEntSel(const ZTCHAR* prompt, zds_name ent, zds_point ptres) {
  if (!ent || !ptres) return RTERROR;
  Session::InitGet control = Session::instance().takeInitGet();
  std::wstring shown = prompt ? std::wstring(prompt) : std::wstring(L"\nSelect object: ");
  const editor::WaitingPromptScope waiting(pointPrompt(static_cast<const ZcGePoint3d*>(nullptr), {}));
  for (;;) {
    Reading reading = readInput(shown, control, true);
    if (reading.common == Common::kCancel) return RTCAN;
    if (reading.common == Common::kEmpty) return RTNONE;
    if (reading.common == Common::kKeyword) return RTKWORD;
    editor::EntityAt found = editor::entityAtInput(reading.item, lastPoint());
    switch (found.status) {
      case editor::EntityAtStatus::kFound:
        zcdbGetZdsName(*reinterpret_cast<zds_name*>(ent), found.id);
        toPoint(found.point, ptres);
        setLastPoint(found.point);
        return RTNORM;
      case editor::EntityAtStatus::kNothingThere:
        return RTERROR;  // a miss: the caller says so
      case editor::EntityAtStatus::kNotAnEntityInput:
        if (keywordAnswer(reading.item, control)) return RTKWORD;
        say(L"\nInvalid point.");
        break;
    }
  }
}

int zcedUsrBrk() {
  // A window looks at its keyboard (Esc) and repaints here.
  editor::pollWork();
  return Session::instance().userBreak() ? 1 : 0;
}

int zcedPrompt(const ZTCHAR* text) {
  if (text) Session::instance().print(text);
  return RTNORM;
}
