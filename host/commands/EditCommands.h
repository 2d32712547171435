#pragma once
// The host's editing and view commands: ERASE, MOVE, COPY, SCALE, ROTATE, MIRROR, ZOOM, PEDIT,
// LIST, PNGOUT (a picture of the view), WMFOUT and WMFIN (metafiles), REGEN and SETVAR, with the command-line
// forms of a desktop CAD host. Each one is a plain function (the command stack calls it without arguments)
// working on the working database through the zced* prompts; the command loop opens the undo group around it.
class ZcEdCommandStack;

// Adds the commands to group "VTCAD" (global name = local name, modal; ZOOM also
// transparent). A command the group already has is left as it is, so calling this twice is
// harmless.
void registerEditCommands(ZcEdCommandStack& stack);

namespace vtcad::commands {

void eraseCommand();
void moveCommand();
void copyCommand();
void scaleCommand();
void rotateCommand();
void mirrorCommand();
void zoomCommand();
void peditCommand();
void listCommand();
void pngoutCommand();
void wmfoutCommand();
void wmfinCommand();
void regenCommand();
void setvarCommand();

}  // namespace vtcad::commands
