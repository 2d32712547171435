// The thread's last error code (zcimage.h), kept per thread as Windows keeps it.
#include "zcad/platform/zcimage.h"

namespace {
thread_local DWORD lastError = 0;
}

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD code) { lastError = code; }
