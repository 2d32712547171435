// Linetype records and the line settings of the header.
#include "render/LinetypeStyles.h"

#include <cmath>
#include <cwctype>

#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbLinetypeTable.h"
#include "zcad/zds.h"

namespace vtcad::render {
namespace {

bool sameName(const ZTCHAR* name, const wchar_t* upper) {
  if (!name) return false;
  for (; *name && *upper; ++name, ++upper) {
    if (std::towupper(static_cast<wint_t>(*name)) != static_cast<wint_t>(*upper)) return false;
  }
  return *name == 0 && *upper == 0;
}

// The first value of a header variable as a number; `fallback` when the drawing has none.
double headerNumber(const ZcDbDatabase* db, const wchar_t* name, double fallback) {
  resbuf* value = db->getHeaderVar(name);
  double number = fallback;
  if (value) {
    const int code = value->restype;
    if (code >= 10 && code < 60) {
      number = value->resval.rreal;
    } else if ((code >= 60 && code < 80) || (code >= 170 && code < 180) || (code >= 270 && code < 300) ||
               (code >= 370 && code < 390)) {
      number = value->resval.rint;
    } else if (code >= 90 && code < 100) {
      number = value->resval.rlong;
    }
    zcutRelRb(value);
  }
  return std::isfinite(number) ? number : fallback;
}

}  // namespace

const Linetype& LinetypeStyles::of(ZcDbObjectId linetypeId) {
  const auto found = cache_.find(linetypeId);
  if (found != cache_.end()) return found->second;
  Linetype style;
  if (linetypeId.isNull()) {
    style.kind = Linetype::Kind::kByLayer;  // an entity not given one
  } else {
    ZcDbLinetypeTableRecord* record = nullptr;
    if (zcdbOpenObject(record, linetypeId, ZcDb::kForRead) == Zcad::eOk) {
      const ZTCHAR* name = nullptr;
      record->getName(name);
      if (sameName(name, L"BYLAYER")) {
        style.kind = Linetype::Kind::kByLayer;
      } else if (sameName(name, L"BYBLOCK")) {
        style.kind = Linetype::Kind::kByBlock;
      } else {
        double length = 0.0;
        bool draws = false;
        for (int i = 0; i < record->numDashes(); ++i) {
          const double dash = record->dashLengthAt(i);
          if (!std::isfinite(dash)) continue;
          style.dashes.push_back(dash);
          length += std::fabs(dash);
          draws = draws || dash >= 0.0;
        }
        // Only gaps, or nothing at all: nothing to space out, drawn continuous.
        if (length > 0.0 && draws) {
          style.kind = Linetype::Kind::kDashed;
          style.length = length;
        } else {
          style.dashes.clear();
        }
      }
      record->close();
    }
  }
  return cache_.emplace(linetypeId, std::move(style)).first->second;
}

LineSettings lineSettingsOf(const ZcDbDatabase* db) {
  LineSettings settings;
  if (!db) return settings;
  const double ltscale = headerNumber(db, L"LTSCALE", 1.0);
  if (ltscale > 0.0) settings.ltscale = ltscale;
  settings.lwdisplay = headerNumber(db, L"LWDISPLAY", 0.0) != 0.0;
  const double lwdefault = headerNumber(db, L"LWDEFAULT", 25.0);
  if (lwdefault >= 0.0 && lwdefault <= 211.0) settings.lwdefault = static_cast<int>(lwdefault);
  return settings;
}

double lineweightPixels(ZcDb::LineWeight weight, const LineSettings& settings) {
  if (!settings.lwdisplay) return 0.0;
  const int hundredths = weight == ZcDb::kLnWtByLwDefault ? settings.lwdefault : static_cast<int>(weight);
  if (hundredths <= 0) return 0.0;
  return hundredths / 100.0 * kLineweightPixelsPerMm;
}

}  // namespace vtcad::render
