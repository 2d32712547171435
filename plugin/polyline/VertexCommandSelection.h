#pragma once
// The selection the divide, reverse and number commands begin with: a prompt in this load's
// language, then the host's "Select objects:" under a filter of entity types. Each command
// says in its own words what went wrong, so the outcome tells a failed selection from an
// empty one and nothing is printed here after the prompt.
#include "frame/Messages.h"
#include "frame/Selection.h"

namespace veltrace {

enum class SelectableKinds {
  kCurves,      // polylines of all three kinds, lines, ellipses, circles, helices, arcs, splines
  kNumberable,  // polylines of all three kinds, splines, lines, arcs, ellipses
};

enum class SelectionOutcome { kSelected, kFailed, kEmpty };

struct TypedSelection {
  SelectionOutcome outcome = SelectionOutcome::kFailed;
  ObjectIdList ids;  // in selection order; empty unless selected
};

TypedSelection selectOfKinds(const MessagePair& prompt, SelectableKinds kinds);

}  // namespace veltrace
