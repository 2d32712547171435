#pragma once
// A selection set of the host, freed on every path out, and its members as object ids.
#include "frame/Selection.h"
#include "zcad/zced.h"
#include "zcad/zds.h"

namespace veltrace {

class SelectionSet {
 public:
  SelectionSet() = default;
  ~SelectionSet() { zcedSSFree(name); }  // a set never made is refused harmlessly
  SelectionSet(const SelectionSet&) = delete;
  SelectionSet& operator=(const SelectionSet&) = delete;

  zds_name name = {0, 0};  // filled by zcedSSGet
};

// The members of `set` in selection order; a member whose name cannot be read is left out.
ObjectIdList selectionSetIds(const zds_name set);

}  // namespace veltrace
