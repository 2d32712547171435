#pragma once
// The influence commands: PLAFFECT (influence curves push, turn and shrink entities or bend
// curves), plAffectMoveX (a vertical curve shifts entities sideways), plAffClick (a red lens
// moved about the drawing shrinks or enlarges what lies near it).
namespace veltrace {

void plaffectCommand();
void plAffectMoveXCommand();
void plAffClickCommand();

}  // namespace veltrace
