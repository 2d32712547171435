#pragma once
// Writes a whole database as an ASCII DXF R2013 (AC1027) drawing.
#include <array>
#include <cstdint>
#include <functional>
#include <set>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "dxf/DxfTagWriter.h"
#include "dxf/DxfWriteContext.h"

class ZcDbDatabase;
class ZcDbBlockTableRecord;
class ZcDbStub;
class ZcRxClass;
class ZcDbObject;

namespace vtcad::dxf {

// When a second thread writes part of a space's entities: from `writeAheadFrom` entities on,
// on a machine with two cores or more (any machine when it is 0, which tests use), the list
// cut into `pieces` pieces the two threads share.
struct WriteTuning {
  size_t writeAheadFrom = 20000;
  size_t pieces = 64;
};

class DocumentWriter {
 public:
  explicit DocumentWriter(ZcDbDatabase& db, const WriteTuning& tuning = {});
  std::string write();
  // Writes to `sink` in pieces as the text is made (saving a file); false when the sink failed.
  bool writeTo(const std::function<bool(std::string_view)>& sink);
  // One object's record, the records that follow it, and its sub-objects.
  void writeObject(ZcDbObjectId id);
  // Objects written so far (of about db.approxNumObjects()): how far saving has come.
  size_t objectsWritten() const { return written_; }
  // Second thread: writes the entities of `ids` in order while they are of the kinds whose
  // writing reads nothing but the objects and the names and handles of others (lines, arcs,
  // circles, polylines, points, ellipses, splines, texts, block references). The text, and
  // how many of `ids` it holds.
  struct EntitiesText {
    std::string text;
    size_t count = 0;    // of the ids
    size_t objects = 0;  // objects written, followers included
  };
  EntitiesText writeEntitiesAlone(std::span<const ZcDbObjectId> ids);

 private:
  void plan();
  void writeHeader();
  // $DWGCODEPAGE, $INSBASE, $LIMMIN, $LIMMAX with their defaults, each unless `written`.
  void writeExpectedHeaderVariables(const std::set<std::wstring>& written);
  void writeClasses();
  void writeTables();
  void writeTable(ZcDbObjectId tableId, std::string_view name);
  void writeBlocks();
  void writeBlockEnds(const ZcDbBlockTableRecord& block, bool begin);
  void writeEntities();
  // The entities of a space, shared with a second thread when there are many.
  void writeEntityList(std::span<const ZcDbObjectId> ids);
  void writeObjects();
  void writeAll();
  // One pass over the objects: those written in OBJECTS (in handle order) and the plug-in
  // classes in use.
  void survey();
  std::uint64_t handleOrNew(const ZcDbBlockTableRecord& block, std::uint16_t slot);

  // What writing an object needs to know of its class, found once per class and save: the
  // class tests cost as much as writing a small entity.
  struct ClassPlan {
    const ObjectCodec* codec = nullptr;  // null for a kept record or a class without a file form
    bool entity = false;
    bool kept = false;         // a record of a type the reader did not know, kept as it was
    bool dimStyle = false;     // its handle is group 105
    bool inObjects = false;    // written in the OBJECTS section
    bool pluginClass = false;  // filed by a plug-in class's codec, listed in CLASSES
  };
  const ClassPlan& planOf(const ZcDbObject& obj);

  ZcDbDatabase& db_;
  TagWriter out_;
  WriteContext ctx_;
  WriteTuning tuning_;
  std::uint64_t next_ = 0;
  size_t written_ = 0;  // handles for records that are not objects (a new block's BLOCK)
  struct BlockHandles {
    std::uint64_t begin = 0, end = 0;
  };
  std::unordered_map<const void*, BlockHandles> blockHandles_;
  std::vector<ZcDbObjectId> objects_;
  struct ClassUse {
    int count = 0;
    bool entity = false;
  };
  std::vector<std::pair<const ZcRxClass*, ClassUse>> pluginClasses_;
  std::unordered_map<const ZcRxClass*, ClassPlan> plans_;
  std::array<std::pair<const ZcRxClass*, const ClassPlan*>, 16> recentPlans_{};
};

}  // namespace vtcad::dxf
