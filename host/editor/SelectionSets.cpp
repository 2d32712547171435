#include "editor/SelectionSets.h"

namespace vtcad::editor {

long SelectionSets::create(std::vector<ZcDbObjectId> members) {
  long number = next_++;
  sets_.emplace(number, std::move(members));
  return number;
}

std::vector<ZcDbObjectId>* SelectionSets::find(const zds_name name) {
  if (!name || name[1] != kTag) return nullptr;
  return find(static_cast<long>(name[0]));
}

std::vector<ZcDbObjectId>* SelectionSets::find(long number) {
  auto it = sets_.find(number);
  return it == sets_.end() ? nullptr : &it->second;
}

bool SelectionSets::free(const zds_name name) {
  if (!name || name[1] != kTag) return false;
  return sets_.erase(static_cast<long>(name[0])) > 0;
}

void SelectionSets::nameOf(long number, zds_name name) {
  name[0] = number;
  name[1] = kTag;
}

}  // namespace vtcad::editor
