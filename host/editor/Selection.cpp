// Selection sets of the command line: zcedSSGet with its modes and the interactive
// "Select objects:" loop, and the set functions (zcedSSLength, zcedSSName, ...).
#include <algorithm>
#include <cwctype>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "editor/EntityAtPoint.h"
#include "editor/EntityPick.h"
#include "editor/InputParsing.h"
#include "editor/SelectableEntities.h"
#include "editor/SelectionFilter.h"
#include "editor/SelectionSets.h"
#include "editor/Session.h"
#include "editor/WaitingPrompt.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/zced.h"

using vtcad::editor::InputItem;
using vtcad::editor::Session;

namespace {

using Ids = std::vector<ZcDbObjectId>;

std::wstring upper(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return out;
}

void say(const std::wstring& text) { Session::instance().print(text); }

// Entities that pass the filter (all of them without one).
Ids filtered(const Ids& ids, const resbuf* filter) {
  if (!filter) return ids;
  Ids kept;
  for (const ZcDbObjectId& id : ids) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) continue;
    if (vtcad::editor::evaluateFilter(filter, *entity) == vtcad::editor::FilterResult::kMatch)
      kept.push_back(id);
    entity->close();
  }
  return kept;
}

Ids allEntities(ZcDbDatabase& db) {
  Ids ids;
  for (const auto& entity : vtcad::editor::selectableEntities(db)) ids.push_back(entity.id);
  return ids;
}

Ids lastEntity(ZcDbDatabase& db) {
  // The last entity drawn that may be selected, off layers excepted.
  auto entities = vtcad::editor::selectableEntities(db);
  for (auto it = entities.rbegin(); it != entities.rend(); ++it) {
    if (!it->onOffLayer) return Ids{it->id};
  }
  return {};
}

Ids previousSet() {
  Ids ids;
  for (const ZcDbObjectId& id : Session::instance().selectionSets().previous) {
    if (id.isValid() && !id.isErased()) ids.push_back(id);
  }
  return ids;
}

vtcad::editor::WindowMode windowMode(bool crossing) {
  return crossing ? vtcad::editor::WindowMode::kCrossing : vtcad::editor::WindowMode::kWindow;
}

// Curves are followed to about a pixel of the current view.
double chordTolerance() { return vtcad::editor::pixelSize(); }

Ids window(ZcDbDatabase& db, const ZcGePoint3d& a, const ZcGePoint3d& b, bool crossing) {
  return vtcad::editor::entitiesInWindow(db, ZcGePoint2d(a.x, a.y), ZcGePoint2d(b.x, b.y),
                                         windowMode(crossing), chordTolerance());
}

Ids polygon(ZcDbDatabase& db, const std::vector<ZcGePoint3d>& points, bool crossing) {
  std::vector<ZcGePoint2d> flat;
  for (const ZcGePoint3d& p : points) flat.emplace_back(p.x, p.y);
  return vtcad::editor::entitiesInPolygon(db, flat, windowMode(crossing), chordTolerance());
}

int finish(Ids members, zds_name ss) {
  if (members.empty()) return RTERROR;
  auto& sets = Session::instance().selectionSets();
  sets.previous = members;
  long number = sets.create(std::move(members));
  vtcad::editor::SelectionSets::nameOf(number, ss);
  return RTNORM;
}

std::optional<ZcGePoint3d> askPoint(const wchar_t* prompt, const ZcGePoint3d* base, bool allowEmpty,
                                    int& status) {
  zds_point result{};
  zds_point from{};
  if (base) {
    from[0] = base->x;
    from[1] = base->y;
    from[2] = base->z;
  }
  zcedInitGet(allowEmpty ? 0 : RSG_NONULL, nullptr);
  status = base ? zcedGetCorner(from, prompt, result) : zcedGetPoint(nullptr, prompt, result);
  if (status != RTNORM) return std::nullopt;
  return ZcGePoint3d(result[0], result[1], result[2]);
}

// The points of a WP/CP polygon, ended by an empty input.
std::optional<std::vector<ZcGePoint3d>> askPolygon(int& status) {
  std::vector<ZcGePoint3d> points;
  auto first = askPoint(L"\nFirst polygon point: ", nullptr, false, status);
  if (!first) return std::nullopt;
  points.push_back(*first);
  for (;;) {
    zcedInitGet(0, L"Undo");
    zds_point result{};
    status = zcedGetPoint(nullptr, L"\nSpecify endpoint of line or [Undo]: ", result);
    if (status == RTNONE) break;
    if (status == RTKWORD) {
      if (points.size() > 1) points.pop_back();
      continue;
    }
    if (status != RTNORM) return std::nullopt;
    points.emplace_back(result[0], result[1], result[2]);
  }
  status = RTNORM;
  return points;
}

// Adds or removes `found` (after the filter), and says what happened as a CAD host does.
void apply(Ids& members, const Ids& found, const resbuf* filter, bool removing) {
  Ids kept = filtered(found, filter);
  size_t filteredOut = found.size() - kept.size();
  size_t changed = 0, duplicates = 0;
  // Membership through a hash set: selecting ALL of a large drawing stays linear.
  std::unordered_set<ZcDbObjectId> present(members.begin(), members.end());
  if (removing) {
    std::unordered_set<ZcDbObjectId> gone;
    for (const ZcDbObjectId& id : kept) {
      if (present.count(id) && gone.insert(id).second) ++changed;
    }
    if (!gone.empty()) std::erase_if(members, [&gone](const ZcDbObjectId& id) { return gone.count(id) > 0; });
  } else {
    for (const ZcDbObjectId& id : kept) {
      if (present.insert(id).second) {
        members.push_back(id);
        ++changed;
      } else {
        ++duplicates;
      }
    }
  }
  std::wstring text = L"\n" + std::to_wstring(found.size()) + L" found";
  if (removing) {
    text += L", " + std::to_wstring(changed) + L" removed, " + std::to_wstring(members.size()) + L" total";
  } else if (members.size() != changed) {
    text += L", " + std::to_wstring(members.size()) + L" total";
  }
  if (duplicates) text += L" (" + std::to_wstring(duplicates) + L" duplicate)";
  if (filteredOut)
    text += L"\n" + std::to_wstring(filteredOut) +
            (filteredOut == 1 ? L" was filtered out." : L" were filtered out.");
  say(text);
}

// "Select objects:" until an empty input; `single` ends after the first input that found
// something.
int selectInteractive(ZcDbDatabase& db, const resbuf* filter, bool single, zds_name ss) {
  Session& session = Session::instance();
  Ids members;
  bool removing = false;
  vtcad::editor::WaitingPrompt waiting;
  waiting.wants = vtcad::editor::WaitingPrompt::Wants::kSelection;
  waiting.selected = &members;
  const vtcad::editor::WaitingPromptScope selecting(waiting);
  for (;;) {
    InputItem item = session.read(removing ? L"\nRemove objects: " : L"\nSelect objects: ");
    if (item.cancelled()) return RTCAN;
    if (item.kind == InputItem::Kind::kEmpty) break;
    std::optional<Ids> found;
    int status = RTNORM;
    if (item.kind == InputItem::Kind::kEntity) {
      if (item.entity.isValid() && !item.entity.isErased()) found = Ids{item.entity};
    } else if (item.kind == InputItem::Kind::kSelection) {
      if (auto* set = session.selectionSets().find(item.selection)) found = *set;
    } else if (item.kind == InputItem::Kind::kText && !vtcad::editor::handleReference(item.text) &&
               !vtcad::editor::parsePoint(item.text, ZcGePoint3d())) {
      std::wstring word = upper(item.text);
      if (!word.empty() && word.front() == L'_') word.erase(0, 1);
      if (word == L"W" || word == L"WINDOW" || word == L"C" || word == L"CROSSING") {
        auto first = askPoint(L"\nSpecify first corner: ", nullptr, false, status);
        auto second = first ? askPoint(L"\nSpecify opposite corner: ", &*first, false, status) : std::nullopt;
        if (!second) return RTCAN;
        found = window(db, *first, *second, word.front() == L'C');
      } else if (word == L"WP" || word == L"WPOLYGON" || word == L"CP" || word == L"CPOLYGON") {
        auto points = askPolygon(status);
        if (!points) return RTCAN;
        found = polygon(db, *points, word.front() == L'C');
      } else if (word == L"ALL") {
        found = allEntities(db);
      } else if (word == L"L" || word == L"LAST") {
        found = lastEntity(db);
      } else if (word == L"P" || word == L"PREVIOUS") {
        found = previousSet();
      } else if (word == L"R" || word == L"REMOVE") {
        removing = true;
        continue;
      } else if (word == L"A" || word == L"ADD") {
        removing = false;
        continue;
      } else {
        say(L"\n*Invalid selection*\nExpects a point or "
            L"Window/Crossing/WPolygon/CPolygon/ALL/Last/Previous/Add/Remove");
        continue;
      }
    } else {
      // A point: the entity under it, or else the first corner of a window (left to right)
      // or crossing window (right to left).
      vtcad::editor::EntityAt at = vtcad::editor::entityAtInput(item, ZcGePoint3d());
      if (at.status == vtcad::editor::EntityAtStatus::kFound) {
        found = Ids{at.id};
      } else if (at.status == vtcad::editor::EntityAtStatus::kNothingThere &&
                 !(item.kind == InputItem::Kind::kText && vtcad::editor::handleReference(item.text))) {
        auto second = askPoint(L"\nSpecify opposite corner: ", &at.point, false, status);
        if (!second) return RTCAN;
        found = window(db, at.point, *second, second->x < at.point.x);
      } else if (at.status == vtcad::editor::EntityAtStatus::kNothingThere) {
        found = Ids{};
      } else {
        say(L"\n*Invalid selection*");
        continue;
      }
    }
    if (!found) found = Ids{};
    apply(members, *found, filter, removing);
    if (single && !members.empty()) break;
  }
  return finish(std::move(members), ss);
}

std::vector<ZcGePoint3d> pointList(const void* chain) {
  std::vector<ZcGePoint3d> points;
  for (auto* rb = static_cast<const resbuf*>(chain); rb; rb = rb->rbnext) {
    if (rb->restype == RTPOINT) points.emplace_back(rb->resval.rpoint[0], rb->resval.rpoint[1], 0.0);
    if (rb->restype == RT3DPOINT)
      points.emplace_back(rb->resval.rpoint[0], rb->resval.rpoint[1], rb->resval.rpoint[2]);
  }
  return points;
}

ZcGePoint3d pointAt(const void* p) {
  auto* c = static_cast<const double*>(p);
  return ZcGePoint3d(c[0], c[1], c[2]);
}

}  // namespace

int zcedSSGet(const ZTCHAR* mode, const void* pt1, const void* pt2, const resbuf* filter, zds_name ss) {
  if (!ss) return RTERROR;
  ss[0] = ss[1] = 0;
  ZcDbDatabase* db = zcdbCurDwg();
  if (!db) return RTERROR;
  if (filter && vtcad::editor::checkFilter(filter) != vtcad::editor::FilterShape::kWellFormed) {
    say(L"\nThe selection filter is malformed.");
    return RTERROR;
  }
  std::wstring word = mode ? upper(mode) : std::wstring();
  if (!word.empty() && word.front() == L'_') word.erase(0, 1);
  if (word.empty()) return selectInteractive(*db, filter, /*single=*/false, ss);
  if (word.rfind(L":S", 0) == 0) return selectInteractive(*db, filter, /*single=*/true, ss);
  Ids found;
  if (word == L"W" || word == L"C") {
    if (!pt1 || !pt2) return RTERROR;
    found = window(*db, pointAt(pt1), pointAt(pt2), word == L"C");
  } else if (word == L"WP" || word == L"CP") {
    found = polygon(*db, pointList(pt1), word == L"CP");
  } else if (word == L"X" || word == L"ALL" || word == L"A") {
    found = allEntities(*db);
  } else if (word == L"L") {
    found = lastEntity(*db);
  } else if (word == L"P") {
    found = previousSet();
  } else if (word == L"I") {
    found = {};  // no implied selection without grips
  } else {
    return RTERROR;
  }
  return finish(filtered(found, filter), ss);
}

int zcedSSLength(const zds_name ss, Zdesk::Int32* len) {
  auto* set = Session::instance().selectionSets().find(ss);
  if (!set || !len) return RTERROR;
  *len = static_cast<Zdesk::Int32>(set->size());
  return RTNORM;
}

int zcedSSName(const zds_name ss, Zdesk::Int32 i, zds_name entres) {
  auto* set = Session::instance().selectionSets().find(ss);
  if (!set || !entres || i < 0 || static_cast<size_t>(i) >= set->size()) return RTERROR;
  zcdbGetZdsName(*reinterpret_cast<zds_name*>(entres), (*set)[static_cast<size_t>(i)]);
  return RTNORM;
}

int zcedSSAdd(const zds_name ename, const zds_name sname, zds_name result) {
  if (!result) return RTERROR;
  auto& sets = Session::instance().selectionSets();
  ZcDbObjectId id;
  bool hasEntity = ename && ename[0] != 0 && zcdbGetObjectId(id, ename) == Zcad::eOk;
  Ids* set = (sname && sname[0] != 0) ? sets.find(sname) : nullptr;
  if (sname && sname[0] != 0 && !set) return RTERROR;
  if (set) {
    if (hasEntity && std::find(set->begin(), set->end(), id) == set->end()) set->push_back(id);
    result[0] = sname[0];
    result[1] = sname[1];
    return RTNORM;
  }
  long number = sets.create(hasEntity ? Ids{id} : Ids{});
  vtcad::editor::SelectionSets::nameOf(number, result);
  return RTNORM;
}

int zcedSSDel(const zds_name ename, const zds_name ss) {
  Ids* set = Session::instance().selectionSets().find(ss);
  ZcDbObjectId id;
  if (!set || zcdbGetObjectId(id, ename) != Zcad::eOk) return RTERROR;
  auto at = std::find(set->begin(), set->end(), id);
  if (at == set->end()) return RTERROR;
  set->erase(at);
  return RTNORM;
}

int zcedSSFree(const zds_name sname) {
  return Session::instance().selectionSets().free(sname) ? RTNORM : RTERROR;
}

int zcedSSMemb(const zds_name ename, const zds_name ss) {
  Ids* set = Session::instance().selectionSets().find(ss);
  ZcDbObjectId id;
  if (!set || zcdbGetObjectId(id, ename) != Zcad::eOk) return RTERROR;
  return std::find(set->begin(), set->end(), id) != set->end() ? RTNORM : RTERROR;
}
