// Runtime classes of the kept records. Their names are the host's own: no drawing file
// names them, so a file's class of the same DXF name never resolves to them.
#include "dxf/DxfUnknownObject.h"

namespace vtcad::dxf {

ZCRX_DEFINE_MEMBERS_WITH_NAMES(DxfUnknownObject, ZcDbObject, L"VtcadKeptObject", nullptr,
                               []() -> ZcRxObject* { return new DxfUnknownObject; })
ZCRX_DEFINE_MEMBERS_WITH_NAMES(DxfUnknownEntity, ZcDbEntity, L"VtcadKeptEntity", nullptr,
                               []() -> ZcRxObject* { return new DxfUnknownEntity; })

}  // namespace vtcad::dxf
