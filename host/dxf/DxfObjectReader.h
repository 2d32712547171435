#pragma once
// Reads one record into a new object: the head groups (handle, application data, owner),
// the AcDbEntity groups of entities and the extended data here, the rest by the codec of the
// record type (or kept whole for a type without one). The object is then added to the
// database under the owner the caller chooses.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/DxfCodec.h"
#include "dxf/DxfReadContext.h"
#include "dxf/DxfRecordReader.h"
#include "zcad/db/ZcDbObjectId.h"

class ZcDbObject;

namespace vtcad::dxf {

struct ParsedObject {
  std::unique_ptr<ZcDbObject> object;  // null: dropped (the context said why)
  const ObjectCodec* codec = nullptr;  // null for a kept record
  std::uint64_t handle = 0;            // 0: the file gave none
  ZcDbObjectId owner;                  // from the head's 330 group; null when none
  std::vector<ZcDbObjectId> reactors;
  ZcDbObjectId extensionDictionary;
  bool paperSpace = false;  // an entity with (67, 1)
  std::uint32_t line = 0;
};

class ObjectReader {
 public:
  explicit ObjectReader(ReadContext& ctx) : ctx_(ctx) {}

  // What becomes of a record the codec cannot read.
  enum class Unreadable : std::uint8_t {
    kLeaveOut,  // it is left out, and what its messages say is lost
    kRetry,     // the caller reads it again without the codec (kept as it is): nothing is lost
  };
  // `codec` null keeps the record whole. `entity` says whether the record is an entity
  // (from the section it is in), which decides the kind of a kept record.
  ParsedObject parse(const Record& record, const ObjectCodec* codec, bool entity,
                     Unreadable unreadable = Unreadable::kLeaveOut);
  // Adds the object to the database with its handle (a new one when the file's is missing
  // or taken, with a message for the latter), reactors and extension dictionary. Null id
  // when it could not be added (the object is then deleted).
  ZcDbObjectId add(ParsedObject& parsed, ZcDbObjectId owner);

 private:
  bool readEntityGroup(ZcDbObject& obj, const Tag& tag, ParsedObject& parsed);

  ReadContext& ctx_;
  std::vector<BodyGroup> body_;  // reused from record to record
  std::vector<Tag> ordered_;
};

// Handle of a (5, hex) group; 0 when malformed.
std::uint64_t parseHandle(std::string_view hexText);
// Upper-case hex text of a handle, as files write them.
std::string handleText(std::uint64_t handle);

}  // namespace vtcad::dxf
