#include "image/PictureLoading.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <vector>

#include "frame/Messages.h"

namespace veltrace {

namespace {

bool readableDepth(int bpp) { return bpp == 8 || bpp == 24 || bpp == 32; }

}  // namespace

CImage copyPicture(const CImage& source) {
  CImage copy;
  if (source.IsNull()) return copy;
  if (!copy.Create(source.GetWidth(), source.GetHeight(), source.GetBPP(),
                   source.HasAlphaChannel() ? CImage::createAlphaChannel : 0)) {
    return copy;
  }
  if (source.IsIndexed()) {
    const int entries = source.GetMaxColorTableEntries();
    std::vector<RGBQUAD> table(static_cast<std::size_t>(entries));
    source.GetColorTable(0, static_cast<UINT>(entries), table.data());
    copy.SetColorTable(0, static_cast<UINT>(entries), table.data());
  }
  // Both pitches are the same: they follow from the width and the depth alone.
  std::memcpy(copy.GetBits(), source.GetBits(),
              static_cast<std::size_t>(source.GetPitch()) * static_cast<std::size_t>(source.GetHeight()));
  return copy;
}

CImage withReadableDepth(const CImage& source) {
  if (source.IsNull() || readableDepth(source.GetBPP())) return copyPicture(source);
  CImage wide;
  if (!wide.Create(source.GetWidth(), source.GetHeight(), 24)) return wide;
  for (int y = 0; y < source.GetHeight(); ++y) {
    auto* row = static_cast<BYTE*>(wide.GetPixelAddress(0, y));
    for (int x = 0; x < source.GetWidth(); ++x) {
      const COLORREF colour = source.GetPixel(x, y);
      row[3 * x] = GetBValue(colour);
      row[3 * x + 1] = GetGValue(colour);
      row[3 * x + 2] = GetRValue(colour);
    }
  }
  return wide;
}

LoadedPicture loadWorkingPicture(const std::wstring& path, int widest) {
  LoadedPicture result;
  CImage decoded;
  if (FAILED(decoded.Load(path.c_str()))) {
    result.status = PictureLoadStatus::kNotAPicture;
    result.lastError = GetLastError();
    result.reason = decoded.GetLoadMessage();
    return result;
  }
  CImage readable = withReadableDepth(decoded);
  decoded.Destroy();
  if (readable.IsNull()) {
    result.status = PictureLoadStatus::kNoBitmap;
    return result;
  }
  const int width = readable.GetWidth();
  const int height = readable.GetHeight();
  const int targetWidth = widest > 0 ? std::min(width, widest) : width;
  // Degenerate case: a picture many times wider than high would come out 0 rows high.
  const int targetHeight = std::max(
      1, static_cast<int>(static_cast<long long>(targetWidth) * static_cast<long long>(height) / width));
  if (targetWidth == width && targetHeight == height) {
    result.picture = std::move(readable);
  } else {
    CImage base;
    if (!base.Create(targetWidth, targetHeight, readable.GetBPP(),
                     readable.HasAlphaChannel() ? CImage::createAlphaChannel : 0)) {
      result.status = PictureLoadStatus::kNoBitmap;
      return result;
    }
    if (readable.IsIndexed()) {
      const int entries = readable.GetMaxColorTableEntries();
      std::vector<RGBQUAD> table(static_cast<std::size_t>(entries));
      readable.GetColorTable(0, static_cast<UINT>(entries), table.data());
      base.SetColorTable(0, static_cast<UINT>(entries), table.data());
    }
    readable.StretchBlt(base, /*x=*/0, /*y=*/0, targetWidth, targetHeight, HALFTONE);
    result.picture = std::move(base);
  }
  result.status = PictureLoadStatus::kLoaded;
  return result;
}

std::wstring pictureLoadMessage(const LoadedPicture& result, const std::wstring& path) {
  if (result.status == PictureLoadStatus::kNoBitmap) return L"载入图片错误2!";
  wchar_t code[16];
  std::swprintf(code, sizeof code / sizeof code[0], L"%lu", static_cast<unsigned long>(result.lastError));
  return L"GetLastError: " + std::wstring(code) + L" -- Load image Error：" + path;
}

}  // namespace veltrace
