// CImage over ImagePixels: files are read whole and handed to the decoders, written through an
// atomic replace.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <cwctype>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/BmpCodec.h"
#include "platform/ImagePixels.h"
#include "platform/ImageStretch.h"
#include "platform/PngCodec.h"
#include "platform/TextEncoding.h"
#include "zcad/platform/zcimage.h"

using namespace vtcad::platform;

struct CImage::Impl {
  std::optional<ImagePixels> pixels;
  std::wstring loadMessage;
};

namespace {

// Windows' BOOL values (zcwintypes.h has the type only).
constexpr BOOL kFalse = 0;
constexpr BOOL kTrue = 1;

// The largest file Load reads: a 32-bit BMP of the whole pixel budget with room to spare.
constexpr long long kMaxFileBytes = 4 * kImagePixelBudget + (64 << 20);

DWORD windowsCodeOf(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
      return ERROR_ACCESS_DENIED;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    default:
      return ERROR_INVALID_DATA;
  }
}

struct FileBytes {
  std::vector<std::uint8_t> bytes;
  std::string problem;  // empty when read
  DWORD code = 0;
};

FileBytes readWholeFile(const std::string& path) {
  FileBytes out;
  auto fail = [&](const std::string& why, DWORD code) {
    out.problem = "cannot read " + path + ": " + why;
    out.code = code;
    out.bytes.clear();
    return std::move(out);
  };
  // Non-blocking, so that a named pipe is refused below instead of waiting for a writer; a
  // regular file reads the same either way.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return fail(std::strerror(errno), windowsCodeOf(errno));
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return fail("not a file", ERROR_ACCESS_DENIED);
  }
  if (info.st_size > kMaxFileBytes) {
    ::close(fd);
    return fail("the file is too large for a picture (" + std::to_string(info.st_size) + " bytes)",
                static_cast<DWORD>(ERROR_INVALID_DATA));
  }
  out.bytes.resize(static_cast<std::size_t>(info.st_size));
  std::size_t done = 0;
  while (done < out.bytes.size()) {
    ssize_t n = ::read(fd, out.bytes.data() + done, out.bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int error = errno;
      ::close(fd);
      return fail(std::strerror(error), windowsCodeOf(error));
    }
    if (n == 0) break;  // shrank while being read
    done += static_cast<std::size_t>(n);
  }
  out.bytes.resize(done);
  ::close(fd);
  return out;
}

bool endsWithPng(const std::wstring& path) {
  if (path.size() < 4) return false;
  std::wstring tail = path.substr(path.size() - 4);
  for (wchar_t& c : tail) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return tail == L".png";
}

}  // namespace

CImage::CImage() : impl_(new (std::nothrow) Impl) {}
CImage::~CImage() { delete impl_; }
CImage::CImage(CImage&& other) noexcept : impl_(std::exchange(other.impl_, nullptr)) {}
CImage& CImage::operator=(CImage&& other) noexcept {
  if (this != &other) {
    delete impl_;
    impl_ = std::exchange(other.impl_, nullptr);
  }
  return *this;
}

HRESULT CImage::Load(LPCWSTR path) {
  if (!impl_) impl_ = new (std::nothrow) Impl;
  if (!impl_) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return E_OUTOFMEMORY;
  }
  try {
    if (!path) {
      impl_->loadMessage = L"no file name was given";
      SetLastError(ERROR_INVALID_PARAMETER);
      return E_FAIL;
    }
    std::string file = pathFromWide(path).string();
    FileBytes read = readWholeFile(file);
    if (!read.problem.empty()) {
      impl_->loadMessage = decodeUtf8(read.problem).text;
      SetLastError(read.code);
      return E_FAIL;
    }
    DecodedImage decoded = decodeImage(read.bytes);
    if (!decoded.pixels) {
      impl_->loadMessage = decodeUtf8("cannot read " + file + ": " + decoded.message).text;
      SetLastError(static_cast<DWORD>(ERROR_INVALID_DATA));
      return E_FAIL;
    }
    impl_->pixels = std::move(decoded.pixels);
    impl_->loadMessage.clear();
    return S_OK;
  } catch (const std::bad_alloc&) {
    impl_->loadMessage = L"there is not enough memory for the picture";
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return E_FAIL;
  }
}

LPCWSTR CImage::GetLoadMessage() const { return impl_ ? impl_->loadMessage.c_str() : L""; }

HRESULT CImage::Save(LPCWSTR path, FileType type) const {
  if (IsNull() || !path) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return E_FAIL;
  }
  try {
    bool png = type == FileType::kPng || (type == FileType::kByExtension && endsWithPng(path));
    std::optional<std::string> bytes = png ? encodePng(*impl_->pixels) : encodeBmp(*impl_->pixels);
    if (!bytes) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return E_FAIL;
    }
    if (replaceFileAtomically(pathFromWide(path), *bytes, /*newFileMode=*/0644)) {
      SetLastError(ERROR_WRITE_FAULT);
      return E_FAIL;
    }
    return S_OK;
  } catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return E_FAIL;
  }
}

BOOL CImage::Create(int width, int height, int bpp, DWORD flags) {
  // Windows' top-down form; INT_MIN has no positive counterpart.
  if (height < 0 && height != INT_MIN) height = -height;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return kFalse;
  if (imageSizeProblem(width, height)) return kFalse;
  if (!impl_) impl_ = new (std::nothrow) Impl;
  if (!impl_) return kFalse;
  try {
    impl_->pixels = makeImagePixels(width, height, bpp, (flags & createAlphaChannel) != 0);
  } catch (const std::bad_alloc&) {
    return kFalse;
  }
  return kTrue;
}

void CImage::Destroy() {
  if (impl_) impl_->pixels.reset();
}
bool CImage::IsNull() const { return !impl_ || !impl_->pixels; }
int CImage::GetWidth() const { return IsNull() ? 0 : impl_->pixels->width; }
int CImage::GetHeight() const { return IsNull() ? 0 : impl_->pixels->height; }
int CImage::GetBPP() const { return IsNull() ? 0 : impl_->pixels->bpp; }
int CImage::GetPitch() const { return IsNull() ? 0 : impl_->pixels->pitch; }
void* CImage::GetBits() { return IsNull() ? nullptr : impl_->pixels->bits.data(); }
const void* CImage::GetBits() const { return IsNull() ? nullptr : impl_->pixels->bits.data(); }

const void* CImage::GetPixelAddress(int x, int y) const {
  if (IsNull()) return nullptr;
  const ImagePixels& p = *impl_->pixels;
  if (x < 0 || y < 0 || x >= p.width || y >= p.height) return nullptr;
  return p.row(y) + static_cast<std::size_t>(x) * static_cast<std::size_t>(p.bpp) / 8;
}
void* CImage::GetPixelAddress(int x, int y) {
  return const_cast<void*>(static_cast<const CImage*>(this)->GetPixelAddress(x, y));
}
bool CImage::HasAlphaChannel() const { return !IsNull() && impl_->pixels->alpha; }

COLORREF CImage::GetPixel(int x, int y) const {
  if (!GetPixelAddress(x, y)) return 0;
  RGBQUAD c = impl_->pixels->colorAt(x, y);
  return RGB(c.rgbRed, c.rgbGreen, c.rgbBlue);
}

void CImage::SetPixel(int x, int y, COLORREF color) {
  auto* at = static_cast<BYTE*>(GetPixelAddress(x, y));
  if (!at) return;
  ImagePixels& p = *impl_->pixels;
  RGBQUAD c{GetBValue(color), GetGValue(color), GetRValue(color), 0};
  if (p.indexed()) {
    p.setIndex(x, y, nearestColorIndex(p.palette, c));
    return;
  }
  at[0] = c.rgbBlue;
  at[1] = c.rgbGreen;
  at[2] = c.rgbRed;
  // A colour is opaque: SetPixel on a picture with alpha makes the pixel fully visible.
  if (p.bpp == 32 && p.alpha) at[3] = 255;
}

bool CImage::IsIndexed() const { return !IsNull() && impl_->pixels->indexed(); }
int CImage::GetMaxColorTableEntries() const {
  return IsIndexed() ? static_cast<int>(impl_->pixels->palette.size()) : 0;
}

void CImage::GetColorTable(UINT first, UINT count, RGBQUAD* colors) const {
  if (!IsIndexed() || !colors) return;
  const std::vector<RGBQUAD>& table = impl_->pixels->palette;
  for (UINT i = 0; i < count && first < table.size() && i < table.size() - first; ++i)
    colors[i] = table[first + i];
}

void CImage::SetColorTable(UINT first, UINT count, const RGBQUAD* colors) {
  if (!IsIndexed() || !colors) return;
  std::vector<RGBQUAD>& table = impl_->pixels->palette;
  for (UINT i = 0; i < count && first < table.size() && i < table.size() - first; ++i)
    table[first + i] = colors[i];
}

BOOL CImage::StretchBlt(CImage& target, int x, int y, int width, int height, int mode) const {
  if (IsNull() || target.IsNull() || width <= 0 || height <= 0) return kFalse;
  // Stretching into itself reads what it writes: done from a copy.
  std::optional<ImagePixels> copy;
  const ImagePixels* source = &*impl_->pixels;
  try {
    if (&target == this) source = &copy.emplace(*impl_->pixels);
    stretchPixels(*source, *target.impl_->pixels, x, y, width, height,
                  mode == COLORONCOLOR ? StretchMode::kNearest : StretchMode::kAverage);
  } catch (const std::bad_alloc&) {
    return kFalse;
  }
  return kTrue;
}
