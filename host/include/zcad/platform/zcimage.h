#pragma once
// Pictures in memory and in files, in the shape of the Windows image class (a device-independent
// bitmap with Load, Save, Create, GetBits, GetPitch, GetPixel) that picture code written for
// Windows uses. Decoding reads BMP (1, 4, 8, 16, 24 and 32 bits per pixel), PNG, JPEG and GIF,
// told apart by their content, not by the file's name; saving writes BMP (24 bits per pixel,
// or an indexed picture's own 1, 4 or 8 with its colour table) and PNG (docs/images.md).
//
// Memory layout, as a top-down DIB: row 0 is the top row, rows lie GetPitch() bytes apart
// (a multiple of 4, positive), pixels of 24 and 32 bits are stored blue, green, red (, alpha),
// pixels of 8 bits or fewer are indexes into the colour table (the most significant bits
// first). A picture decoded from a file with an alpha channel is 32 bits per pixel with
// HasAlphaChannel(); its colours are not premultiplied.
//
// Hostile files: a file that is truncated, malformed or larger than kImagePixelBudget pixels is
// refused with a message (GetLoadMessage) before any pixel memory is allocated; nothing is
// thrown. A failed Load leaves the image as it was.
#include "zcad/platform/zcwintypes.h"

using COLORREF = DWORD;

// A colour as Windows packs it: red in the low byte, then green, then blue.
inline constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
inline constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
inline constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
inline constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }

// One colour-table entry, in the byte order of a BMP file.
struct RGBQUAD {
  BYTE rgbBlue = 0;
  BYTE rgbGreen = 0;
  BYTE rgbRed = 0;
  BYTE rgbReserved = 0;
};

// The largest picture Load and Create accept, in pixels (width × height): 100 megapixels, so a
// hostile header cannot make the host allocate gigabytes.
inline constexpr long long kImagePixelBudget = 100'000'000;

// The stretching modes of StretchBlt: HALFTONE averages every source pixel a target pixel
// covers (what photographs need when shrunk); COLORONCOLOR takes the nearest source pixel.
inline constexpr int COLORONCOLOR = 3;
inline constexpr int HALFTONE = 4;

class CImage {
 public:
  // Create's flag for a 32-bit picture whose fourth byte is alpha.
  static constexpr DWORD createAlphaChannel = 0x01;

  enum class FileType { kByExtension, kBmp, kPng };

  CImage();
  ~CImage();
  CImage(const CImage&) = delete;
  CImage& operator=(const CImage&) = delete;
  CImage(CImage&& other) noexcept;
  CImage& operator=(CImage&& other) noexcept;

  // Decodes the file. S_OK, or E_FAIL with GetLoadMessage() saying why (the file cannot be
  // read, is not a picture of a known kind, is damaged, or exceeds the pixel budget) and the
  // thread's last error (GetLastError) set to the system's code or ERROR_INVALID_DATA.
  HRESULT Load(LPCWSTR path);
  // Why the last Load of this image failed; empty after a successful one.
  LPCWSTR GetLoadMessage() const;

  // Writes the picture atomically (a temporary file renamed over the target). kByExtension:
  // ".png" (any case) writes PNG, anything else BMP. E_FAIL for an empty image or a file that
  // cannot be written; the target is then untouched.
  HRESULT Save(LPCWSTR path, FileType type = FileType::kByExtension) const;

  // A new picture of width × height at 1, 4, 8, 24 or 32 bits per pixel, every pixel zero
  // (black; an indexed picture gets a grey ramp as its colour table). A negative height is
  // accepted as the top-down form of Windows and means the same. FALSE (and the image
  // unchanged) for a zero or negative size, another depth, or a size beyond the budget.
  BOOL Create(int width, int height, int bpp, DWORD flags = 0);
  void Destroy();
  bool IsNull() const;

  int GetWidth() const;
  int GetHeight() const;
  int GetBPP() const;
  int GetPitch() const;
  // The first byte of the top row, or nullptr for an empty image.
  void* GetBits();
  const void* GetBits() const;
  // The first byte of pixel (x, y); nullptr outside the picture.
  void* GetPixelAddress(int x, int y);
  const void* GetPixelAddress(int x, int y) const;
  bool HasAlphaChannel() const;

  // Pixel (x, y) as a colour (through the colour table for indexed pictures); 0 outside.
  COLORREF GetPixel(int x, int y) const;
  // Sets pixel (x, y); an indexed picture takes the nearest colour of its table. Outside the
  // picture nothing happens.
  void SetPixel(int x, int y, COLORREF color);

  bool IsIndexed() const;
  int GetMaxColorTableEntries() const;
  void GetColorTable(UINT first, UINT count, RGBQUAD* colors) const;
  void SetColorTable(UINT first, UINT count, const RGBQUAD* colors);

  // Stretches the whole of this picture into the rectangle (x, y, width, height) of `target`,
  // clipped to the target. HALFTONE averages; COLORONCOLOR, and any indexed target, take the
  // nearest source pixel. FALSE when either picture is empty or the rectangle is empty.
  BOOL StretchBlt(CImage& target, int x, int y, int width, int height, int mode = HALFTONE) const;

 private:
  struct Impl;
  Impl* impl_;
};

// The thread's last error code, as Windows keeps it (set by CImage::Load and by other
// platform calls that say so).
DWORD GetLastError();
void SetLastError(DWORD code);
