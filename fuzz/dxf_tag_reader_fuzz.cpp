// libFuzzer target: the tag reader and the text decoder on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "dxf/DxfTagReader.h"
#include "dxf/DxfText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  vtcad::dxf::TagReader reader(bytes);
  vtcad::dxf::TextDecoder decoder(/*utf8=*/false, "ANSI_936");
  vtcad::dxf::Tag tag;
  size_t count = 0;
  while (reader.next(tag)) {
    (void)tag.toDouble();
    (void)decoder.decode(tag.value);
    if (++count > 1000000) break;
  }
  return 0;
}
