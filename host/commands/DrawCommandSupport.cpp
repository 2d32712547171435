#include "commands/DrawCommandSupport.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <cwctype>

#include "editor/InputParsing.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbSymbolTable.h"
#include "zcad/ge/ZcGe.h"
#include "zcad/zced.h"

namespace vtcad::commands::draw {

namespace {

// Longer than any keyword; texts get a buffer of their own.
constexpr size_t kKeywordLength = 512;
constexpr size_t kTextLength = 4096;

// Direction of the projection of `v` on the XY plane, in (-pi, pi].
double directionAngle(const ZcGeVector3d& v) { return v.x == 0.0 && v.y == 0.0 ? 0.0 : std::atan2(v.y, v.x); }

ZcGePoint3d fromZds(const zds_point point) { return {point[0], point[1], point[2]}; }

void toZds(const ZcGePoint3d& point, zds_point out) {
  out[0] = point.x;
  out[1] = point.y;
  out[2] = point.z;
}

void initGet(const Ask& ask) { zcedInitGet(ask.bits, ask.keywords); }

std::wstring lastInput() {
  ZTCHAR text[kKeywordLength] = {};
  int status = zcedGetInput(text, kKeywordLength);
  // Arbitrary input longer than any keyword is kept as far as it goes.
  if (status != RTNORM && status != RTINPUTTRUNCATED) return {};
  return text;
}

// Sorts the result codes every prompt shares; `value` has been filled on RTNORM.
template <typename T>
Answer<T> answerOf(int status, T value) {
  Answer<T> answer;
  switch (status) {
    case RTNORM:
      answer.reply = Reply::kValue;
      answer.value = value;
      break;
    case RTNONE:
      answer.reply = Reply::kNone;
      break;
    case RTKWORD:
      answer.reply = Reply::kKeyword;
      answer.keyword = lastInput();
      break;
    default:
      // RTCAN, and RTERROR of a prompt that could not ask: the command stops either way.
      answer.reply = Reply::kCancel;
      break;
  }
  return answer;
}

// Rounds to `decimals` places and drops the sign of a rounded zero.
std::wstring fixed(double value, int decimals) {
  // Room for the largest double written out in full (309 digits) and its decimals.
  wchar_t text[512];
  if (std::swprintf(text, 512, L"%.*f", decimals, value) < 0) std::swprintf(text, 512, L"%g", value);
  std::wstring out = text;
  if (out.front() == L'-' && out.find_first_not_of(L"-0.") == std::wstring::npos) out.erase(0, 1);
  return out;
}

// The last line or arc LINE or ARC drew. The entity is found again by its handle in the
// drawing it was drawn in, and must still end where it ended: a drawing opened at the same
// address, an undo or an erase then simply mean there is nothing to continue.
struct Remembered {
  ZcDbDatabase* db = nullptr;
  ZcDbHandle handle;
  Continuation continuation;
};
Remembered remembered;

bool entityEndsAt(ZcDbObjectId id, const ZcGePoint3d& end) {
  ZcDbEntity* entity = nullptr;
  if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) return false;
  bool ends = false;
  if (ZcDbLine* line = ZcDbLine::cast(entity)) {
    ends = line->endPoint().isEqualTo(end);
  } else if (ZcDbArc* arc = ZcDbArc::cast(entity)) {
    // A clockwise arc is stored the other way round: the user's end is the arc's start.
    ZcGePoint3d from, to;
    ends = arc->getStartPoint(from) == Zcad::eOk && arc->getEndPoint(to) == Zcad::eOk &&
           (from.isEqualTo(end) || to.isEqualTo(end));
  }
  entity->close();
  return ends;
}

}  // namespace

Answer<ZcGePoint3d> getPoint(const ZcGePoint3d* base, const std::wstring& prompt, Ask ask) {
  zds_point from = {0.0, 0.0, 0.0};
  if (base) toZds(*base, from);
  zds_point result = {0.0, 0.0, 0.0};
  initGet(ask);
  int status = zcedGetPoint(base ? from : nullptr, prompt.c_str(), result);
  return answerOf(status, fromZds(result));
}

Answer<double> getDist(const ZcGePoint3d* base, const std::wstring& prompt, Ask ask) {
  zds_point from = {0.0, 0.0, 0.0};
  if (base) toZds(*base, from);
  double result = 0.0;
  initGet(ask);
  int status = zcedGetDist(base ? from : nullptr, prompt.c_str(), &result);
  return answerOf(status, result);
}

Answer<double> getAngle(const ZcGePoint3d* base, const std::wstring& prompt, Ask ask) {
  zds_point from = {0.0, 0.0, 0.0};
  if (base) toZds(*base, from);
  double result = 0.0;
  initGet(ask);
  // zcedGetOrient: the direction itself, whatever ANGBASE says where 0 is.
  int status = zcedGetOrient(base ? from : nullptr, prompt.c_str(), &result);
  return answerOf(status, result);
}

Answer<double> getReal(const std::wstring& prompt, Ask ask) {
  double result = 0.0;
  initGet(ask);
  int status = zcedGetReal(prompt.c_str(), &result);
  return answerOf(status, result);
}

Answer<double> getIncludedAngle(const ZcGePoint3d& base, const std::wstring& prompt, int bits) {
  for (;;) {
    // Arbitrary input comes back as a keyword: a typed number keeps its sign that way, where
    // an angle prompt would bring it into [0, 360).
    Answer<ZcGePoint3d> answer = getPoint(&base, prompt, {.bits = bits | RSG_OTHER});
    Answer<double> angle;
    angle.reply = answer.reply;
    if (answer.isValue()) {
      angle.value = directionAngle(answer.value - base);
      return angle;
    }
    if (answer.reply != Reply::kKeyword) return angle;
    if (std::optional<double> degrees = editor::parseReal(answer.keyword)) {
      angle.reply = Reply::kValue;
      angle.value = *degrees * ZcGe::kPi / 180.0;
      return angle;
    }
    say(L"\nRequires a numeric angle or a point.");
  }
}

Answer<std::wstring> getKeyword(const std::wstring& prompt, Ask ask) {
  ZTCHAR result[kKeywordLength] = {};
  initGet(ask);
  int status = zcedGetKword(prompt.c_str(), result, kKeywordLength);
  Answer<std::wstring> answer = answerOf(status, std::wstring(result));
  if (answer.isValue()) {
    answer.reply = Reply::kKeyword;
    answer.keyword = result;
  }
  return answer;
}

Answer<std::wstring> getText(bool spaces, const std::wstring& prompt) {
  std::wstring result(kTextLength, L'\0');
  int status = zcedGetString(spaces ? 1 : 0, prompt.c_str(), result.data(), kTextLength);
  // A text longer than the buffer is kept as far as it goes.
  if (status == RTINPUTTRUNCATED) status = RTNORM;
  result.resize(std::wcslen(result.c_str()));
  Answer<std::wstring> answer = answerOf(status, result);
  if (answer.isValue() && answer.value.empty()) answer.reply = Reply::kNone;
  return answer;
}

void setLastPoint(const ZcGePoint3d& point) {
  resbuf value{};
  value.restype = RT3DPOINT;
  toZds(point, value.resval.rpoint);
  zcedSetVar(L"LASTPOINT", &value);
}

double realVariable(const wchar_t* name, double fallback) {
  resbuf value{};
  if (zcedGetVar(name, &value) != RTNORM) return fallback;
  if (value.restype == RTREAL) return value.resval.rreal;
  if (value.restype == RTSHORT) return value.resval.rint;
  return fallback;
}

void setRealVariable(const wchar_t* name, double value) {
  resbuf rb{};
  rb.restype = RTREAL;
  rb.resval.rreal = value;
  zcedSetVar(name, &rb);
}

void say(std::wstring_view text) {
  // zcedPrompt prints the text as it is: a '%' in a block name must not be read as a format.
  std::wstring copy(text);
  zcedPrompt(copy.c_str());
}

std::wstring formatLength(double value) {
  double decimals = realVariable(L"LUPREC", 4.0);
  return fixed(value, decimals >= 0.0 && decimals <= 8.0 ? static_cast<int>(decimals) : 4);
}

std::wstring formatAngle(double radians) {
  std::wstring out = fixed(radians * 180.0 / ZcGe::kPi, /*decimals=*/4);
  if (out.find(L'.') != std::wstring::npos) {
    while (out.back() == L'0') out.pop_back();
    if (out.back() == L'.') out.pop_back();
  }
  return out == L"-0" ? L"0" : out;
}

bool sameText(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           return std::towupper(static_cast<wint_t>(x)) == std::towupper(static_cast<wint_t>(y));
         });
}

ZcGePoint2d flat(const ZcGePoint3d& point) { return {point.x, point.y}; }
ZcGePoint3d raised(const ZcGePoint2d& point, double z) { return {point.x, point.y, z}; }

bool inRange(std::initializer_list<double> values) {
  for (double value : values) {
    if (!std::isfinite(value)) {
      say(L"\nThe result is out of range; nothing was drawn.");
      return false;
    }
  }
  return true;
}

ZcDbDatabase* drawingDatabase() {
  ZcDbDatabase* db = zcdbHostApplicationServices()->workingDatabase();
  if (!db) say(L"\nNo drawing is open.");
  return db;
}

ZcDbObjectId addEntity(ZcDbDatabase* db, std::unique_ptr<ZcDbEntity> entity) {
  ZcDbObjectId id;
  if (!db || !entity) return id;
  entity->setDatabaseDefaults(db);
  ZcDbBlockTableRecord* space = nullptr;
  Zcad::ErrorStatus es = zcdbOpenObject(space, db->currentSpaceId(), ZcDb::kForWrite);
  if (es == Zcad::eOk) {
    es = space->appendZcDbEntity(id, entity.get());
    if (es == Zcad::eOk) {
      entity.release()->close();  // the drawing owns it now
    }
    space->close();
  }
  if (es != Zcad::eOk) {
    say(L"\nThe object could not be added to the drawing.");
    return ZcDbObjectId();
  }
  return id;
}

ZcDbObjectId findRecord(ZcDbObjectId tableId, const std::wstring& name) {
  ZcDbObjectId id;
  ZcDbSymbolTable* table = nullptr;
  if (name.empty() || zcdbOpenObject(table, tableId, ZcDb::kForRead) != Zcad::eOk) return id;
  if (table->getAt(name.c_str(), id) != Zcad::eOk) id = ZcDbObjectId();
  table->close();
  return id;
}

std::vector<std::wstring> recordNames(ZcDbObjectId tableId) {
  std::vector<std::wstring> names;
  ZcDbSymbolTable* table = nullptr;
  if (zcdbOpenObject(table, tableId, ZcDb::kForRead) != Zcad::eOk) return names;
  ZcDbSymbolTableIterator* iterator = nullptr;
  if (table->newIterator(iterator) == Zcad::eOk) {
    for (; !iterator->done(); iterator->step()) {
      ZcDbObjectId id;
      if (iterator->getRecordId(id) == Zcad::eOk) names.push_back(recordName(id));
    }
    delete iterator;
  }
  table->close();
  return names;
}

std::wstring recordName(ZcDbObjectId recordId) {
  ZcDbSymbolTableRecord* record = nullptr;
  if (zcdbOpenObject(record, recordId, ZcDb::kForRead) != Zcad::eOk) return {};
  std::wstring name = record->name().kwszPtr();
  record->close();
  return name;
}

bool eraseEntity(ZcDbObjectId id) {
  ZcDbEntity* entity = nullptr;
  if (zcdbOpenObject(entity, id, ZcDb::kForWrite) != Zcad::eOk) return false;
  bool erased = entity->erase() == Zcad::eOk;
  entity->close();
  return erased;
}

void rememberContinuation(ZcDbDatabase* db, ZcDbObjectId entity, const Continuation& continuation) {
  if (!db || entity.isNull()) return;
  remembered = Remembered{db, entity.handle(), continuation};
}

std::optional<Continuation> lastContinuation(ZcDbDatabase* db) {
  if (!db || db != remembered.db) return std::nullopt;
  ZcDbObjectId id;
  if (db->getZcDbObjectId(id, /*createIfNotFound=*/false, remembered.handle) != Zcad::eOk)
    return std::nullopt;
  if (!entityEndsAt(id, remembered.continuation.end)) return std::nullopt;
  return remembered.continuation;
}

}  // namespace vtcad::commands::draw
