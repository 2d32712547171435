#pragma once
// Numbers and points as the command line shows them: shortest text that reads back exactly.
#include <string>

#include "zcad/ge/ZcGePoint3d.h"

namespace vtcad::editor {

std::wstring formatNumber(double value);
// "x,y,z" (always three coordinates, so the text reads back as the same point).
std::wstring formatPoint(const ZcGePoint3d& point);
std::wstring formatHex(unsigned long long value);

}  // namespace vtcad::editor
