#include "frame/FilteredSelection.h"

#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

bool selectFiltered(SelectionSet& set, const MessagePair& prompt, const ResbufChain& filter,
                    const MessagePair& nothingSelected) {
  printBilingual(prompt.chinese, prompt.english);
  Zdesk::Int32 length = 0;
  if (zcedSSGet(/*mode=*/nullptr, /*pt1=*/nullptr, /*pt2=*/nullptr, filter.get(), set.name) != RTNORM ||
      zcedSSLength(set.name, &length) != RTNORM || length == 0) {
    printBilingual(nothingSelected.chinese, nothingSelected.english);
    return false;
  }
  return true;
}

ObjectIdList selectFilteredIds(const MessagePair& prompt, const ResbufChain& filter,
                               const MessagePair& nothingSelected) {
  SelectionSet set;
  if (!selectFiltered(set, prompt, filter, nothingSelected)) return {};
  return selectionSetIds(set.name);
}

}  // namespace veltrace
