#pragma once
// The host's command line: one session per process, on the command thread. It owns where
// input comes from (scripts, the terminal, the arguments of zcedCommand), where output goes
// (the transcript), the input control of the next prompt, selection sets and the command
// loop. The zced* functions of zcad/zced.h are thin calls into it.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "editor/InputItem.h"
#include "zcad/zadesk.h"

class ZcDbDatabase;

namespace vtcad::editor {

class InputSource;
class InputReader;
class SelectionSets;

// How a script run ended.
enum class RunEnd {
  kEndOfInput,   // every line was read (a command waiting for input was cancelled)
  kQuit,         // the QUIT command
  kInterrupted,  // Ctrl+C (SIGINT) in a script run: the running command was cancelled
};

struct RunOutcome {
  RunEnd end = RunEnd::kEndOfInput;
  int commandsRun = 0;
};

class Session {
 public:
  static Session& instance();

  // Output: the transcript, UTF-8. The default writes to standard output.
  using OutputSink = std::function<void(std::string_view utf8)>;
  void setOutput(OutputSink sink);
  // Prints `text`, keeping the transcript readable: after an echoed input a text that does not
  // start on a new line gets one.
  void print(std::wstring_view text);
  // Prints why an input was refused; the prompt asked again starts on a line of its own even
  // when its text does not begin with a line break.
  void printRefusal(std::wstring_view text);

  // Runs the command loop over `source` until it ends. Sources nest: a script may run a
  // command that runs host commands with arguments.
  RunOutcome run(std::unique_ptr<InputSource> source);
  // Convenience for scripts held in memory (tests, -s files already read).
  RunOutcome runScript(std::wstring_view text, std::wstring name = L"script");

  // Runs one command by name as typed at "Command: " ("_LINE", "._erase", "PLYH"): false and
  // "Unknown command" printed when there is none.
  bool runCommand(std::wstring_view typedName);

  // Reads one input for a prompt (the prompt is printed first). The item says what came:
  // text, an empty input, a point or entity or selection set from zcedCommand, a cancel, or
  // the end of all input (answered as a cancel by the prompts).
  enum class ReadMode { kToken, kRestOfLine };
  InputItem read(std::wstring_view prompt, ReadMode mode = ReadMode::kToken);

  // Input control of the next prompt (zcedInitGet); taken (and cleared) by each prompt.
  struct InitGet {
    int bits = 0;
    std::wstring keywords;
  };
  void setInitGet(int bits, std::wstring keywords);
  InitGet takeInitGet();

  // The text of the last keyword answer (zcedGetInput).
  std::wstring lastKeywordInput;

  // True while a script or command arguments feed the prompts (file prompts then read from
  // the command line even when FILEDIA is 1).
  bool scripted() const;
  // The user asked to break off the command that works (zcedUsrBrk): Ctrl+C (SIGINT) while
  // no prompt was waiting, or a break noted by a desktop backend (Esc).
  bool userBreak() const;
  void noteUserBreak();
  // Async-signal-safe: what a SIGINT handler calls, and whether one is pending already.
  static void interruptFromSignal();
  static bool interruptPending();
  // A Ctrl+C the terminal answered as the cancel of its prompt is no break of the command.
  static void clearInterrupt();

  SelectionSets& selectionSets();
  InputReader& reader();

  // How many reads so far were answered with a cancel (Esc, ^C, a break, the end of all
  // input): zcedCommand tells from it whether the commands it ran were cancelled.
  long long cancelledReads() const;
  // How many commands are running (nested through zcedCommand); 0 at the command prompt.
  int commandDepth() const;
  // The command Enter repeats at the command prompt.
  const std::wstring& lastCommand() const;
  // Ends the command loop after the current command (QUIT).
  void requestQuit();
  // Around commands run from zcedCommand arguments: with CMDECHO 0 they print nothing.
  void enterArgumentCommand();
  void leaveArgumentCommand();
  bool quietNow() const;
  // How an input is shown after its prompt in the transcript.
  std::wstring echoText(const InputItem& item) const;

  // The path of the plug-in whose code runs now (zcedGetAppName), set around entry-point calls
  // and command calls by the dynamic linker and the command loop.
  std::wstring currentAppPath;

  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  ~Session();

 private:
  Session();
  void setCommandActive(int depth);
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vtcad::editor

// Host code outside the editor names it briefly.
namespace editor = vtcad::editor;
