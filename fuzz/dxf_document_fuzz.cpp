// libFuzzer target: the document reader on arbitrary bytes. Whatever it recovers must save,
// and what it saved must load again without a single loss: a drawing that vtcad writes and
// then refuses is a lost drawing, and a value it writes that cannot be read back is a lost
// value.
//
// Every input is also read and written with the second thread of large files forced on, its
// entities cut into pieces by the input's own size: the drawing, the messages and the text
// must be the one thread's, byte for byte.
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

#include "dxf/DxfDocumentReader.h"
#include "dxf/DxfDocumentWriter.h"
#include "dxf/DxfFile.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbObject.h"
#include "zcad/rx/ZcRxClass.h"

namespace {

std::string print(const vtcad::dxf::LoadResult& result) {
  std::string out = result.refusal;
  for (const vtcad::dxf::LoadMessage& m : result.messages) {
    out.append("\n").append(std::to_string(m.line)).append(" ").append(m.text);
  }
  if (result.database) out.append("\n").append(vtcad::dxf::writeDxf(*result.database));
  return out;
}

// One and two threads read and write the same.
void compareThreads(std::string_view bytes, const vtcad::dxf::LoadResult& alone) {
  vtcad::dxf::ReadTuning reading;
  reading.readAheadFrom = 0;
  reading.pieces = 1 + bytes.size() % 13;
  const vtcad::dxf::LoadResult both =
      vtcad::dxf::readDocument(bytes, vtcad::dxf::Recovery::kRecover, {}, reading);
  if (print(alone) != print(both)) {
    std::fprintf(stderr, "two reading threads read another drawing than one\n");
    std::abort();
  }
  if (!alone.database) return;
  vtcad::dxf::WriteTuning writing;
  writing.writeAheadFrom = 0;
  writing.pieces = 1 + bytes.size() % 7;
  if (vtcad::dxf::DocumentWriter(*alone.database, writing).write() != vtcad::dxf::writeDxf(*alone.database)) {
    std::fprintf(stderr, "two writing threads wrote another text than one\n");
    std::abort();
  }
}

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
  compareThreads(bytes, first);
  if (!first.ok()) return 0;
  const std::string saved = vtcad::dxf::writeDxf(*first.database);
  vtcad::dxf::LoadResult second = vtcad::dxf::readDxf(saved);
  if (!second.ok()) {
    std::fprintf(stderr, "the saved drawing was refused: %s\n", second.refusal.c_str());
    std::abort();
  }
  return 0;
}
