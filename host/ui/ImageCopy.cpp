#include "ui/ImageCopy.h"

#include <cstring>
#include <vector>

namespace vtcad::ui {

CImage copyImage(const CImage& picture) {
  CImage copy;
  if (picture.IsNull()) return copy;
  const DWORD flags = picture.HasAlphaChannel() ? CImage::createAlphaChannel : 0;
  if (!copy.Create(picture.GetWidth(), picture.GetHeight(), picture.GetBPP(), flags)) return copy;
  if (picture.IsIndexed()) {
    const int entries = picture.GetMaxColorTableEntries();
    std::vector<RGBQUAD> colours(static_cast<std::size_t>(entries));
    picture.GetColorTable(0, static_cast<UINT>(entries), colours.data());
    copy.SetColorTable(0, static_cast<UINT>(entries), colours.data());
  }
  const std::size_t rowBytes = static_cast<std::size_t>(picture.GetPitch());
  for (int y = 0; y < picture.GetHeight(); ++y) {
    std::memcpy(copy.GetPixelAddress(0, y), picture.GetPixelAddress(0, y), rowBytes);
  }
  return copy;
}

}  // namespace vtcad::ui
