#pragma once
// The host's drawing commands: LINE, PLINE, CIRCLE, ARC, ELLIPSE, SPLINE, POINT, TEXT, 3DPOLY,
// INSERT and BOUNDARY (-BOUNDARY), with the command-line forms of a desktop CAD host. Each one
// is a plain function (the command stack calls it without arguments) that asks for its input
// through the zced* prompts and adds its entities to the current space of the working
// database; the command loop opens the undo group around it, so U takes a whole command back.
//
// Coordinates: points from the prompts are taken as world coordinates (the host has no user
// coordinate systems yet); planar objects are drawn parallel to the XY plane at the height
// of their first point (a three-point circle lies in the plane of its points).
#include "zcad/ed/ZcEdCommandStack.h"

// Adds the commands to group "VTCAD" (global name = local name, modal). A command the group
// already has is left as it is, so calling this twice is harmless.
void registerDrawCommands(ZcEdCommandStack& stack);

namespace vtcad::commands {

void lineCommand();
void plineCommand();
void circleCommand();
void arcCommand();
void ellipseCommand();
void splineCommand();
void pointCommand();
void textCommand();
void poly3dCommand();
void insertCommand();
void boundaryCommand();

}  // namespace vtcad::commands
