#pragma once
// A colour as the command line writes it (CECOLOR): "BYLAYER", "BYBLOCK", a palette index
// "1".."255", or a true colour "RGB:r,g,b" with each part 0..255.
#include <optional>
#include <string>
#include <string_view>

#include "zcad/db/ZcCmColor.h"

namespace vtcad::editor {

std::wstring colorText(const ZcCmColor& color);
// Any case, spaces around the whole and around the numbers ignored. Nothing for other texts:
// index 0 and 256 (say BYBLOCK and BYLAYER), colour names, parts out of range.
std::optional<ZcCmColor> parseColorText(std::wstring_view text);

}  // namespace vtcad::editor
