// BOUNDARY (and -BOUNDARY, the same on the command line): closed lightweight polylines around
// picked points, made from the visible curves of the current space (docs/boundary.md).
//
// Each pick finds the smallest closed region around the point; its outer ring becomes a
// polyline and, with island detection, so does the outline of every group of curves directly
// inside it. The polylines are added when the picks end with Enter, in the order they were
// found (outer ring first), with the current layer and colour; a cancel adds none. A pick
// outside every closed region says so and the prompt comes again.
//
// Island detection: HPISLANDDETECTIONMODE 0 makes outer rings only; with 1, HPISLANDDETECTION
// 0 (normal) and 1 (outer) both add the region's own islands, 2 (ignore) adds none.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "boundary/ArrangementCache.h"
#include "boundary/BoundaryFinder.h"
#include "commands/DrawCommandSupport.h"
#include "commands/DrawCommands.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/zced.h"

namespace vtcad::commands {

namespace {

using namespace draw;

int shortVariable(const wchar_t* name, int fallback) {
  resbuf value{};
  if (zcedGetVar(name, &value) != RTNORM || value.restype != RTSHORT) return fallback;
  return value.resval.rint;
}

void setShortVariable(const wchar_t* name, int value) {
  resbuf rb{};
  rb.restype = RTSHORT;
  rb.resval.rint = static_cast<short>(value);
  zcedSetVar(name, &rb);
}

boundary::IslandMode islandMode() {
  const bool detect = shortVariable(L"HPISLANDDETECTIONMODE", 1) != 0;
  const bool ignore = shortVariable(L"HPISLANDDETECTION", 1) == 2;
  return detect && !ignore ? boundary::IslandMode::kDetect : boundary::IslandMode::kIgnore;
}

// The Advanced options of the command line: island detection on or off.
void advancedOptions() {
  for (;;) {
    Answer<std::wstring> option =
        getKeyword(L"\nEnter an option [Island detection/eXit] <eXit>: ", {.keywords = L"Island eXit"});
    if (!option.is(L"Island")) return;
    const bool on = shortVariable(L"HPISLANDDETECTIONMODE", 1) != 0;
    Answer<std::wstring> answer = getKeyword(
        std::wstring(L"\nDo you want island detection? [Yes/No] <") + (on ? L"Yes" : L"No") + L">: ",
        {.keywords = L"Yes No"});
    if (answer.isCancel()) return;
    if (answer.is(L"Yes") || answer.is(L"No"))
      setShortVariable(L"HPISLANDDETECTIONMODE", answer.is(L"Yes") ? 1 : 0);
  }
}

std::unique_ptr<ZcDbPolyline> polylineOf(const boundary::Ring& ring) {
  auto polyline = std::make_unique<ZcDbPolyline>(static_cast<unsigned int>(ring.vertices.size()));
  for (unsigned int i = 0; i < ring.vertices.size(); ++i) {
    const boundary::RingVertex& v = ring.vertices[i];
    polyline->addVertexAt(i, v.point, v.bulge, /*startWidth=*/0.0, /*endWidth=*/0.0);
  }
  polyline->setClosed(true);
  return polyline;
}

bool finiteRing(const boundary::Ring& ring) {
  for (const boundary::RingVertex& v : ring.vertices)
    if (!std::isfinite(v.point.x) || !std::isfinite(v.point.y) || !std::isfinite(v.bulge)) return false;
  return true;
}

// From one BOUNDARY to the next (a plug-in calls it once per room of a floor plan).
boundary::ArrangementCache& arrangements() {
  static boundary::ArrangementCache cache;
  return cache;
}

}  // namespace

void boundaryCommand() {
  ZcDbDatabase* db = drawingDatabase();
  if (!db) return;
  // The drawing does not change while the points are picked: one arrangement serves them all.
  const boundary::Arrangement* arrangement = nullptr;
  std::vector<boundary::Ring> rings;
  for (;;) {
    Answer<ZcGePoint3d> pick =
        getPoint(nullptr, L"\nPick internal point or [Advanced options]: ", {.keywords = L"Advanced"});
    if (pick.isCancel()) return;  // nothing was added yet
    if (pick.isNone()) break;
    if (pick.is(L"Advanced")) {
      advancedOptions();
      continue;
    }
    if (!pick.isValue()) continue;
    if (!arrangement) {
      say(L"\nSelecting everything visible...\nAnalyzing the selected data...");
      arrangement = &arrangements().arrangementOf(db->currentSpaceId());
    }
    const boundary::BoundaryResult found =
        boundary::findBoundary(*arrangement, flat(pick.value), islandMode());
    if (found.status != boundary::BoundaryResult::Status::kFound) {
      say(L"\nValid hatch boundary not found.");
      continue;
    }
    for (const boundary::Ring& ring : found.rings)
      if (finiteRing(ring) && ring.vertices.size() >= 2) rings.push_back(ring);
  }

  std::vector<ZcDbObjectId> made;
  for (const boundary::Ring& ring : rings) {
    const ZcDbObjectId id = addEntity(db, polylineOf(ring));
    if (id.isNull()) {
      // All or nothing: the ones added before the failure go again.
      for (const ZcDbObjectId& earlier : made) eraseEntity(earlier);
      return;
    }
    made.push_back(id);
  }
  for (const ZcDbObjectId& id : made) arrangements().noteMade(id);
  say(L"\nBOUNDARY created " + std::to_wstring(made.size()) +
      (made.size() == 1 ? L" polyline" : L" polylines"));
}

}  // namespace vtcad::commands
