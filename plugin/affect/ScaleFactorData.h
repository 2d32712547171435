#pragma once
// The total scale factor an entity has been given by the interactive lens, kept in its
// extended data under the application "VELTRACE" as the pair (1000 "ScaleFactor") (1042
// value), so shrinking can stop at a tenth across passes and across runs.
#include "zcad/db/ZcDbEntity.h"

namespace veltrace {

inline constexpr const wchar_t* kScaleFactorApp = L"VELTRACE";
inline constexpr const wchar_t* kScaleFactorKey = L"ScaleFactor";

// The stored factor: the 1042 item right after the first 1000 item "ScaleFactor" (exact case)
// of the application's data. 1.0 when there is none, or for a value below 0.0001 or not
// finite.
double readScaleFactor(const ZcDbEntity& entity);

// Stores `value` (entity open for write): the existing pair's value is replaced, or the pair
// is appended to the application's data, which keeps its other items. Registers the
// application with the drawing first. Answers the host's status; nothing is stored for a
// value that is not finite (eInvalidInput).
Zcad::ErrorStatus writeScaleFactor(ZcDbEntity& entity, double value);

}  // namespace veltrace
