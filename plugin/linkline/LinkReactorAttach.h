#pragma once
// Gives a closed curve the persistent link reactor that keeps connectors on its sides.
#include <string>

class ZcDbObject;
struct GUID;

namespace veltrace {

// The reactor's key in the dictionary "VTRC_DICT":
// "{V-%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}" of a new GUID.
std::wstring linkReactorKey(const GUID& guid);

// `curve` is open for write. A curve that already lists any persistent reactor gets none (at
// most one of ours, and none beside another application's). The reactor object goes into
// "VTRC_DICT" of the named-objects dictionary, made on first use.
void attachLinkReactor(ZcDbObject* curve);

}  // namespace veltrace
