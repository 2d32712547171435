// The metafile reader (WMFIN) on arbitrary bytes: it must never crash, hang or read out of
// bounds; what it accepts must be written again and read back as the same shapes.
#include <cstddef>
#include <cstdint>

#include "platform/WmfReader.h"
#include "platform/WmfWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto result = vtcad::platform::decodeWmf(std::span<const std::uint8_t>(data, size));
  const auto* content = std::get_if<vtcad::platform::WmfContent>(&result);
  if (!content) return 0;
  if (content->picture.unitsPerInch == 0) __builtin_trap();
  const std::string again = vtcad::platform::encodeWmf(content->picture);
  auto back = vtcad::platform::decodeWmf(
      std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(again.data()), again.size()));
  const auto* reread = std::get_if<vtcad::platform::WmfContent>(&back);
  if (!reread) __builtin_trap();
  // Paths of two or more points survive; a path written as several polylines (over 32767
  // points) comes back in pieces, so only their total is compared then.
  std::size_t before = 0;
  for (const auto& path : content->picture.paths) before += path.points.size() >= 2 ? 1 : 0;
  if (reread->picture.paths.size() < before) __builtin_trap();
  return 0;
}
