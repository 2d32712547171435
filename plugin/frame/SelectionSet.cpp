#include "frame/SelectionSet.h"

namespace veltrace {

ObjectIdList selectionSetIds(const zds_name set) {
  ObjectIdList ids;
  Zdesk::Int32 count = 0;
  if (zcedSSLength(set, &count) != RTNORM) return ids;
  ids.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
  for (Zdesk::Int32 i = 0; i < count; ++i) {
    zds_name member = {0, 0};
    ZcDbObjectId id;
    if (zcedSSName(set, i, member) == RTNORM && zcdbGetObjectId(id, member) == Zcad::eOk) ids.push_back(id);
  }
  return ids;
}

}  // namespace veltrace
