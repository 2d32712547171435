#include "frame/CommandPrologue.h"

#include "outreach/Outreach.h"

namespace veltrace {

void commandPrologue(const wchar_t* usageName) {
  outreach::recordCommand(usageName);
  outreach::countCommandUse();
}

}  // namespace veltrace
