#pragma once
// A codec reads the groups of one DXF record type into an object of the database and writes
// the object back. The document reader handles what every record has (handle, owner,
// application data, reactors, extension dictionary, extended data and, for entities, the
// AcDbEntity groups); a codec sees only the groups of its own subclasses and keeps every
// group it does not interpret with ctx.keep(), so that it is written back where it was.
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

#include "dxf/DxfTag.h"

class ZcDbObject;
class ZcRxClass;

namespace vtcad::dxf {

class ReadContext;
class WriteContext;

// Where a group sits in its record. Slot 0 is the head (before the first subclass marker);
// for an entity slot 1 is AcDbEntity; then one slot per subclass of the codec, in the order
// subclasses() names them. Records without subclass markers (R12 files) have all their
// groups in kNoMarkers; a group kept from such a record is written in the codec's last slot.
inline constexpr std::uint16_t kNoMarkers = 0xFFFE;
// Whole records that follow the object in the file and belong to it without being objects
// of the database (the ATTRIB records and SEQEND of a block reference), kept in this slot.
inline constexpr std::uint16_t kFollowingRecordsSlot = 0xFFFF;
// The BLOCK and ENDBLK records of a block definition, kept with its block table record.
inline constexpr std::uint16_t kBlockBeginSlot = 0xFFF0;
inline constexpr std::uint16_t kBlockEndSlot = 0xFFF1;
// Slots from here up are a codec's own: the writer never writes them by itself (a codec keeps
// there what it writes back in its own place, such as flag bits its class cannot hold).
inline constexpr std::uint16_t kFirstCodecOwnSlot = 0xFFE0;

// The subclass markers of a record type: a handful, held without a heap allocation (one per
// object read or written otherwise); a longer list moves to the heap.
class SubclassNames {
 public:
  SubclassNames() = default;
  SubclassNames(std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) push_back(name);
  }
  void push_back(std::string_view name) {
    if (size_ < kInline && spilled_.empty()) {
      inline_[size_++] = name;
      return;
    }
    if (spilled_.empty())
      spilled_.assign(inline_.begin(), inline_.begin() + static_cast<std::ptrdiff_t>(size_));
    spilled_.push_back(name);
    ++size_;
  }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const std::string_view* begin() const { return spilled_.empty() ? inline_.data() : spilled_.data(); }
  const std::string_view* end() const { return begin() + size_; }
  std::string_view operator[](size_t i) const { return begin()[i]; }

 private:
  static constexpr size_t kInline = 4;
  std::array<std::string_view, kInline> inline_{};
  std::vector<std::string_view> spilled_;
  size_t size_ = 0;
};

struct BodyGroup {
  Tag tag;
  std::uint16_t slot = 0;
};

class ObjectCodec {
 public:
  virtual ~ObjectCodec() = default;
  // The record type: "LINE", "LAYER", "DICTIONARY".
  virtual std::string_view dxfName() const = 0;
  // The runtime class written with this codec (exact class, not derived ones).
  virtual ZcRxClass* rxClass() const = 0;
  // Subclass markers after AcDbEntity (entities) or after the head (other objects), in the
  // order they are written: {"AcDbLine"}, {"AcDbSymbolTableRecord", "AcDbLayerTableRecord"}.
  // An object may choose among alternatives (a 2-D or 3-D polyline): `obj` is the object
  // being read or written.
  virtual SubclassNames subclasses(const ZcDbObject& obj) const = 0;
  // A new object for the record (not in a database); `record` is every group of the record
  // after (0, TYPE). Null when this record cannot become an object of the database (a
  // polygon mesh read by the POLYLINE codec): the record is then kept as it is.
  virtual ZcDbObject* create(std::span<const Tag> record, ReadContext& ctx) const = 0;
  // Reads the groups of the codec's subclasses into `obj` (created by create()). Every group
  // not taken goes to ctx.keep(). False when a value the object cannot do without is missing
  // or unusable: the object is then dropped, after ctx.warn() said why.
  virtual bool read(ZcDbObject& obj, std::span<const BodyGroup> body, ReadContext& ctx) const = 0;
  // Writes the codec's subclasses: for each, ctx.beginSubclass(name) and its groups.
  virtual void write(const ZcDbObject& obj, WriteContext& ctx) const = 0;

  // Entities made of several records. A POLYLINE's VERTEX records and its SEQEND are objects
  // of the database (kObjects): the reader reads each with the codec of its type (head and
  // AcDbEntity groups included) and hands it to adoptFollower(), not yet in the database, with
  // the handle the file gave it (null: none); the codec adds it to the database and to
  // `owner` (see ZcDbFileAccess), or answers false to have it kept as a record. The ATTRIB
  // records and SEQEND after a block reference are kept as they are (kKeptRecords) and
  // written back after the object. `record` is every group of the owner's record.
  enum class Followers { kNone, kObjects, kKeptRecords };
  virtual Followers followers(const ZcDbObject& /*obj*/, std::span<const Tag> /*record*/) const {
    return Followers::kNone;
  }
  virtual bool adoptFollower(ZcDbObject& /*owner*/, ZcDbObject* /*follower*/, std::uint64_t /*handle*/,
                             ReadContext& /*ctx*/) const {
    return false;
  }
  // Writes the objects adopted (with ctx.writeObject) after the owner's record.
  virtual void writeFollowers(const ZcDbObject& /*obj*/, WriteContext& /*ctx*/) const {}
};

// The codec of a record type ("LINE"), or null.
const ObjectCodec* codecForDxfName(std::string_view dxfName);
// The codec that writes objects of exactly this class, or null.
const ObjectCodec* codecForClass(const ZcRxClass* cls);

}  // namespace vtcad::dxf
