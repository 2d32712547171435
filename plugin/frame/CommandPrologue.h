#pragma once
// How every command begins: its usage name is recorded (which may start a usage report), then
// its use is counted. Only then does it prompt or select.
namespace veltrace {

void commandPrologue(const wchar_t* usageName);

}  // namespace veltrace
