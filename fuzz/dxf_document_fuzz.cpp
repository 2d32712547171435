// libFuzzer target: the document reader on arbitrary bytes. Whatever it recovers must save,
// and what it saved must load again without a single loss: a drawing that vtcad writes and
// then refuses is a lost drawing, and a value it writes that cannot be read back is a lost
// value.
//
// A plug-in's class is registered, as Veltrace registers its connector reactor, so that
// objects of a registered plug-in class (read live through the class's own filing, not kept
// whole) are fuzzed too.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "dxf/DxfFile.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbObject.h"
#include "zcad/rx/ZcRxClass.h"

namespace {

// A plug-in's object class with nothing of its own in the file.
class FuzzPluginObject : public ZcDbObject {
 public:
  ZCRX_DECLARE_MEMBERS(FuzzPluginObject)
  static ZcRxObject* create() { return new FuzzPluginObject; }
};

}  // namespace

ZCRX_DEFINE_PLUGIN_MEMBERS(FuzzPluginObject)

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  FuzzPluginObject::gpDesc = newZcRxClass(L"VTLinkLineToNotify", L"AcDbObject", 33, 55, 0,
                                          &FuzzPluginObject::create, L"VTLinkLineToNotify", L"persreac");
  zcrxBuildClassHierarchy();
  return 0;
}

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
