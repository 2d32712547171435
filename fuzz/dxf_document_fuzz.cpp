// libFuzzer target: the document reader on arbitrary bytes. Whatever it recovers must save,
// and what it saved must load again without a single loss: a drawing that vtcad writes and
// then refuses is a lost drawing, and a value it writes that cannot be read back is a lost
// value.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "dxf/DxfFile.h"
#include "zcad/db/ZcDbDatabase.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  vtcad::dxf::LoadResult first = vtcad::dxf::readDxf(bytes, vtcad::dxf::Recovery::kRecover);
  if (!first.ok()) return 0;
  const std::string saved = vtcad::dxf::writeDxf(*first.database);
  vtcad::dxf::LoadResult second = vtcad::dxf::readDxf(saved);
  if (!second.ok()) {
    std::fprintf(stderr, "the saved drawing was refused: %s\n", second.refusal.c_str());
    std::abort();
  }
  return 0;
}
