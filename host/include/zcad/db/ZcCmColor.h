#pragma once
// Entity colour: ByLayer, ByBlock, an index of the 256-colour palette, or a true colour.
#include "zcad/zadesk.h"

namespace ZcCmEntityColor {
enum ColorMethod : int {
  kByLayer = 0xC0,
  kByBlock = 0xC1,
  kByColor = 0xC2,
  kByACI = 0xC3,
  kForeground = 0xC5,
  kNone = 0xC8
};
}

class ZcCmColor {
 public:
  ZcCmColor() = default;  // ByLayer
  ZcCmEntityColor::ColorMethod colorMethod() const {
    return static_cast<ZcCmEntityColor::ColorMethod>(method_);
  }
  bool isByLayer() const { return method_ == ZcCmEntityColor::kByLayer; }
  bool isByBlock() const { return method_ == ZcCmEntityColor::kByBlock; }
  bool isByACI() const { return method_ == ZcCmEntityColor::kByACI; }
  bool isByColor() const { return method_ == ZcCmEntityColor::kByColor; }
  bool isNone() const { return method_ == ZcCmEntityColor::kNone; }

  // Index 0 is ByBlock, 256 ByLayer, 1..255 the palette; other values are refused (false).
  bool setColorIndex(Zdesk::UInt16 index);
  // The palette index: 0 ByBlock, 256 ByLayer, the nearest palette entry for a true colour.
  Zdesk::UInt16 colorIndex() const;
  void setRGB(Zdesk::UInt8 red, Zdesk::UInt8 green, Zdesk::UInt8 blue);
  void setByLayer() {
    method_ = ZcCmEntityColor::kByLayer;
    index_ = 256;
  }
  void setByBlock() {
    method_ = ZcCmEntityColor::kByBlock;
    index_ = 0;
  }
  // Red, green, blue of a true colour, or of the palette entry for an index colour.
  Zdesk::UInt8 red() const;
  Zdesk::UInt8 green() const;
  Zdesk::UInt8 blue() const;
  // 0x00RRGGBB as DXF group 420 stores it.
  Zdesk::UInt32 trueColorValue() const;

  bool operator==(const ZcCmColor& o) const {
    return method_ == o.method_ && index_ == o.index_ && rgb_ == o.rgb_;
  }
  bool operator!=(const ZcCmColor& o) const { return !(*this == o); }

 private:
  // Packed into 8 bytes: every entity carries one.
  Zdesk::UInt8 method_ = ZcCmEntityColor::kByLayer;
  Zdesk::UInt16 index_ = 256;
  Zdesk::UInt32 rgb_ = 0;
};

// The palette of index colours 0..255 as 0x00RRGGBB (0 answers black; 7 is white).
Zdesk::UInt32 zcdbPaletteRgb(int colorIndex);
