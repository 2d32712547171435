#pragma once
// The selection most polyline commands begin with: their prompt in this load's language, then
// the host's "Select objects:" under a filter of entity types, and their own message when
// nothing was selected (a cancelled selection included).
#include "frame/Messages.h"
#include "frame/ResbufChain.h"
#include "frame/SelectionSet.h"

namespace veltrace {

// Fills `set`; false, after `nothingSelected` is printed, when it holds nothing.
bool selectFiltered(SelectionSet& set, const MessagePair& prompt, const ResbufChain& filter,
                    const MessagePair& nothingSelected);

// The same, answering the members in selection order (empty when nothing was selected).
ObjectIdList selectFilteredIds(const MessagePair& prompt, const ResbufChain& filter,
                               const MessagePair& nothingSelected);

}  // namespace veltrace
