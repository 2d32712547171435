#pragma once
// What codecs need while a drawing is read: the database being filled, the text decoder of
// the file, handles turned into ids, the place to keep groups the codec does not interpret,
// and the list of repairs made.
#include <cassert>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dxf/DxfCodec.h"
#include "dxf/DxfFile.h"
#include "dxf/DxfTag.h"
#include "dxf/DxfText.h"
#include "zcad/ZcadErrorStatus.h"
#include "zcad/db/ZcDbObjectId.h"
#include "zcad/ge/ZcGePoint3d.h"
#include "zcad/ge/ZcGeVector3d.h"
#include "zcad/zds.h"

class ZcDbDatabase;
struct ZcDbKeptGroup;

namespace vtcad::dxf {

// What a second reading thread may look up: the drawing as it stood when the ENTITIES
// section began. The reader only adds records and handles while it reads, never changes or
// removes one, so what is found here is what the first thread would find later too.
struct ReadSnapshot {
  std::unordered_map<std::uint64_t, ZcDbObjectId> handles;  // every object but the entities
  // By exact name, only names the table itself finds as this record.
  std::map<std::wstring, ZcDbObjectId, std::less<>> layers, linetypes, textStyles, blocks;
  std::map<std::wstring, ZcDbObjectId> layerAliases;
  ZcDbObjectId standardTextStyle;
};

class ReadContext {
 public:
  // `file` is the whole file being read (for the handles it uses, see beforeMakingObjects).
  // Messages and the count of losses go to `result`.
  ReadContext(ZcDbDatabase& db, LoadResult& result, std::string_view file = {});
  // A context for a second thread, reading what `main` reads, against `snapshot` instead of
  // the database: it never changes the database nor looks into it. Whatever would (a name or
  // handle not in the snapshot, extended data) and every message declines the record: the
  // thread drops it and leaves it to the first. `scratch` takes what it would report.
  ReadContext(const ReadContext& main, const ReadSnapshot& snapshot, LoadResult& scratch);
  ReadContext(const ReadContext&) = delete;
  ReadContext& operator=(const ReadContext&) = delete;

  // The drawing's records and handles as they are now, for a second thread's context.
  ReadSnapshot snapshot() const;
  // A second thread's context met something it must not do for the record being read.
  bool declined() const { return declined_; }

  // Objects the reader makes (records the tables lack) must not take a handle that a later
  // object of the file has. The file's $HANDSEED says which are free; a file without it is
  // scanned once for its handles before the first object is made.
  void handseedRead() { handseedKnown_ = true; }
  void beforeMakingObjects();

  ZcDbDatabase& database() {
    assert(snapshot_ == nullptr);  // a second thread's context must not touch the database
    return db_;
  }
  const TextDecoder& decoder() const { return *decoder_; }
  // Chosen from $ACADVER and $DWGCODEPAGE once the header has been read.
  void setEncoding(bool utf8, std::string_view dwgCodepage);
  // The file's version as a number: 1009 for "AC1009" (R12), 1027 for R2013; 0 unknown.
  int version() const { return version_; }
  void setVersion(int version) { version_ = version; }

  // A repair (the drawing still has what the file said), reported with the line of the
  // group it concerns.
  void warn(const Tag& at, std::string text) { warn(at.line, std::move(text)); }
  void warn(std::uint32_t line, std::string text);
  // Something the file said that is not in the drawing: the rest of a cut-off file, a value
  // that cannot be read, a record that cannot be used.
  void lose(const Tag& at, std::string text) { lose(at.line, std::move(text)); }
  void lose(std::uint32_t line, std::string text);
  // A record is left out: the messages from `mark` on (taken before it was read) say why,
  // so they tell what was lost.
  size_t messageMark() const { return result_.messages.size(); }
  void markLost(size_t mark);
  // The first loss, the one a refusal names.
  const std::optional<LoadMessage>& firstLoss() const { return firstLoss_; }

  // Whether a group the codec does not interpret can be kept and written back as it is: a
  // number that does not parse (or binary data that is not hex) is left out with the rest of
  // its point, and reported as lost once. `into` is the list the group would join.
  bool keepable(std::vector<ZcDbKeptGroup>& into, const Tag& tag);
  // A group just reported as unreadable (a number that does not parse, the x of a point
  // without its y): keeping it leaves it out without saying so again.
  void unreadable(const Tag& tag) {
    lastUnreadableLine_ = tag.line;
    lastUnreadableCode_ = tag.code;
  }
  bool reportedUnreadable(const Tag& tag) const {
    return tag.line == lastUnreadableLine_ && tag.code == lastUnreadableCode_;
  }

  // Keeps a group that the codec does not interpret with `obj`, to be written back in the
  // slot it came from. Reference groups keep the object they name.
  void keep(ZcDbObject& obj, const BodyGroup& group);
  void keep(ZcDbObject& obj, const Tag& tag, std::uint16_t slot);

  // Values. Text is decoded (code page, \U+ escapes); numbers that do not parse are
  // reported and answered as nullopt.
  std::wstring text(const Tag& tag) const { return decoder_->decode(tag.value); }
  std::optional<double> real(const Tag& tag) {
    std::optional<double> v = parseDouble(tag.value);
    if (!v) notANumber(tag);
    return v;
  }
  std::optional<std::int64_t> integer(const Tag& tag);
  // A point from groups code, code+10, code+20 starting at body[i] (x, then y and z when
  // they follow; z defaults to 0). `taken` is how many groups it used.
  struct PointRead {
    std::optional<ZcGePoint3d> point;
    size_t taken = 1;
  };
  PointRead point(std::span<const BodyGroup> body, size_t i);
  PointRead point(std::span<const Tag> tags, size_t i);

  // An extrusion direction (210, 220, 230) at body[i], given to `setNormal`; a direction the
  // class refuses is kept as it was, with a message naming `what`. Answers the groups used,
  // 0 when there is no point there (the caller keeps the group).
  template <typename SetNormal>
  size_t extrusion(ZcDbObject& obj, std::span<const BodyGroup> body, size_t i, std::string_view what,
                   SetNormal setNormal) {
    PointRead p = point(body, i);
    if (!p.point) return 0;
    if (setNormal(p.point->asVector()) != Zcad::eOk) {
      warn(body[i].tag, std::string(what) + ": the extrusion direction was refused and kept as it was");
      for (const BodyGroup& kept : body.subspan(i, p.taken)) keep(obj, kept);
    }
    return p.taken;
  }

  // The object a handle group names; a handle not seen yet gets an empty id that the object
  // fills when it comes. Null for "0", empty or malformed handles.
  ZcDbObjectId idOfHandle(const Tag& tag);
  ZcDbObjectId idOfHandle(std::string_view hexText);
  // Layer and linetype records by name, made (with a message) when the tables lack them.
  ZcDbObjectId layerNamed(const std::wstring& name, const Tag& at);
  ZcDbObjectId linetypeNamed(const std::wstring& name, const Tag& at);
  // The layer or linetype an entity's 8 or 6 group names, by the group's bytes: a drawing
  // names a handful of layers a million times, each decoded and looked up once. Null for an
  // empty name (kept by the caller).
  ZcDbObjectId layerOfGroup(const Tag& tag) { return recordOfGroup(tag, kLayer); }
  ZcDbObjectId linetypeOfGroup(const Tag& tag) { return recordOfGroup(tag, kLinetype); }
  ZcDbObjectId textStyleNamed(const std::wstring& name, const Tag& at);
  // The "Standard" style a text without group 7 uses, when the drawing has it (it is not made
  // here: the document reader completes the tables once the file is read).
  ZcDbObjectId standardTextStyle();
  // A layer renamed while read (its name in the file was not a valid one) is still found by
  // the name the file gives it.
  void layerKnownAs(const std::wstring& fileName, ZcDbObjectId id) { layerAliases_[fileName] = id; }
  // A block named before its definition (R12 files have no BLOCK_RECORD table to announce
  // it) is made empty and filled when its BLOCK comes; undefinedBlocks() lists those that
  // never came.
  ZcDbObjectId blockNamed(const std::wstring& name);
  ZcDbObjectId existingBlockNamed(const std::wstring& name) const;
  void blockDefined(ZcDbObjectId id);
  const std::vector<ZcDbObjectId>& undefinedBlocks() const { return pendingBlocks_; }

  // What the end of reading looks at again, noted while reading instead of found by a walk
  // over every object: block records and layouts read (for mending their links), and the
  // applications extended data names (for the APPID table), each name once.
  void noteLayoutCandidate(ZcDbObjectId id) { layoutCandidates_.push_back(id); }
  const std::vector<ZcDbObjectId>& layoutCandidates() const { return layoutCandidates_; }
  void noteXDataApplications(const resbuf* chain);
  const std::vector<std::wstring>& xdataApplications() const { return xdataApplications_; }

 private:
  ZcDbObjectId recordNamed(ZcDbObjectId tableId, const std::wstring& name, const Tag& at, int kind);

  void add(LoadMessage message);
  void notANumber(const Tag& tag);

  ZcDbDatabase& db_;
  LoadResult& result_;
  std::optional<LoadMessage> firstLoss_;
  std::uint32_t lastUnreadableLine_ = 0;
  int lastUnreadableCode_ = -1;
  // A point whose coordinate could not be read: its further coordinates that follow in the
  // same list are left out with it.
  struct DroppedPoint {
    const std::vector<ZcDbKeptGroup>* into = nullptr;
    int firstCode = 0;  // x code of the point
    int axis = 0;       // 0 x, 1 y, 2 z: the coordinate that was unreadable
  };
  DroppedPoint droppedPoint_;
  std::unique_ptr<TextDecoder> decoder_;
  bool utf8_ = false;
  std::string dwgCodepage_;
  int version_ = 0;
  const ReadSnapshot* snapshot_ = nullptr;  // set in a second thread's context
  bool declined_ = false;
  // A second thread's lookups: the snapshot's answer, or null and declined.
  ZcDbObjectId fromSnapshot(const std::map<std::wstring, ZcDbObjectId, std::less<>>& names,
                            const std::wstring& name);
  // The last name looked up per table: consecutive entities share a layer.
  struct LastLookup {
    std::wstring name;
    ZcDbObjectId id;
  };
  LastLookup lastLookup_[3];
  enum Kind { kLayer = 0, kLinetype = 1, kTextStyle = 2 };
  ZcDbObjectId recordOfGroup(const Tag& tag, int kind);
  struct BytesHash {
    using is_transparent = void;
    size_t operator()(std::string_view bytes) const { return std::hash<std::string_view>{}(bytes); }
  };
  // By the bytes of the group, for layers and linetypes.
  std::unordered_map<std::string, ZcDbObjectId, BytesHash, std::equal_to<>> byGroupBytes_[2];
  // The last few found, compared before the map is hashed into: entities come in runs over
  // a handful of layers.
  struct RecentGroup {
    std::string bytes;
    ZcDbObjectId id;
  };
  static constexpr size_t kRecentGroups = 4;
  RecentGroup recentGroups_[2][kRecentGroups];
  unsigned nextRecentGroup_[2] = {0, 0};
  std::vector<ZcDbObjectId> pendingBlocks_;
  std::vector<ZcDbObjectId> layoutCandidates_;
  std::vector<std::wstring> xdataApplications_;
  std::map<std::wstring, ZcDbObjectId> layerAliases_;
  std::string_view file_;
  bool handseedKnown_ = false;
};

}  // namespace vtcad::dxf
