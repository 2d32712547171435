// zcutPrintf: the command line's printf.
#include <cstdarg>

#include "editor/Session.h"
#include "editor/WideFormat.h"
#include "zcad/zced.h"

int zcutPrintf(const ZTCHAR* format, ...) {
  if (!format) return 0;
  va_list args;
  va_start(args, format);
  std::wstring text = editor::formatWide(format, args);
  va_end(args);
  editor::Session::instance().print(text);
  return static_cast<int>(text.size());
}
