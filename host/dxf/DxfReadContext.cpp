// The state codecs share while a drawing is read.
#include "dxf/DxfReadContext.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

#include "database/ZcDbFileAccess.h"
#include "dxf/DxfGroupCode.h"
#include "dxf/DxfTagReader.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/db/ZcDbLinetypeTable.h"
#include "zcad/db/ZcDbTextStyleTable.h"

namespace vtcad::dxf {
namespace {

// Values quoted in messages are cut short: a damaged file may hold megabytes on one line.
std::string quoted(std::string_view value) {
  constexpr size_t kMax = 40;
  std::string out = "'";
  out.append(value.substr(0, kMax));
  if (value.size() > kMax) out += "...";
  out += "'";
  return out;
}

// Coordinates of a point come as x, y, z groups ten codes apart: 10/20/30 up to 18/28/38,
// 110-112, 210, 1010-1013 (and their y and z). Answers the x code and the axis, or nullopt.
struct PointAxis {
  int firstCode;
  int axis;
};
std::optional<PointAxis> pointAxisOf(int code) {
  auto in = [code](int x0, int x1, int axis) { return code >= x0 + 10 * axis && code <= x1 + 10 * axis; };
  for (int axis = 0; axis < 3; ++axis) {
    if (in(10, 18, axis) || in(110, 112, axis) || in(210, 210, axis) || in(1010, 1013, axis))
      return PointAxis{code - 10 * axis, axis};
  }
  return std::nullopt;
}

bool isHexText(std::string_view text) {
  if (text.size() % 2 != 0) return false;
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

// Whether the value of a group is what its code says it holds (texts always are).
bool valueReadable(const Tag& tag) {
  switch (valueTypeOf(tag.code)) {
    case ValueType::kDouble:
      return tag.toDouble().has_value();
    case ValueType::kInt16:
    case ValueType::kInt32:
    case ValueType::kInt64:
    case ValueType::kBool:
      return tag.toInt().has_value();
    case ValueType::kBinary:
      return isHexText(tag.trimmed());
    case ValueType::kString:
    case ValueType::kUnknown:
      return true;
  }
  return true;
}

}  // namespace

ReadContext::ReadContext(ZcDbDatabase& db, LoadResult& result, std::string_view file)
    : db_(db), result_(result), decoder_(std::make_unique<TextDecoder>(/*utf8=*/false, "")), file_(file) {}

ReadContext::ReadContext(const ReadContext& main, const ReadSnapshot& snapshot, LoadResult& scratch)
    : db_(main.db_),
      result_(scratch),
      // A decoder of its own: the code page's converter keeps state from call to call.
      decoder_(std::make_unique<TextDecoder>(main.utf8_, main.dwgCodepage_)),
      utf8_(main.utf8_),
      dwgCodepage_(main.dwgCodepage_),
      version_(main.version_),
      snapshot_(&snapshot),
      file_(main.file_),
      handseedKnown_(true) {}

ReadSnapshot ReadContext::snapshot() const {
  assert(snapshot_ == nullptr);
  ReadSnapshot snap;
  const auto remember = [&](ZcDbObjectId id) {
    const ZcDbObject* obj = ZcDbFileAccess::peek(id);
    if (obj != nullptr && ZcDbEntity::cast(obj) != nullptr) return;
    snap.handles.emplace(id.handle().value(), id);
  };
  ZcDbFileAccess::forEachLive(&db_, remember);
  for (ZcDbObjectId id : ZcDbFileAccess::unresolvedIds(&db_)) remember(id);
  const auto names = [&](ZcDbObjectId tableId, std::map<std::wstring, ZcDbObjectId, std::less<>>& into) {
    const auto* table = ZcDbSymbolTable::cast(ZcDbFileAccess::peek(tableId));
    if (table == nullptr) return;
    for (ZcDbObjectId id : table->recordIds()) {
      const auto* record = ZcDbSymbolTableRecord::cast(ZcDbFileAccess::peek(id));
      if (record == nullptr || id.isErased()) continue;
      const ZcString name = record->name();
      ZcDbObjectId found;
      // Names alike but for case: only the one the table answers for its own name.
      if (table->getAt(name.kwszPtr(), found) == Zcad::eOk && found == id) into.emplace(name.kwszPtr(), id);
    }
  };
  names(db_.layerTableId(), snap.layers);
  names(db_.linetypeTableId(), snap.linetypes);
  names(db_.textStyleTableId(), snap.textStyles);
  names(db_.blockTableId(), snap.blocks);
  snap.layerAliases = layerAliases_;
  if (const auto* table = ZcDbSymbolTable::cast(ZcDbFileAccess::peek(db_.textStyleTableId())))
    table->getAt(L"Standard", snap.standardTextStyle);
  return snap;
}

ZcDbObjectId ReadContext::fromSnapshot(const std::map<std::wstring, ZcDbObjectId, std::less<>>& names,
                                       const std::wstring& name) {
  if (auto it = names.find(name); it != names.end()) return it->second;
  declined_ = true;
  return ZcDbObjectId();
}

ZcDbObjectId ReadContext::standardTextStyle() {
  if (snapshot_ != nullptr) {
    if (snapshot_->standardTextStyle.isNull()) declined_ = true;
    return snapshot_->standardTextStyle;
  }
  ZcDbTextStyleTable* table = nullptr;
  ZcDbObjectId id;
  if (zcdbOpenObject(table, db_.textStyleTableId(), ZcDb::kForRead) != Zcad::eOk) return id;
  table->getAt(L"Standard", id);
  table->close();
  return id;
}

void ReadContext::beforeMakingObjects() {
  if (snapshot_ != nullptr) {
    declined_ = true;
    return;
  }
  if (handseedKnown_) return;
  handseedKnown_ = true;
  TagReader tags(file_);
  Tag tag;
  std::uint64_t highest = 0;
  bool dimStyle = false;
  while (tags.next(tag)) {
    if (tag.code == 0) dimStyle = tag.trimmed() == "DIMSTYLE";
    if (tag.code == 5 || (tag.code == 105 && dimStyle)) {
      std::string_view text = tag.trimmed();
      std::uint64_t value = 0;
      if (text.size() <= 16 && std::from_chars(text.data(), text.data() + text.size(), value, 16).ptr ==
                                   text.data() + text.size()) {
        highest = std::max(highest, value);
      }
    }
  }
  ZcDbFileAccess::raiseHandseed(&db_, highest + 1);
}

void ReadContext::setEncoding(bool utf8, std::string_view dwgCodepage) {
  utf8_ = utf8;
  dwgCodepage_ = dwgCodepage;
  decoder_ = std::make_unique<TextDecoder>(utf8, dwgCodepage);
}

void ReadContext::add(LoadMessage message) {
  if (snapshot_ != nullptr) {
    // Messages are the first thread's to give, in the file's order.
    declined_ = true;
    return;
  }
  // A badly damaged file could repeat one fault a million times: the first ones tell enough.
  constexpr size_t kMaxMessages = 1000;
  std::vector<LoadMessage>& messages = result_.messages;
  if (messages.size() < kMaxMessages) {
    messages.push_back(std::move(message));
  } else if (messages.size() == kMaxMessages) {
    messages.push_back(
        LoadMessage{message.line, "more problems follow; only the first 1000 are listed", message.severity});
  }
}

void ReadContext::warn(std::uint32_t line, std::string text) {
  add(LoadMessage{line, std::move(text), LoadSeverity::kRepair});
}

void ReadContext::lose(std::uint32_t line, std::string text) {
  LoadMessage message{line, std::move(text), LoadSeverity::kLoss};
  ++result_.losses;
  if (!firstLoss_) firstLoss_ = message;
  add(std::move(message));
}

void ReadContext::markLost(size_t mark) {
  std::vector<LoadMessage>& messages = result_.messages;
  for (size_t i = mark; i < messages.size(); ++i) {
    if (messages[i].severity == LoadSeverity::kLoss) continue;
    messages[i].severity = LoadSeverity::kLoss;
    ++result_.losses;
    if (!firstLoss_) firstLoss_ = messages[i];
  }
}

bool ReadContext::keepable(std::vector<ZcDbKeptGroup>& into, const Tag& tag) {
  std::optional<PointAxis> axis = pointAxisOf(tag.code);
  DroppedPoint dropped = droppedPoint_;
  droppedPoint_ = DroppedPoint{};
  const bool reported = reportedUnreadable(tag);
  if (!reported && valueReadable(tag)) {
    // The y or z after an x that could not be read goes with it.
    if (axis && dropped.into == &into && axis->firstCode == dropped.firstCode && axis->axis > dropped.axis) {
      droppedPoint_ = DroppedPoint{&into, axis->firstCode, axis->axis};
      return false;
    }
    return true;
  }
  if (!reported) {
    lose(tag, "group " + std::to_string(tag.code) + ": " + quoted(tag.value) +
                  (valueTypeOf(tag.code) == ValueType::kBinary ? " is not hex data" : " is not a number") +
                  " and was left out");
  }
  if (axis) {
    // The coordinates kept before it are of the same point: they go too.
    while (!into.empty()) {
      std::optional<PointAxis> before = pointAxisOf(into.back().code);
      if (!before || before->firstCode != axis->firstCode || before->axis >= axis->axis) break;
      into.pop_back();
    }
    droppedPoint_ = DroppedPoint{&into, axis->firstCode, axis->axis};
  }
  return false;
}

void ReadContext::keep(ZcDbObject& obj, const BodyGroup& group) { keep(obj, group.tag, group.slot); }

void ReadContext::keep(ZcDbObject& obj, const Tag& tag, std::uint16_t slot) {
  std::vector<ZcDbKeptGroup>& into = ZcDbFileAccess::keptGroupsForWrite(&obj);
  if (!keepable(into, tag)) return;
  ZcDbKeptGroup kept;
  kept.code = static_cast<Zdesk::Int16>(tag.code);
  kept.slot = slot;
  ValueType type = valueTypeOf(tag.code);
  if (type == ValueType::kString || type == ValueType::kUnknown) {
    kept.value = decoder_->toUtf8(tag.value);
  } else {
    kept.value.assign(tag.value);
  }
  if (isReferenceCode(tag.code)) kept.ref = idOfHandle(tag);
  into.push_back(std::move(kept));
}

void ReadContext::notANumber(const Tag& tag) {
  unreadable(tag);
  lose(tag, "group " + std::to_string(tag.code) + ": " + quoted(tag.value) + " is not a number");
}

std::optional<std::int64_t> ReadContext::integer(const Tag& tag) {
  std::optional<std::int64_t> v = tag.toInt();
  if (!v) {
    unreadable(tag);
    lose(tag, "group " + std::to_string(tag.code) + ": " + quoted(tag.value) + " is not a whole number");
  }
  return v;
}

namespace {

template <typename At>
ReadContext::PointRead readPoint(ReadContext& ctx, size_t n, size_t i, At at) {
  ReadContext::PointRead result;
  const Tag& x = at(i);
  int code = x.code;
  std::optional<double> vx = ctx.real(x);
  if (!vx) return result;
  if (i + 1 >= n || at(i + 1).code != code + 10) {
    ctx.unreadable(x);
    ctx.lose(x, "group " + std::to_string(code) + ": the point has no y value (group " +
                    std::to_string(code + 10) + ")");
    return result;
  }
  std::optional<double> vy = ctx.real(at(i + 1));
  if (!vy) return result;
  double vz = 0.0;
  result.taken = 2;
  if (i + 2 < n && at(i + 2).code == code + 20) {
    std::optional<double> z = ctx.real(at(i + 2));
    if (!z) return result;
    vz = *z;
    result.taken = 3;
  }
  result.point = ZcGePoint3d(*vx, *vy, vz);
  return result;
}

}  // namespace

ReadContext::PointRead ReadContext::point(std::span<const BodyGroup> body, size_t i) {
  return readPoint(*this, body.size(), i, [&](size_t k) -> const Tag& { return body[k].tag; });
}

ReadContext::PointRead ReadContext::point(std::span<const Tag> tags, size_t i) {
  return readPoint(*this, tags.size(), i, [&](size_t k) -> const Tag& { return tags[k]; });
}

ZcDbObjectId ReadContext::idOfHandle(const Tag& tag) { return idOfHandle(tag.trimmed()); }

ZcDbObjectId ReadContext::idOfHandle(std::string_view hexText) {
  std::uint64_t value = 0;
  if (hexText.empty() || hexText.size() > 16) return ZcDbObjectId();
  auto [end, ec] = std::from_chars(hexText.data(), hexText.data() + hexText.size(), value, 16);
  if (ec != std::errc() || end != hexText.data() + hexText.size() || value == 0) return ZcDbObjectId();
  if (snapshot_ != nullptr) {
    if (auto it = snapshot_->handles.find(value); it != snapshot_->handles.end()) return it->second;
    declined_ = true;  // a handle not seen yet gets its id from the first thread
    return ZcDbObjectId();
  }
  return ZcDbFileAccess::idOfHandle(&db_, ZcDbHandle(value));
}

ZcDbObjectId ReadContext::layerNamed(const std::wstring& name, const Tag& at) {
  return recordNamed(db_.layerTableId(), name, at, kLayer);
}

ZcDbObjectId ReadContext::linetypeNamed(const std::wstring& name, const Tag& at) {
  return recordNamed(db_.linetypeTableId(), name, at, kLinetype);
}

ZcDbObjectId ReadContext::textStyleNamed(const std::wstring& name, const Tag& at) {
  return recordNamed(db_.textStyleTableId(), name, at, kTextStyle);
}

ZcDbObjectId ReadContext::blockNamed(const std::wstring& name) {
  if (snapshot_ != nullptr) return name.empty() ? ZcDbObjectId() : fromSnapshot(snapshot_->blocks, name);
  ZcDbObjectId id = existingBlockNamed(name);
  if (!id.isNull() || name.empty()) return id;
  auto* table = ZcDbSymbolTable::cast(ZcDbFileAccess::peek(db_.blockTableId()));
  if (!table) return id;
  beforeMakingObjects();
  auto* block = new ZcDbBlockTableRecord;
  ZcDbFileAccess::setRecordName(block, ZcString(name.c_str()));
  if (ZcDbFileAccess::add(&db_, block, db_.blockTableId(), ZcDbHandle(), id) != Zcad::eOk) {
    delete block;
    return ZcDbObjectId();
  }
  ZcDbFileAccess::appendRecord(table, id);
  pendingBlocks_.push_back(id);
  return id;
}

void ReadContext::blockDefined(ZcDbObjectId id) { std::erase(pendingBlocks_, id); }

ZcDbObjectId ReadContext::existingBlockNamed(const std::wstring& name) const {
  ZcDbBlockTable* table = nullptr;
  ZcDbObjectId id;
  if (zcdbOpenObject(table, db_.blockTableId(), ZcDb::kForRead) != Zcad::eOk) return id;
  table->getAt(name.c_str(), id);
  table->close();
  return id;
}

void ReadContext::noteXDataApplications(const resbuf* chain) {
  if (snapshot_ != nullptr) {
    declined_ = true;
    return;
  }
  for (const resbuf* rb = chain; rb; rb = rb->rbnext) {
    if (rb->restype != 1001 || !rb->resval.rstring) continue;
    const std::wstring_view name(rb->resval.rstring);
    // A drawing names a few applications, each on many objects: the last one is the usual hit.
    if (!xdataApplications_.empty() && xdataApplications_.back() == name) continue;
    if (std::find(xdataApplications_.begin(), xdataApplications_.end(), name) == xdataApplications_.end()) {
      xdataApplications_.emplace_back(name);
    }
  }
}

ZcDbObjectId ReadContext::recordOfGroup(const Tag& tag, int kind) {
  const int k = kind == kLayer ? 0 : 1;
  for (const RecentGroup& recent : recentGroups_[k]) {
    if (!recent.id.isNull() && recent.bytes == tag.value) return recent.id;
  }
  const auto remember = [&](ZcDbObjectId id) {
    recentGroups_[k][nextRecentGroup_[k]++ % kRecentGroups] = RecentGroup{std::string(tag.value), id};
    return id;
  };
  auto& cache = byGroupBytes_[k];
  if (auto it = cache.find(tag.value); it != cache.end()) return remember(it->second);
  std::wstring name = text(tag);
  if (name.empty()) return ZcDbObjectId();
  ZcDbObjectId id = kind == kLayer ? layerNamed(name, tag) : linetypeNamed(name, tag);
  // A file of a million names (damage, generated drawings) does not grow it without end.
  constexpr size_t kMostRemembered = 4096;
  if (cache.size() >= kMostRemembered) cache.clear();
  if (id.isNull()) return id;
  cache.emplace(std::string(tag.value), id);
  return remember(id);
}

ZcDbObjectId ReadContext::recordNamed(ZcDbObjectId tableId, const std::wstring& name, const Tag& at,
                                      int kind) {
  LastLookup& last = lastLookup_[kind];
  if (!last.id.isNull() && last.name == name) return last.id;
  if (snapshot_ != nullptr) {
    if (kind == kLayer) {
      if (auto alias = snapshot_->layerAliases.find(name); alias != snapshot_->layerAliases.end())
        return alias->second;
    }
    return fromSnapshot(kind == kLayer      ? snapshot_->layers
                        : kind == kLinetype ? snapshot_->linetypes
                                            : snapshot_->textStyles,
                        name);
  }
  if (kind == kLayer && !layerAliases_.empty()) {
    if (auto alias = layerAliases_.find(name); alias != layerAliases_.end()) return alias->second;
  }
  ZcDbSymbolTable* table = nullptr;
  ZcDbObjectId id;
  if (tableId.isNull()) {
    // A record named before its table was read (a LAYER table before the LTYPE table, or
    // no LTYPE table at all): the table is made now and the file's, if it comes, joins it.
    beforeMakingObjects();
    ZcDbObject* made = nullptr;
    switch (kind) {
      case kLayer:
        made = new ZcDbLayerTable;
        break;
      case kLinetype:
        made = new ZcDbLinetypeTable;
        break;
      default:
        made = new ZcDbTextStyleTable;
        break;
    }
    if (ZcDbFileAccess::add(&db_, made, ZcDbObjectId(), ZcDbHandle(), tableId) != Zcad::eOk) {
      delete made;
      return id;
    }
  }
  if (zcdbOpenObject(table, tableId, ZcDb::kForRead) != Zcad::eOk) return id;
  if (table->getAt(name.c_str(), id) != Zcad::eOk) {
    beforeMakingObjects();
    // Simple writers leave out the tables: a CAD program makes the records the entities
    // name, with default properties.
    ZcDbSymbolTableRecord* record = nullptr;
    switch (kind) {
      case kLayer:
        record = new ZcDbLayerTableRecord;
        break;
      case kLinetype:
        record = new ZcDbLinetypeTableRecord;
        break;
      default:
        record = new ZcDbTextStyleTableRecord;
        break;
    }
    ZcDbFileAccess::setRecordName(record, ZcString(name.c_str()));
    if (table->upgradeOpen() == Zcad::eOk &&
        ZcDbFileAccess::add(&db_, record, tableId, ZcDbHandle(), id) == Zcad::eOk) {
      ZcDbFileAccess::appendRecord(table, id);
      static const char* const kWhat[] = {"layer", "linetype", "text style"};
      warn(at, std::string(kWhat[kind]) + " '" + wideToUtf8(name) +
                   "' was missing from the tables and was added");
    } else {
      delete record;
      id.setNull();
    }
  }
  table->close();
  last.name = name;
  last.id = id;
  return id;
}

}  // namespace vtcad::dxf
