#include "editor/Session.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <utility>

#include "dxf/DxfText.h"
#include "editor/CommandStack.h"
#include "editor/InputReader.h"
#include "editor/InputSource.h"
#include "editor/ProgressMeter.h"
#include "editor/SelectionSets.h"
#include "editor/SystemVariables.h"
#include "editor/ValueText.h"
#include "editor/WaitingPrompt.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/zced.h"

namespace vtcad::editor {

namespace {

// After this many reads past the end of all input inside one command, the command is
// looping on a cancelled prompt; the script must not hang on it.
constexpr int kReadsPastEndLimit = 10000;

std::wstring upper(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return out;
}

short sysVarShort(const wchar_t* name, short fallback) {
  resbuf value{};
  if (zcedGetVar(name, &value) != RTNORM || value.restype != RTSHORT) return fallback;
  return value.resval.rint;
}

// Set from a signal handler (Ctrl+C in the interactive command line): only a flag may be.
volatile std::sig_atomic_t interruptSignalled = 0;

}  // namespace

void Session::interruptFromSignal() { interruptSignalled = 1; }
bool Session::interruptPending() { return interruptSignalled != 0; }
void Session::clearInterrupt() { interruptSignalled = 0; }

struct Session::Impl {
  OutputSink sink;
  InputReader reader;
  SelectionSets sets;
  InitGet initGet;
  // Transcript layout: an input was just echoed (the next text needs a new line first), or the
  // user just pressed Enter at a terminal (the cursor stands at the start of a line).
  enum class After { kText, kEcho, kTerminalInput } after = After::kText;
  bool lastWasNewline = true;
  // A refusal was printed: the next prompt goes on a fresh line.
  bool promptOnFreshLine = false;
  bool userBreak = false;
  int commandDepth = 0;
  int argumentCommandDepth = 0;  // commands run from zcedCommand arguments (CMDECHO applies)
  int readsPastEnd = 0;
  long long cancelledReads = 0;
  std::wstring lastCommand;
  bool quit = false;
};

Session& Session::instance() {
  static Session* session = new Session;  // plug-ins may print while the process ends
  return *session;
}

Session::Session() : impl_(std::make_unique<Impl>()) {
  impl_->sink = [](std::string_view utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
  };
}

Session::~Session() = default;

void Session::setOutput(OutputSink sink) { impl_->sink = std::move(sink); }

void Session::print(std::wstring_view text) {
  if (text.empty()) return;
  if (quietNow()) return;
  std::wstring out;
  switch (impl_->after) {
    case Impl::After::kEcho:
      if (text.front() != L'\n') out.push_back(L'\n');
      break;
    case Impl::After::kTerminalInput:
      if (text.front() == L'\n') text.remove_prefix(1);
      break;
    case Impl::After::kText:
      break;
  }
  impl_->after = Impl::After::kText;
  out.append(text);
  if (out.empty()) return;
  impl_->lastWasNewline = out.back() == L'\n';
  impl_->sink(vtcad::dxf::wideToUtf8(out));
}

void Session::printRefusal(std::wstring_view text) {
  print(text);
  impl_->promptOnFreshLine = true;
}

bool Session::quietNow() const {
  // Commands run by zcedCommand with CMDECHO 0 neither prompt nor report.
  return impl_->argumentCommandDepth > 0 && sysVarShort(L"CMDECHO", 1) == 0;
}

InputItem Session::read(std::wstring_view prompt, ReadMode mode) {
  // A command broken off while it worked gets no more input: its prompts are cancelled at
  // once, so that it ends soon even when it never asks zcedUsrBrk.
  if (impl_->commandDepth > 0 && userBreak()) {
    ++impl_->cancelledReads;
    return InputItem{InputItem::Kind::kCancel, {}, {}, 0.0, {}, 0};
  }
  InputReader::Peek peek = impl_->reader.peek();
  bool sourcePrompts = peek.source && peek.source->showsPrompt() && peek.needsNewLine;
  const bool freshLine = std::exchange(impl_->promptOnFreshLine, false);
  if (!sourcePrompts) {
    if (freshLine && !prompt.empty() && prompt.front() != L'\n' && !impl_->lastWasNewline) print(L"\n");
    print(prompt);
  } else if (!impl_->lastWasNewline && impl_->after != Impl::After::kTerminalInput) {
    impl_->sink("\n");
    impl_->lastWasNewline = true;
  }
  std::wstring shown(prompt);
  if (sourcePrompts) {
    while (!shown.empty() && shown.front() == L'\n') shown.erase(0, 1);
  }
  InputSource* from = nullptr;
  setWaitingRestOfLine(mode == ReadMode::kRestOfLine);
  InputItem item = impl_->reader.next(
      mode == ReadMode::kRestOfLine ? InputReader::Mode::kRestOfLine : InputReader::Mode::kToken, shown,
      &from);
  if (item.kind == InputItem::Kind::kEnd || item.kind == InputItem::Kind::kCancel) ++impl_->cancelledReads;
  if (item.kind == InputItem::Kind::kEnd) {
    if (impl_->commandDepth > 0 && ++impl_->readsPastEnd >= kReadsPastEndLimit) {
      print(L"\n*Input ended; the command keeps asking and is stopped with the program.*\n");
      std::exit(EXIT_FAILURE);
    }
    return item;
  }
  // The rest of a line typed at the terminal answers later prompts: show it after them as a
  // script's input is shown, since the user typed it before the prompt appeared.
  if (from && (from->echoes() || !sourcePrompts)) {
    if (!quietNow()) {
      std::wstring echo = echoText(item);
      if (!echo.empty()) impl_->sink(vtcad::dxf::wideToUtf8(echo));
      impl_->lastWasNewline = false;
      impl_->after = Impl::After::kEcho;
    }
  } else if (from) {
    impl_->after = Impl::After::kTerminalInput;
    impl_->lastWasNewline = true;
  }
  if (item.kind == InputItem::Kind::kCancel) {
    print(L"\n*Cancel*\n");
    impl_->reader.discardLine();
  }
  return item;
}

std::wstring Session::echoText(const InputItem& item) const {
  switch (item.kind) {
    case InputItem::Kind::kText:
      return item.text;
    case InputItem::Kind::kCancel:
      return L"^C";
    case InputItem::Kind::kNumber:
      return formatNumber(item.number);
    case InputItem::Kind::kPoint:
      return formatPoint(item.point);
    case InputItem::Kind::kEntity:
      return L"<Entity name: " + formatHex(static_cast<unsigned long long>(item.entity.asOldId())) + L">";
    case InputItem::Kind::kSelection:
      return L"<Selection set: " + std::to_wstring(item.selection) + L">";
    case InputItem::Kind::kEmpty:
    case InputItem::Kind::kEnd:
      break;
  }
  return {};
}

void Session::setInitGet(int bits, std::wstring keywords) {
  impl_->initGet.bits = bits;
  impl_->initGet.keywords = std::move(keywords);
}

Session::InitGet Session::takeInitGet() {
  InitGet taken = std::move(impl_->initGet);
  impl_->initGet = InitGet{};
  return taken;
}

bool Session::scripted() const {
  InputReader::Peek peek = impl_->reader.peek();
  return !peek.source || peek.source->echoes();
}

bool Session::userBreak() const { return impl_->userBreak || interruptSignalled != 0; }
void Session::noteUserBreak() { impl_->userBreak = true; }
SelectionSets& Session::selectionSets() { return impl_->sets; }
InputReader& Session::reader() { return impl_->reader; }
int Session::commandDepth() const { return impl_->commandDepth; }
void Session::requestQuit() { impl_->quit = true; }
const std::wstring& Session::lastCommand() const { return impl_->lastCommand; }

RunOutcome Session::run(std::unique_ptr<InputSource> source) {
  RunOutcome outcome;
  size_t depth = impl_->reader.depth();
  impl_->reader.push(std::move(source));
  while (!impl_->quit) {
    // Ctrl+C in a script run ends the script (the command it hit was cancelled already); at
    // the interactive prompt it only cancels what was typed.
    if (interruptSignalled != 0 && scripted()) {
      outcome.end = RunEnd::kInterrupted;
      break;
    }
    impl_->userBreak = false;
    interruptSignalled = 0;
    InputItem item = read(L"\nCommand: ");
    if (item.kind == InputItem::Kind::kEnd) break;
    if (item.kind == InputItem::Kind::kCancel) continue;
    if (item.kind == InputItem::Kind::kEmpty) {
      // Enter at the command prompt repeats the last command.
      if (impl_->lastCommand.empty()) continue;
      runCommand(impl_->lastCommand);
      ++outcome.commandsRun;
      continue;
    }
    if (item.kind != InputItem::Kind::kText) {
      print(L"\nA command name is expected here.");
      continue;
    }
    if (runCommand(item.text)) ++outcome.commandsRun;
  }
  if (impl_->quit && outcome.end != RunEnd::kInterrupted) outcome.end = RunEnd::kQuit;
  // The outermost run has dealt with the interrupt by ending; inside a command (SCRIPT) the
  // command still has to see it, so that it is taken back too.
  if (outcome.end == RunEnd::kInterrupted && impl_->commandDepth == 0) interruptSignalled = 0;
  while (impl_->reader.depth() > depth) impl_->reader.pop();
  print(L"\n");
  return outcome;
}

RunOutcome Session::runScript(std::wstring_view text, std::wstring name) {
  return run(std::make_unique<ScriptSource>(std::wstring(text), std::move(name)));
}

bool Session::runCommand(std::wstring_view typedName) {
  std::wstring name(typedName);
  // Prefixes: "'" (transparent use), "_" (the global name), "." (the host's own command even
  // when redefined); "_." and "._" both occur in scripts.
  bool global = false;
  while (!name.empty() && (name.front() == L'_' || name.front() == L'.' || name.front() == L'\'')) {
    if (name.front() == L'_') global = true;
    name.erase(0, 1);
  }
  CommandStack& stack = CommandStack::instance();
  ZcEdCommand* command = nullptr;
  if (!name.empty()) {
    command = global ? stack.lookupGlobalCmd(name.c_str()) : stack.lookupLocalCmd(name.c_str());
    if (!command && !global) command = stack.lookupGlobalCmd(name.c_str());
  }
  if (!command) {
    print(L"\nUnknown command \"" + upper(typedName) + L"\".");
    return false;
  }
  // The command may unload the plug-in that defined it: take what is needed now.
  ZcRxFunctionPtr function = command->functionAddr();
  Zdesk::Int32 flags = command->commandFlags();
  std::wstring appPath = stack.appPathOf(command);
  if (impl_->commandDepth == 0) impl_->lastCommand = std::wstring(typedName);

  ZcDbDatabase* db = zcdbCurDwg();
  bool undoGroup = db && !(flags & ZcRx::kCmdNoUndoMarker);
  if (undoGroup) db->beginUndoGroup(command->globalName());
  std::wstring savedApp = currentAppPath;
  currentAppPath = appPath;
  ++impl_->commandDepth;
  impl_->readsPastEnd = 0;
  impl_->initGet = InitGet{};
  setCommandActive(impl_->commandDepth);
  try {
    function();
  } catch (...) {
    // A command must not take the host down with it; its changes so far stay undoable.
    print(L"\n*Error*: the command stopped on an unexpected failure.");
  }
  --impl_->commandDepth;
  setCommandActive(impl_->commandDepth);
  currentAppPath = savedApp;
  impl_->initGet = InitGet{};
  // A command broken off is taken back whole: the drawing is as it was before it.
  const bool broken = impl_->commandDepth == 0 && userBreak();
  if (impl_->commandDepth == 0) ProgressMeter::instance().stop();  // a meter the command left running
  // The database may have been replaced (OPEN) or undone while the command ran.
  if (undoGroup && db == zcdbCurDwg()) {
    if (!broken) {
      db->endUndoGroup();
    } else if (db->cancelUndoGroup() != Zcad::eOk) {
      print(L"\n*The changes of the cancelled command could not all be taken back.*");
    }
  }
  if (broken) print(L"\n*Cancel*\n");
  return true;
}

void Session::setCommandActive(int depth) { ::vtcad::editor::setCommandActive(depth > 0 ? 1 : 0); }

long long Session::cancelledReads() const { return impl_->cancelledReads; }

void Session::enterArgumentCommand() { ++impl_->argumentCommandDepth; }
void Session::leaveArgumentCommand() { --impl_->argumentCommandDepth; }

}  // namespace vtcad::editor
