// The session's display colours and the zced calls that read and change them.
#include "render/DisplayColors.h"

namespace vtcad::render {
namespace {

ZcColorSettings& current() {
  static ZcColorSettings settings = defaultColorSettings();
  return settings;
}

}  // namespace

DWORD toColorRef(Rgb c) {
  return static_cast<DWORD>(c.red) | static_cast<DWORD>(c.green) << 8 | static_cast<DWORD>(c.blue) << 16;
}

Rgb fromColorRef(DWORD c) {
  return {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>((c >> 8) & 0xFF),
          static_cast<std::uint8_t>((c >> 16) & 0xFF)};
}

ZcColorSettings defaultColorSettings() {
  constexpr Rgb kBlack{0, 0, 0};
  constexpr Rgb kWhite{255, 255, 255};
  ZcColorSettings settings{};
  settings.dwGfxModelBkColor = toColorRef(kBlack);
  settings.dwGfxLayoutBkColor = toColorRef(kWhite);
  settings.dwModelCrossHairColor = toColorRef(kWhite);
  settings.dwLayoutCrossHairColor = toColorRef(kBlack);
  settings.dwTextForeColor = toColorRef(kBlack);
  settings.dwTextBkColor = toColorRef(kWhite);
  return settings;
}

Rgb modelBackground() { return fromColorRef(current().dwGfxModelBkColor); }

}  // namespace vtcad::render

DWORD zcedGetRGB(int colorIndex) { return vtcad::render::toColorRef(vtcad::render::aciColor(colorIndex)); }

BOOL zcedGetCurrentColors(ZcColorSettings* settings) {
  if (!settings) return 0;
  *settings = vtcad::render::current();
  return 1;
}

BOOL zcedSetCurrentColors(ZcColorSettings* settings) {
  if (!settings) return 0;
  vtcad::render::current() = *settings;
  return 1;
}
