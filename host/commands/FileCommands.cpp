// SAVE, SAVEAS, QSAVE, OPEN, RECOVER, NEW, SCRIPT and QUIT.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "commands/Document.h"
#include "commands/HostCommands.h"
#include "dxf/DxfText.h"
#include "editor/Session.h"
#include "zcad/zced.h"

namespace vtcad::commands {
namespace {

constexpr size_t kPathLength = 4096;

std::wstring wide(const std::string& text) { return dxf::utf8ToWide(text); }

// The file name typed at a prompt: the whole line, quotes stripped; empty when cancelled.
std::wstring askPath(const std::wstring& prompt) {
  ZTCHAR buffer[kPathLength] = {};
  if (zcedGetString(/*cronly=*/1, prompt.c_str(), buffer, kPathLength) != RTNORM) return {};
  std::wstring path = buffer;
  while (!path.empty() && path.back() == L' ') path.pop_back();
  if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') path = path.substr(1, path.size() - 2);
  return path;
}

void saveTo(const std::filesystem::path& path) {
  Document::SaveResult saved = Document::instance().saveAs(path);
  if (saved.saved) {
    zcutPrintf(L"\nSaved %s.", wide(path.string()).c_str());
  } else {
    zcutPrintf(L"\nCannot save %s: %s", wide(path.string()).c_str(), wide(saved.reason).c_str());
  }
}

void saveAsCommand() {
  const std::filesystem::path current = Document::instance().saveTarget();
  std::wstring prompt =
      Document::instance().recovered() ? L"\nSave the recovered drawing as" : L"\nSave drawing as";
  if (!current.empty()) prompt += L" <" + wide(current.string()) + L">";
  prompt += L": ";
  std::wstring typed = askPath(prompt);
  if (typed.empty()) {
    if (current.empty()) {
      zcutPrintf(L"\nNo file name given; the drawing was not saved.");
      return;
    }
    saveTo(current);
    return;
  }
  std::filesystem::path path(dxf::wideToUtf8(typed));
  if (!path.has_extension()) path += ".dxf";
  saveTo(path);
}

void saveCommand() {
  // A drawing with a file saves there without asking, as QSAVE does.
  const std::filesystem::path current = Document::instance().saveTarget();
  if (current.empty()) {
    saveAsCommand();
  } else {
    saveTo(current);
  }
}

void openCommand() {
  std::wstring typed = askPath(L"\nDrawing to open: ");
  if (typed.empty()) return;
  std::filesystem::path path(dxf::wideToUtf8(typed));
  Document::OpenResult opened = Document::instance().open(path);
  if (!opened.opened) {
    zcutPrintf(L"\nCannot open %s: %s", typed.c_str(), wide(opened.reason).c_str());
    if (opened.damaged) zcutPrintf(L"\nThe file is damaged; RECOVER opens what can be read of it.");
  } else {
    zcutPrintf(L"\nOpened %s.", typed.c_str());
  }
}

// Opens a damaged drawing with what can be read; the audit says what was lost.
void recoverCommand() {
  std::wstring typed = askPath(L"\nDrawing to recover: ");
  if (typed.empty()) return;
  std::filesystem::path path(dxf::wideToUtf8(typed));
  Document::OpenResult opened = Document::instance().open(path, dxf::Recovery::kRecover);
  if (!opened.opened) {
    zcutPrintf(L"\nCannot recover %s: %s", typed.c_str(), wide(opened.reason).c_str());
  } else if (opened.losses > 0) {
    zcutPrintf(L"\nRecovered %s; SAVE asks for a file name.", typed.c_str());
  } else {
    zcutPrintf(L"\nOpened %s; nothing was lost.", typed.c_str());
  }
}

void newCommand() {
  Document::instance().openNew();
  zcutPrintf(L"\nA new drawing is open.");
}

void scriptCommand() {
  std::wstring typed = askPath(L"\nScript file: ");
  if (typed.empty()) return;
  std::ifstream in(dxf::wideToUtf8(typed), std::ios::binary);
  if (!in) {
    zcutPrintf(L"\nCannot open script %s.", typed.c_str());
    return;
  }
  std::ostringstream bytes;
  bytes << in.rdbuf();
  editor::Session::instance().runScript(dxf::utf8ToWide(bytes.str()), typed);
}

void quitCommand() { editor::Session::instance().requestQuit(); }

}  // namespace

void registerFileCommands(ZcEdCommandStack& stack) {
  stack.addCommand(kHostGroup, L"SAVE", L"SAVE", ZcRx::kCmdNoUndoMarker, saveCommand);
  stack.addCommand(kHostGroup, L"QSAVE", L"QSAVE", ZcRx::kCmdNoUndoMarker, saveCommand);
  stack.addCommand(kHostGroup, L"SAVEAS", L"SAVEAS", ZcRx::kCmdNoUndoMarker, saveAsCommand);
  stack.addCommand(kHostGroup, L"OPEN", L"OPEN", ZcRx::kCmdNoUndoMarker, openCommand);
  stack.addCommand(kHostGroup, L"RECOVER", L"RECOVER", ZcRx::kCmdNoUndoMarker, recoverCommand);
  stack.addCommand(kHostGroup, L"NEW", L"NEW", ZcRx::kCmdNoUndoMarker, newCommand);
  stack.addCommand(kHostGroup, L"SCRIPT", L"SCRIPT", ZcRx::kCmdNoUndoMarker, scriptCommand);
  stack.addCommand(kHostGroup, L"QUIT", L"QUIT", ZcRx::kCmdNoUndoMarker, quitCommand);
  stack.addCommand(kHostGroup, L"EXIT", L"EXIT", ZcRx::kCmdNoUndoMarker, quitCommand);
}

}  // namespace vtcad::commands
