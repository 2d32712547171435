#pragma once
// Hiding entities for a while, so that a picture of the view and the host's boundary search see
// only the entities a command works on, and showing them again afterwards.
#include "frame/Selection.h"

class ZcDbCurve;

namespace veltrace {

// Makes every visible entity of the drawing that is not among `selected` invisible; the ids of
// those it hid. Entities that were invisible already are left out, so showing the list again
// never reveals what the drawing hid itself; entities that cannot be opened stay as they are.
ObjectIdList hideOtherEntities(const ObjectIdList& selected);
// Makes the visible ones among `ids` invisible; the ids of those it hid.
ObjectIdList hideEntities(const ObjectIdList& ids);
// Makes the listed entities visible again and empties the list.
void showEntities(ObjectIdList& hidden);

// The curves that lie wholly inside the closed `curve`: the selection by a window polygon
// through 36 points along it. The curve itself is not among them.
ObjectIdList collectInsideCurves(const ZcDbCurve& curve);

}  // namespace veltrace
