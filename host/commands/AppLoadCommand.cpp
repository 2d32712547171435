// APPLOAD and APPUNLOAD: one text prompt each, then zcedArxLoad / zcedArxUnload do the work
// and print the outcome, so a plug-in that loads another gets the same behaviour.
#include <string>
#include <string_view>

#include "commands/AppCommands.h"
#include "zcad/zced.h"

namespace {

// Long enough for any Linux path (PATH_MAX), more than the prompts' usual 512.
constexpr size_t kAnswerLength = 4096;

// The answer to a text prompt taken as a whole line, so a path may hold spaces; quotes around
// it (as a file manager copies a path) are dropped. Empty when the user gave nothing or
// cancelled.
std::wstring askLine(const ZTCHAR* prompt) {
  std::wstring answer(kAnswerLength, L'\0');
  if (zcedGetString(/*cronly=*/1, prompt, answer.data(), answer.size()) != RTNORM) return {};
  answer.resize(answer.find(L'\0'));
  std::wstring_view text = answer;
  while (!text.empty() && text.front() == L' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == L' ') text.remove_suffix(1);
  if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') text = text.substr(1, text.size() - 2);
  return std::wstring(text);
}

}  // namespace

namespace vtcad::commands {

void appLoadCommand() {
  std::wstring path = askLine(L"\nPlug-in file to load: ");
  if (path.empty()) return;
  // The outcome is printed; the command itself has nothing more to do either way.
  (void)zcedArxLoad(path.c_str());
}

void appUnloadCommand() {
  std::wstring name = askLine(L"\nApplication to unload: ");
  if (name.empty()) return;
  (void)zcedArxUnload(name.c_str());
}

}  // namespace vtcad::commands

void registerAppCommands(ZcEdCommandStack& stack) {
  // eDuplicateKey when registered before: the command is there, which is all we need.
  (void)stack.addCommand(L"VTCAD", /*cmdGlobalName=*/L"APPLOAD", /*cmdLocalName=*/L"APPLOAD", ZcRx::kCmdModal,
                         &vtcad::commands::appLoadCommand);
  (void)stack.addCommand(L"VTCAD", /*cmdGlobalName=*/L"APPUNLOAD", /*cmdLocalName=*/L"APPUNLOAD",
                         ZcRx::kCmdModal, &vtcad::commands::appUnloadCommand);
}
