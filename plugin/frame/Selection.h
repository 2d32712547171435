#pragma once
// Selecting the entities a command works on: curves only, or anything. Each prints its
// prompt in this load's language, lets the user select at the host's "Select objects:"
// prompt, and answers the object ids in selection order; an empty list means nothing usable
// was selected, after the "nothing selected" message has been printed once.
#include <vector>

#include "frame/ResbufChain.h"
#include "zcad/db/ZcDbObjectId.h"

namespace veltrace {

using ObjectIdList = std::vector<ZcDbObjectId>;

// Polylines (all three kinds), lines, ellipses, circles, helices, arcs and splines. An empty
// or null prompt takes the default ("\n请选择多根曲线>" / "Please select Curves >\n"). Prints
// "No Curve selected.\n" / "未选中曲线。\n" when the host selects nothing (a selection
// cancelled with Esc included).
ObjectIdList selectCurves(const wchar_t* chinesePrompt, const wchar_t* englishPrompt);
// The type filters of the selections: every entity type whose objects are curves (polylines
// of all three kinds, lines, ellipses, circles, helices, arcs, splines), and polylines only.
// "POLYLINE" takes the old-style 2-D and 3-D kinds.
ResbufChain curveFilter();
ResbufChain polylineFilter();

// Any entity ("\n请选择物体>" / "Please select Entities >\n"; "No Entity selected.\n" /
// "未选中物体。\n").
ObjectIdList selectEntities(const wchar_t* chinesePrompt, const wchar_t* englishPrompt);

}  // namespace veltrace
