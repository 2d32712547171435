#pragma once
// What codecs need while a drawing is written: the tag writer, the handles of ids, and the
// groups each object kept from the file it was read from, written in their slot.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dxf/DxfCodec.h"
#include "dxf/DxfTagWriter.h"
#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGePoint2d.h"
#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/ge/ZcGeVector3d.h"

class ZcDbDatabase;
class ZcDbObject;
struct ZcDbKeptGroup;

namespace vtcad::dxf {

class DocumentWriter;

// The slot of a pointer in a direct-mapped cache of `slots` entries (a power of two), its bits
// mixed first: objects of one kind often lie at strides whose low bits are all alike.
inline std::size_t recentSlot(const void* p, std::size_t slots) {
  return static_cast<std::size_t>((reinterpret_cast<std::uintptr_t>(p) * 0x9E3779B97F4A7C15ull) >> 40) &
         (slots - 1);
}

class WriteContext {
 public:
  WriteContext(ZcDbDatabase& db, TagWriter& out, DocumentWriter& document);

  ZcDbDatabase& database() { return db_; }
  TagWriter& out() { return out_; }

  // Groups of the current subclass are done: writes the kept groups of its slot, then the
  // marker of the next one (100, name).
  void beginSubclass(std::string_view name);

  void text(int code, std::wstring_view value);
  void text(int code, std::string_view utf8) { out_.write(code, utf8); }
  void real(int code, double value) { out_.writeDouble(code, value); }
  void integer(int code, std::int64_t value) { out_.writeInt(code, value); }
  void point(int code, const ZcGePoint3d& p) { out_.writePoint(code, p.x, p.y, p.z); }
  void point(int code, const ZcGeVector3d& v) { out_.writePoint(code, v.x, v.y, v.z); }
  void point2d(int code, const ZcGePoint2d& p) { out_.writePoint2d(code, p.x, p.y); }
  // The handle of the object an id names ("0" for a null or missing one).
  void handle(int code, ZcDbObjectId id);
  std::uint64_t handleOf(ZcDbObjectId id) const;
  // The name of a symbol table record ("" when none).
  std::wstring recordName(ZcDbObjectId id) const;
  // The same as UTF-8, converted once per record and save (every entity names its layer).
  std::string_view recordNameUtf8(ZcDbObjectId id);

  // Writes a whole object (its record and what follows it), for owners of sub-objects.
  void writeObject(ZcDbObjectId id);

  // A kept group as it was, references by the current handle of the object they name.
  void writeKept(const ZcDbKeptGroup& group);

  // Used by the document writer around each object: the kept groups of slots up to
  // `lastSlot` are written once each, at the latest by endObject().
  void beginObject(const ZcDbObject& obj, std::uint16_t lastSlot);
  void flushSlot(std::uint16_t slot) { flushKept(slot); }
  // The slot whose kept groups the next beginSubclass() writes first.
  void setSlot(std::uint16_t slot) { slot_ = slot; }
  void endObject();

 private:
  void flushKept(std::uint16_t slot);

  ZcDbDatabase& db_;
  TagWriter& out_;
  DocumentWriter& document_;
  const std::vector<ZcDbKeptGroup>* kept_ = nullptr;
  std::uint16_t slot_ = 0;
  std::uint16_t lastSlot_ = 0;
  std::vector<bool> flushed_;
  std::unordered_map<const ZcDbObject*, std::string> names_;
  std::array<std::pair<const ZcDbObject*, std::string_view>, 16> recentNames_{};
};

}  // namespace vtcad::dxf
