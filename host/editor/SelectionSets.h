#pragma once
// The selection sets a command holds (zds_name [0] the set's number, [1] a tag) and the
// previous selection ("P").
#include <map>
#include <vector>

#include "zcad/db/ZcDbObjectId.h"
#include "zcad/zds.h"

namespace vtcad::editor {

class SelectionSets {
 public:
  // Marks names of selection sets, so an entity name is not taken for a set.
  static constexpr Zdesk::LongPtr kTag = 0x5E15E7;

  long create(std::vector<ZcDbObjectId> members);
  // nullptr for a name that is not a live set.
  std::vector<ZcDbObjectId>* find(const zds_name name);
  std::vector<ZcDbObjectId>* find(long number);
  bool free(const zds_name name);
  static void nameOf(long number, zds_name name);
  size_t liveCount() const { return sets_.size(); }

  std::vector<ZcDbObjectId> previous;

 private:
  std::map<long, std::vector<ZcDbObjectId>> sets_;
  long next_ = 1;
};

}  // namespace vtcad::editor
