#include "zcad/db/ZcDbVertex.h"

ZCRX_DEFINE_MEMBERS_WITH_NAMES(ZcDbVertex, ZcDbEntity, L"AcDbVertex", nullptr, nullptr)

ZcDbVertex::ZcDbVertex() = default;
ZcDbVertex::~ZcDbVertex() = default;
