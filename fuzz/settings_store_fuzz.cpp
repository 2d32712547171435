// libFuzzer target: the settings store's registry-file reader on arbitrary bytes. Beyond not
// crashing, whatever it reads must be written into a file that reads back, undamaged, as the
// same settings: a file the host wrote itself is never reported as damaged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/RegFileFormat.h"

using namespace vtcad::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  RegFileReadResult first = readRegFile(bytes);
  std::vector<RegKeyContents> contents = first.document.contents();
  for (const RegKeyContents& key : contents) {
    for (const RegValue& value : key.values) {
      // Kept hex data was checked when read, so it always decodes.
      if (value.kind == RegValue::Kind::kRaw && !decodeRegRawData(value.raw)) std::abort();
    }
  }
  std::string written = writeRegFile(first.document);
  RegFileReadResult second = readRegFile(written);
  if (second.damage || second.document.contents() != contents) std::abort();
  return 0;
}
