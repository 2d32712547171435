#pragma once
// Picking one lightweight polyline: the morphing commands work on exactly one polyline per
// prompt, chosen with a single pick.
#include <optional>

#include "zcad/db/ZcDbObjectId.h"

namespace veltrace {

// Prints the prompt, lets the user pick one entity that must be a lightweight polyline, and
// answers its id; the null id (after "No LWPOLYLINE selected.\n") when nothing usable was
// picked or the pick was cancelled.
ZcDbObjectId pickOneLwPolyline(const wchar_t* chinesePrompt, const wchar_t* englishPrompt);

// The first and the second polyline of a morphing command, picked one after the other.
// nullopt, after "\nSelected nothing.", when the first pick gives none. The second id may be
// null: its pick has said why, and reading the pair refuses it.
struct LwPolylinePicks {
  ZcDbObjectId first;
  ZcDbObjectId second;
};
std::optional<LwPolylinePicks> pickFirstAndSecondLwPolyline();

}  // namespace veltrace
