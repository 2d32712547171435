#include "frame/SystemVariables.h"

#include <cstdlib>
#include <limits>
#include <string>

#include "zcad/platform/zcui.h"
#include "zcad/zced.h"

namespace veltrace {

namespace {

// The variable's value, or false. A text value is released at once: no caller here wants one.
bool readVar(const wchar_t* name, resbuf& value) {
  value = resbuf{};
  if (zcedGetVar(name, &value) != RTNORM) return false;
  if (value.restype == RTSTR) {
    std::free(value.resval.rstring);
    value.resval.rstring = nullptr;
    return false;
  }
  return true;
}

}  // namespace

int getSysVarReal(const wchar_t* name, double& value) {
  resbuf rb;
  if (!readVar(name, rb)) return kSysVarFailed;
  switch (rb.restype) {
    case RTREAL:
      value = rb.resval.rreal;
      return kSysVarOk;
    // Whole-number variables read as reals too, as a caller asking for a number expects.
    case RTSHORT:
      value = rb.resval.rint;
      return kSysVarOk;
    case RTLONG:
      value = rb.resval.rlong;
      return kSysVarOk;
    default:
      return kSysVarFailed;
  }
}

int getSysVarPoint2d(const wchar_t* name, double& x, double& y) {
  resbuf rb;
  if (!readVar(name, rb)) return kSysVarFailed;
  if (rb.restype != RTPOINT && rb.restype != RT3DPOINT) return kSysVarFailed;
  x = rb.resval.rpoint[0];
  y = rb.resval.rpoint[1];
  return kSysVarOk;
}

int getSysVarIntOr(const wchar_t* name) {
  resbuf rb;
  if (!readVar(name, rb)) return kSysVarUnreadable;
  if (rb.restype == RTSHORT) return rb.resval.rint;
  // A 32-bit variable counts when its value would fit a short.
  if (rb.restype == RTLONG && rb.resval.rlong >= std::numeric_limits<short>::min() &&
      rb.resval.rlong <= std::numeric_limits<short>::max()) {
    return rb.resval.rlong;
  }
  return kSysVarUnreadable;
}

int setSysVarInt(const wchar_t* name, short value) {
  if (setSysVarQuiet(name, value) == RTNORM) return kSysVarOk;
  const std::wstring message = L"Could not set system variable \"" + std::wstring(name ? name : L"") + L"\".";
  AfxMessageBox(message.c_str());
  return kSysVarFailed;
}

int setSysVarQuiet(const wchar_t* name, short value) {
  resbuf rb{};
  rb.restype = RTSHORT;
  rb.resval.rint = value;
  return zcedSetVar(name, &rb);
}

QuietHostCommands::QuietHostCommands() { setSysVarQuiet(L"cmdecho", 0); }

// The host's default comes back rather than the value found, so that echo left off by a
// command that ended early is not carried into later ones.
QuietHostCommands::~QuietHostCommands() { setSysVarQuiet(L"cmdecho", 1); }

}  // namespace veltrace
