#include "commands/EditCommandSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <cwctype>

#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/ge/ZcGe.h"
#include "zcad/zced.h"

namespace vtcad::commands {
namespace {

bool isLayerLocked(ZcDbObjectId layerId) {
  ZcDbLayerTableRecord* layer = nullptr;
  if (zcdbOpenObject(layer, layerId, ZcDb::kForRead) != Zcad::eOk) return false;
  const bool locked = layer->isLocked();
  layer->close();
  return locked;
}

// A variable's value, or false; a string value (not wanted here) is freed.
bool readVariable(const ZTCHAR* name, resbuf& value) {
  value = resbuf{};
  if (zcedGetVar(name, &value) != RTNORM) return false;
  if (value.restype == RTSTR) {
    free(value.resval.rstring);
    return false;
  }
  return true;
}

}  // namespace

int shortVariable(const ZTCHAR* name, int fallback) {
  resbuf value{};
  return readVariable(name, value) && value.restype == RTSHORT ? value.resval.rint : fallback;
}

double realVariable(const ZTCHAR* name, double fallback) {
  resbuf value{};
  return readVariable(name, value) && value.restype == RTREAL ? value.resval.rreal : fallback;
}

ZcGePoint3d fromZds(const zds_point point) { return {point[0], point[1], point[2]}; }

void toZds(const ZcGePoint3d& point, zds_point out) {
  out[0] = point.x;
  out[1] = point.y;
  out[2] = point.z;
}

std::vector<ZcDbObjectId> selectionSetIds(const zds_name set) {
  std::vector<ZcDbObjectId> ids;
  Zdesk::Int32 length = 0;
  if (zcedSSLength(set, &length) != RTNORM) return ids;
  ids.reserve(static_cast<std::size_t>(std::max(length, 0)));
  for (Zdesk::Int32 i = 0; i < length; ++i) {
    zds_name name{};
    ZcDbObjectId id;
    if (zcedSSName(set, i, name) != RTNORM || zcdbGetObjectId(id, name) != Zcad::eOk) continue;
    // Only live entities: a set made earlier (Previous) may name objects erased since.
    const ZcRxClass* cls = id.objectClass();
    if (!cls || !cls->isDerivedFrom(ZcDbEntity::desc()) || id.isErased()) continue;
    if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
  }
  return ids;
}

void dropEntitiesOnLockedLayers(std::vector<ZcDbObjectId>& ids) {
  std::size_t locked = 0;
  std::erase_if(ids, [&locked](ZcDbObjectId id) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) return false;
    const ZcDbObjectId layerId = entity->layerId();
    entity->close();
    if (!isLayerLocked(layerId)) return false;
    ++locked;
    return true;
  });
  if (locked == 1) print(L"1 was on a locked layer.\n");
  if (locked > 1) print(std::to_wstring(locked) + L" were on a locked layer.\n");
}

bool selectEntities(std::vector<ZcDbObjectId>& ids, SelectFor purpose) {
  ids.clear();
  zds_name set{};
  if (zcedSSGet(/*mode=*/nullptr, /*pt1=*/nullptr, /*pt2=*/nullptr, /*filter=*/nullptr, set) != RTNORM) {
    return false;
  }
  ids = selectionSetIds(set);
  zcedSSFree(set);
  if (purpose == SelectFor::kChanging) dropEntitiesOnLockedLayers(ids);
  return !ids.empty();
}

bool keywordIs(std::wstring_view typed, std::wstring_view keyword) {
  if (!typed.empty() && typed.front() == L'_') typed.remove_prefix(1);
  if (typed.empty() || typed.size() > keyword.size()) return false;
  const auto sameLetter = [](wchar_t a, wchar_t b) { return std::towupper(a) == std::towupper(b); };
  if (std::equal(typed.begin(), typed.end(), keyword.begin(), sameLetter)) {
    // A prefix: long enough when it covers the leading capitals ("LT" of "LType").
    std::size_t leadingCapitals = 0;
    while (leadingCapitals < keyword.size() && std::iswupper(keyword[leadingCapitals])) ++leadingCapitals;
    if (typed.size() == keyword.size() || (leadingCapitals > 0 && typed.size() >= leadingCapitals))
      return true;
  }
  // Capitals inside the word ("eXit", "mOde") are the abbreviation by themselves.
  std::wstring capitals;
  for (wchar_t c : keyword)
    if (std::iswupper(c)) capitals.push_back(c);
  return !capitals.empty() && typed.size() == capitals.size() &&
         std::equal(typed.begin(), typed.end(), capitals.begin(), sameLetter);
}

std::wstring lastKeyword() {
  ZTCHAR text[512] = {};
  if (zcedGetInput(text, sizeof text / sizeof text[0]) != RTNORM) return {};
  return text;
}

void print(std::wstring_view text) {
  const std::wstring copy(text);
  zcedPrompt(copy.c_str());
}

std::wstring formatReal(double value, int decimals) {
  decimals = std::clamp(decimals, 0, 8);
  if (!std::isfinite(value)) return L"?";
  wchar_t buffer[64] = {};
  std::swprintf(buffer, sizeof buffer / sizeof buffer[0], L"%.*f", decimals, value);
  std::wstring text = buffer;
  // A tiny negative value rounds to "-0.0000": show it as zero.
  if (text.front() == L'-' && text.find_first_not_of(L"-0.") == std::wstring::npos) text.erase(0, 1);
  return text;
}

std::wstring formatReal(double value) { return formatReal(value, shortVariable(L"LUPREC", /*fallback=*/4)); }

std::wstring formatAngle(double radians) {
  const int decimals = shortVariable(L"AUPREC", /*fallback=*/0);
  double degrees = std::fmod(radians * 180.0 / ZcGe::kPi, 360.0);
  if (degrees < 0.0) degrees += 360.0;
  std::wstring text = formatReal(degrees, decimals);
  // 359.9999... rounds up to a full turn: show the start of the next one.
  if (text == formatReal(360.0, decimals)) text = formatReal(0.0, decimals);
  return text;
}

std::wstring formatPoint(const ZcGePoint3d& point) {
  return L"X=" + formatReal(point.x) + L"  Y=" + formatReal(point.y) + L"  Z=" + formatReal(point.z);
}

std::wstring countOf(std::size_t count, std::wstring_view singular, std::wstring_view plural) {
  return std::to_wstring(count) + L" " + std::wstring(count == 1 ? singular : plural);
}

EditCount transformEntities(const std::vector<ZcDbObjectId>& ids, const ZcGeMatrix3d& xform) {
  EditCount count;
  for (ZcDbObjectId id : ids) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForWrite) != Zcad::eOk) {
      ++count.refused;
      continue;
    }
    if (entity->transformBy(xform) == Zcad::eOk) {
      entity->close();
      ++count.done;
    } else {
      // A refused transform leaves the entity as it was; cancel also drops a half-made change.
      entity->cancel();
      ++count.refused;
    }
  }
  return count;
}

EditCount copyEntities(const std::vector<ZcDbObjectId>& ids, const ZcGeMatrix3d& xform,
                       std::vector<ZcDbObjectId>* copies) {
  EditCount count;
  for (ZcDbObjectId id : ids) {
    ZcDbEntity* source = nullptr;
    if (zcdbOpenObject(source, id, ZcDb::kForRead) != Zcad::eOk) {
      ++count.refused;
      continue;
    }
    ZcDbEntity* copy = nullptr;
    const Zcad::ErrorStatus made = source->getTransformedCopy(xform, copy);
    const ZcDbObjectId ownerId = source->ownerId();
    source->close();
    if (made != Zcad::eOk || !copy) {
      delete copy;
      ++count.refused;
      continue;
    }
    ZcDbBlockTableRecord* block = nullptr;
    ZcDbObjectId copyId;
    if (zcdbOpenObject(block, ownerId, ZcDb::kForWrite) != Zcad::eOk) {
      delete copy;
      ++count.refused;
      continue;
    }
    const Zcad::ErrorStatus appended = block->appendZcDbEntity(copyId, copy);
    block->close();
    if (appended != Zcad::eOk) {
      delete copy;
      ++count.refused;
      continue;
    }
    copy->close();
    if (copies) copies->push_back(copyId);
    ++count.done;
  }
  return count;
}

EditCount eraseEntities(const std::vector<ZcDbObjectId>& ids) {
  EditCount count;
  for (ZcDbObjectId id : ids) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForWrite) != Zcad::eOk) {
      ++count.refused;
      continue;
    }
    if (entity->erase() == Zcad::eOk) {
      ++count.done;
    } else {
      ++count.refused;
    }
    entity->close();
  }
  return count;
}

void reportRefused(int refused, std::wstring_view pastParticiple) {
  if (refused <= 0) return;
  print(countOf(static_cast<std::size_t>(refused), L"object", L"objects") + L" could not be " +
        std::wstring(pastParticiple) + L".\n");
}

bool askDisplacement(ZcGeVector3d& displacement) {
  // Remembered for the whole session, as the default of the next MOVE or COPY.
  static ZcGeVector3d lastDisplacement;
  const std::wstring prompt = L"Specify displacement <" + formatReal(lastDisplacement.x) + L", " +
                              formatReal(lastDisplacement.y) + L", " + formatReal(lastDisplacement.z) +
                              L">: ";
  zds_point answer{};
  switch (zcedGetPoint(/*pt=*/nullptr, prompt.c_str(), answer)) {
    case RTNORM:
      lastDisplacement = fromZds(answer) - ZcGePoint3d::kOrigin;
      break;
    case RTNONE:
      break;
    default:
      return false;
  }
  displacement = lastDisplacement;
  return true;
}

ZcDbDatabase* workingDrawing() {
  ZcDbDatabase* db = zcdbHostApplicationServices()->workingDatabase();
  if (!db) print(L"No drawing is open.\n");
  return db;
}

}  // namespace vtcad::commands
