#pragma once
// The part the codecs of symbol table records share (LAYER, LTYPE, STYLE, VPORT, VIEW, UCS,
// APPID, DIMSTYLE, BLOCK_RECORD): the subclasses "AcDbSymbolTableRecord" and the record's own,
// the name (group 2) and the standard flags (group 70). Each record codec reads and writes the
// groups that follow them.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "dxf/DxfCodec.h"

class ZcDbSymbolTableRecord;
struct ZcDbKeptGroup;

namespace vtcad::dxf {

class SymbolRecordCodec : public ObjectCodec {
 public:
  SubclassNames subclasses(const ZcDbObject&) const override {
    return {"AcDbSymbolTableRecord", recordSubclass()};
  }
  // Reads the name and the flags, then hands every other group to readFields().
  bool read(ZcDbObject& obj, std::span<const BodyGroup> body, ReadContext& ctx) const final;
  void write(const ZcDbObject& obj, WriteContext& ctx) const final;

 protected:
  // "AcDbLayerTableRecord", ...
  virtual std::string_view recordSubclass() const = 0;
  // False for records whose group 70 is no flag word (BLOCK_RECORD: insertion units).
  virtual bool hasStandardFlags() const { return true; }
  // The bits of group 70 that the record's class holds (frozen, locked, shape file, ...), read
  // from and written by the two functions below. The other bits (16 and 32: dependent on an
  // external reference; 64: referenced; a layer's 2: frozen in new viewports) are kept with
  // the record and written back as they were.
  virtual int flagMask() const { return 0; }
  virtual void readFlags(ZcDbSymbolTableRecord& /*record*/, int /*flags*/) const {}
  virtual int flags(const ZcDbSymbolTableRecord& /*record*/) const { return 0; }
  // The groups after the name and the flags, in file order. Keeps what it does not take;
  // false drops the record (after ctx.warn).
  virtual bool readFields(ZcDbSymbolTableRecord& record, std::span<const BodyGroup> fields,
                          ReadContext& ctx) const = 0;
  virtual void writeFields(const ZcDbSymbolTableRecord& record, WriteContext& ctx) const = 0;

  // A value the class refused (out of range, not a number) is kept as the file gave it, and
  // written back instead of the class's value: the record must not say it twice.
  static bool keptInstead(const ZcDbObject& obj, int code);
};

// True when `obj` kept a group of this code in one of the slots of its codec's subclasses
// (1..lastSlot) or from a record without subclass markers: a value the codec writes only when
// the file did not give it.
bool hasKeptGroup(const ZcDbObject& obj, int code, std::uint16_t lastSlot);

// Groups a codec keeps for itself: what the file said that the class cannot hold and that the
// codec writes back into a group of its own (the bits of a flag word the class has no place
// for). The writer never writes this slot: it writes the slots of the subclasses and the
// reserved ones of DxfCodec.h.
inline constexpr std::uint16_t kCodecOwnSlot = 0xFFF8;
// The group of `code` kept in kCodecOwnSlot (null when none), and its integer value.
const ZcDbKeptGroup* codecOwnGroup(const ZcDbObject& obj, int code);
std::optional<std::int64_t> codecOwnInteger(const ZcDbObject& obj, int code);

}  // namespace vtcad::dxf
