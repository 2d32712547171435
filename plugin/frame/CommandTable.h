#pragma once
// The plug-in's commands: one table, registered in its order under the group "Veltrace".
// The host calls each command through a small function of the frame that runs the command's
// prologue first and then its body, so no command can skip the prologue. A row without a body
// is a command this build does not have yet: it runs its prologue and says so.
#include <span>

class ZcEdCommandStack;

namespace veltrace {

inline constexpr const wchar_t* kCommandGroup = L"Veltrace";

using CommandBody = void (*)();

// How a command's prologue treats its use.
enum class UsageRecording {
  kRecordAndCount,  // records its usage name, then counts the use
  kCountOnly,       // counts the use only (the formula dialog)
};

struct CommandRow {
  const wchar_t* localName;
  const wchar_t* globalName;
  const wchar_t* usageName;
  UsageRecording recording;
  CommandBody body;  // nullptr: not available in this build
};

// Every row, in registration order: the 50 commands, then the three sibling demonstrations.
std::span<const CommandRow> commandTable();

// The (global, local) pairs of the demand-load record, in its order (the sibling
// demonstrations are not in it).
struct CommandNames {
  const wchar_t* globalName;
  const wchar_t* localName;
};
std::span<const CommandNames> demandLoadCommands();

// Adds every row to `stack` in table order. A row the host refuses is simply missing.
void registerCommandTable(ZcEdCommandStack& stack);

// Runs a row as the host does when its name is typed (prologue, then the body or the note
// that the command is not in this build).
void runCommandRow(const CommandRow& row);

}  // namespace veltrace
