// U, UNDO and REDO: whole commands taken back and brought again. Each command the command
// line runs is one undo group of the drawing; UNDO BEgin/End makes one group of several.
#include <string>

#include "commands/HostCommands.h"
#include "editor/Session.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/zced.h"

namespace vtcad::commands {
namespace {

// The undo count at the last UNDO Mark; Back returns to it.
int markedGroups = -1;

void undoGroups(int count) {
  ZcDbDatabase* db = zcdbCurDwg();
  if (!db) return;
  int available = db->undoGroupCount();
  if (available == 0) {
    zcutPrintf(L"\nNothing to undo.");
    return;
  }
  int taken = count < available ? count : available;
  if (db->undo(taken) != Zcad::eOk) {
    zcutPrintf(L"\nCannot undo.");
    return;
  }
  if (taken == available) {
    zcutPrintf(L"\nEverything has been undone.");
  } else {
    zcutPrintf(L"\n%d command(s) undone.", taken);
  }
}

void uCommand() { undoGroups(1); }

void undoCommand() {
  ZcDbDatabase* db = zcdbCurDwg();
  if (!db) return;
  zcedInitGet(RSG_NOZERO | RSG_NONEG, L"Auto Control BEgin End Mark Back");
  int count = 1;
  int status = zcedGetInt(
      L"\nEnter the number of operations to undo or [Auto/Control/BEgin/End/Mark/Back] <1>: ", &count);
  if (status == RTNONE) count = 1;
  if (status == RTNORM || status == RTNONE) {
    undoGroups(count);
    return;
  }
  if (status != RTKWORD) return;
  ZTCHAR keyword[64] = {};
  zcedGetInput(keyword, 64);
  std::wstring option = keyword;
  if (option == L"BEgin") {
    // Groups nest: the commands until End belong to this one group.
    db->beginUndoGroup(L"UNDO BEgin");
  } else if (option == L"End") {
    if (db->isRecordingUndo()) db->endUndoGroup();
  } else if (option == L"Mark") {
    markedGroups = db->undoGroupCount();
    zcutPrintf(L"\nMark set.");
  } else if (option == L"Back") {
    int back = markedGroups >= 0 ? db->undoGroupCount() - markedGroups : db->undoGroupCount();
    if (back <= 0) {
      zcutPrintf(L"\nNothing to undo back to the mark.");
    } else {
      undoGroups(back);
    }
    markedGroups = -1;
  } else {
    zcutPrintf(L"\nUndo is always on; nothing to set.");
  }
}

void redoCommand() {
  ZcDbDatabase* db = zcdbCurDwg();
  if (!db || db->redoGroupCount() == 0 || db->redo(1) != Zcad::eOk) {
    zcutPrintf(L"\nNothing to redo.");
  }
}

}  // namespace

void registerUndoCommands(ZcEdCommandStack& stack) {
  // Undo commands make no undo group of their own.
  stack.addCommand(kHostGroup, L"U", L"U", ZcRx::kCmdNoUndoMarker, uCommand);
  stack.addCommand(kHostGroup, L"UNDO", L"UNDO", ZcRx::kCmdNoUndoMarker, undoCommand);
  stack.addCommand(kHostGroup, L"REDO", L"REDO", ZcRx::kCmdNoUndoMarker, redoCommand);
}

}  // namespace vtcad::commands
