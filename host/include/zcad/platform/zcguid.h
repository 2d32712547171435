#pragma once
// Globally unique identifiers, shaped as the Win32 GUID and CoCreateGuid.
//
// A new GUID is a random one (RFC 4122 version 4: 122 random bits from the operating system's
// random source, getrandom). CoCreateGuid never answers a GUID made from a weaker source: when
// the system cannot give random bits it fails with E_FAIL and leaves the GUID as it was.
#include "zcad/platform/zcwintypes.h"

struct GUID {
  DWORD Data1;
  WORD Data2;
  WORD Data3;
  BYTE Data4[8];
};

// S_OK, E_INVALIDARG for a null pointer, E_FAIL when no random bits could be had.
HRESULT CoCreateGuid(GUID* pguid);
