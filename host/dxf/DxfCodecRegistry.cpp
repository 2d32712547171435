// Finds the codec of a record type or of a runtime class.
#include <algorithm>
#include <array>
#include <unordered_map>
#include <vector>

#include "dxf/DxfCodecs.h"
#include "zcad/rx/ZcRxClass.h"

namespace vtcad::dxf {
namespace {

std::span<const ObjectCodec* const> allCodecs() {
  static const auto codecs = std::to_array<const ObjectCodec*>({
      &lineCodec(),        &arcCodec(),        &circleCodec(),      &ellipseCodec(),  &pointCodec(),
      &splineCodec(),      &helixCodec(),      &lwPolylineCodec(),  &polylineCodec(), &polyline3dCodec(),
      &vertexCodec(),      &vertex3dCodec(),   &sequenceEndCodec(), &textCodec(),     &mtextCodec(),
      &insertCodec(),      &hatchCodec(),      &layerCodec(),       &linetypeCodec(), &textStyleCodec(),
      &viewportCodec(),    &viewCodec(),       &ucsCodec(),         &regAppCodec(),   &dimStyleCodec(),
      &blockRecordCodec(), &dictionaryCodec(), &xrecordCodec(),
  });
  return codecs;
}

// The record types beside their codecs: a look-up per record compares names without a
// virtual call per codec.
struct NamedCodec {
  std::string_view name;
  const ObjectCodec* codec;
};

std::span<const NamedCodec> namedCodecs() {
  static const std::vector<NamedCodec> named = [] {
    std::vector<NamedCodec> all;
    for (const ObjectCodec* codec : allCodecs()) all.push_back(NamedCodec{codec->dxfName(), codec});
    return all;
  }();
  return named;
}

}  // namespace

std::span<const ObjectCodec* const> secondThreadCodecs() {
  static const auto codecs = std::to_array<const ObjectCodec*>({
      &lineCodec(),
      &arcCodec(),
      &circleCodec(),
      &lwPolylineCodec(),
      &pointCodec(),
      &ellipseCodec(),
      &splineCodec(),
      &textCodec(),
      &insertCodec(),
  });
  return codecs;
}

const ObjectCodec* codecForDxfName(std::string_view dxfName) {
  for (const NamedCodec& named : namedCodecs()) {
    if (named.name == dxfName) return named.codec;
  }
  return nullptr;
}

const ObjectCodec* codecForClass(const ZcRxClass* cls) {
  // The host's classes are made once, before any file is read or written.
  static const std::unordered_map<const ZcRxClass*, const ObjectCodec*> byClass = [] {
    std::unordered_map<const ZcRxClass*, const ObjectCodec*> all;
    for (const ObjectCodec* codec : allCodecs()) all.emplace(codec->rxClass(), codec);
    return all;
  }();
  auto it = byClass.find(cls);
  return it == byClass.end() ? nullptr : it->second;
}

}  // namespace vtcad::dxf
