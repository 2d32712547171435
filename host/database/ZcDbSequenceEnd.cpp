#include "zcad/db/ZcDbSequenceEnd.h"

namespace {
ZcRxObject* newSequenceEnd() { return new ZcDbSequenceEnd(); }
}  // namespace

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbSequenceEnd, ZcDbEntity, L"AcDbSequenceEnd", L"SEQEND", &newSequenceEnd)

ZcDbSequenceEnd::ZcDbSequenceEnd() = default;
ZcDbSequenceEnd::~ZcDbSequenceEnd() = default;
