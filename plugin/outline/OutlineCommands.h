#pragma once
// The outline commands: the inner offsets of every area a group of entities encloses
// (INOFFSET), and the outer outline of a group (makeOutline).
namespace veltrace {

void inoffsetCommand();
void makeOutlineCommand();

}  // namespace veltrace
