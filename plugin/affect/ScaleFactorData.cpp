#include "affect/ScaleFactorData.h"

#include <cmath>
#include <cwchar>

#include "frame/ResbufChain.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/zds.h"

namespace veltrace {

namespace {

constexpr short kStringGroup = 1000;
constexpr short kRealGroup = 1042;
constexpr short kAppGroup = 1001;
// Stored factors below this are taken as no factor at all.
constexpr double kFactorTolerance = 0.0001;

bool isKeyItem(const resbuf* rb) {
  return rb->restype == kStringGroup && rb->resval.rstring &&
         std::wcscmp(rb->resval.rstring, kScaleFactorKey) == 0;
}

// The first key item of the application's chain, or null.
resbuf* keyItem(resbuf* chain) {
  for (resbuf* rb = chain; rb; rb = rb->rbnext) {
    if (isKeyItem(rb)) return rb;
  }
  return nullptr;
}

// The value item right after the first key, or null.
resbuf* valueItem(resbuf* chain) {
  resbuf* key = keyItem(chain);
  return key && key->rbnext && key->rbnext->restype == kRealGroup ? key->rbnext : nullptr;
}

}  // namespace

double readScaleFactor(const ZcDbEntity& entity) {
  const ResbufChain chain(entity.xData(kScaleFactorApp));
  const resbuf* value = valueItem(chain.get());
  if (!value || !std::isfinite(value->resval.rreal) || value->resval.rreal < kFactorTolerance) return 1.0;
  return value->resval.rreal;
}

Zcad::ErrorStatus writeScaleFactor(ZcDbEntity& entity, double value) {
  if (!std::isfinite(value)) return Zcad::eInvalidInput;
  ResbufChain chain(entity.xData(kScaleFactorApp));
  if (!chain) {
    if (zcdbRegApp(kScaleFactorApp) != RTNORM) return Zcad::eInvalidInput;
    chain.reset(zcutBuildList(kAppGroup, kScaleFactorApp, 0));
    if (!chain) return Zcad::eOutOfMemory;
  }
  if (resbuf* item = valueItem(chain.get())) {
    item->resval.rreal = value;
  } else if (resbuf* key = keyItem(chain.get())) {
    // A key without its value item gets one, so that reading finds it.
    resbuf* item = zcutNewRb(kRealGroup);
    if (!item) return Zcad::eOutOfMemory;
    item->resval.rreal = value;
    item->rbnext = key->rbnext;
    key->rbnext = item;
  } else {
    resbuf* last = chain.get();
    while (last->rbnext) last = last->rbnext;
    last->rbnext = zcutBuildList(kStringGroup, kScaleFactorKey, kRealGroup, value, 0);
    if (!last->rbnext) return Zcad::eOutOfMemory;
  }
  return entity.setXData(chain.get());
}

}  // namespace veltrace
