// The sections of a drawing file: HEADER, CLASSES, TABLES, BLOCKS, ENTITIES, OBJECTS, and
// any other section (kept whole). Structure errors are repaired where the intent is clear (a
// missing ENDSEC, ENDTAB or ENDBLK closes at the next structural record) and reported with
// their line; a file without any section is refused.
#include "dxf/DxfDocumentReader.h"

#include <algorithm>
#include <cwctype>
#include <map>
#include <system_error>
#include <thread>
#include <utility>

#include "database/ZcDbFileAccess.h"
#include "dxf/DxfCodecs.h"
#include "dxf/DxfEntityReadAhead.h"
#include "dxf/DxfGroupCode.h"
#include "dxf/DxfLayouts.h"
#include "dxf/DxfObjectReader.h"
#include "dxf/DxfRecordReader.h"
#include "dxf/DxfXData.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbDictionary.h"
#include "zcad/db/ZcDbDimStyleTable.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/db/ZcDbLinetypeTable.h"
#include "zcad/db/ZcDbRegAppTable.h"
#include "zcad/db/ZcDbTextStyleTable.h"
#include "zcad/db/ZcDbUCSTable.h"
#include "zcad/db/ZcDbViewTable.h"
#include "zcad/db/ZcDbViewportTable.h"
#include "zcad/rx/ZcRxClass.h"

namespace vtcad::dxf {
namespace {

// Text for a message: control characters shown as '?'.
std::string printable(std::string_view text) {
  std::string shown(text);
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return shown;
}

std::wstring upper(std::wstring text) {
  for (auto& c : text) c = static_cast<wchar_t>(std::towupper(c));
  return text;
}

// Characters no layer name may hold; '*' only starts the special layers of some programs.
std::wstring validLayerName(std::wstring name) {
  constexpr std::wstring_view kInvalid = L"<>/\\\":;?*=`";
  const bool special = name.rfind(L"*ADSK_", 0) == 0 || name.rfind(L"*ACMAP", 0) == 0 ||
                       upper(name).rfind(L"*ADSK_", 0) == 0 || upper(name).rfind(L"*ACMAP", 0) == 0;
  for (size_t i = special ? 1 : 0; i < name.size(); ++i) {
    if (kInvalid.find(name[i]) != std::wstring_view::npos) name[i] = L'_';
  }
  return name;
}

bool isStructural(std::string_view type) {
  return type == "SECTION" || type == "ENDSEC" || type == "EOF" || type == "TABLE" || type == "ENDTAB" ||
         type == "BLOCK" || type == "ENDBLK";
}

struct TableKind {
  std::string_view name;    // (2, LAYER) of the TABLE record
  std::string_view record;  // type of its records
  ZcRxClass* (*tableClass)();
  ZcDbObject* (*make)();
};

const TableKind* tableKindOf(std::string_view name) {
  static const TableKind kinds[] = {
      {"VPORT", "VPORT", &ZcDbViewportTable::desc, []() -> ZcDbObject* { return new ZcDbViewportTable; }},
      {"LTYPE", "LTYPE", &ZcDbLinetypeTable::desc, []() -> ZcDbObject* { return new ZcDbLinetypeTable; }},
      {"LAYER", "LAYER", &ZcDbLayerTable::desc, []() -> ZcDbObject* { return new ZcDbLayerTable; }},
      {"STYLE", "STYLE", &ZcDbTextStyleTable::desc, []() -> ZcDbObject* { return new ZcDbTextStyleTable; }},
      {"VIEW", "VIEW", &ZcDbViewTable::desc, []() -> ZcDbObject* { return new ZcDbViewTable; }},
      {"UCS", "UCS", &ZcDbUCSTable::desc, []() -> ZcDbObject* { return new ZcDbUCSTable; }},
      {"APPID", "APPID", &ZcDbRegAppTable::desc, []() -> ZcDbObject* { return new ZcDbRegAppTable; }},
      {"DIMSTYLE", "DIMSTYLE", &ZcDbDimStyleTable::desc,
       []() -> ZcDbObject* { return new ZcDbDimStyleTable; }},
      {"BLOCK_RECORD", "BLOCK_RECORD", &ZcDbBlockTable::desc,
       []() -> ZcDbObject* { return new ZcDbBlockTable; }},
  };
  for (const TableKind& kind : kinds) {
    if (kind.name == name) return &kind;
  }
  return nullptr;
}

const TableKind* tableKindOfRecord(std::string_view recordType) {
  // Each table's records have the table's own name as their type.
  return tableKindOf(recordType);
}

class Reader {
 public:
  Reader(std::string_view data, Recovery recovery, const Progress& progress, const ReadTuning& tuning)
      : data_(data),
        recovery_(recovery),
        progress_(progress),
        tuning_(tuning),
        tags_(data),
        records_(tags_),
        db_(std::make_unique<ZcDbDatabase>(/*buildDefaultDrawing=*/false)),
        ctx_(*db_, result_, data),
        objects_(ctx_) {}

  LoadResult read();

 private:
  // The next record of the current section; false at its end. A record that can only start
  // something else (SECTION, EOF) ends the section with a message and comes again.
  bool nextInSection(std::string_view section);
  void checkTagError();
  // Tells how far reading has come every so many records; false once the listener asked to
  // stop (the rest of the file is then not read and the open is refused).
  bool keepGoing();

  void readHeader();
  void readHeaderVariables();
  void readClasses();
  void readTables();
  void readTable(const Record& head);
  void readBlocks();
  void readBlock(const Record& head);
  void readEntities();
  void readObjects();
  void keepSection(std::string_view name);

  // Reads an entity (and the records that follow it) into `block` (null: by its 67 group).
  void readEntity(const Record& record, ZcDbObjectId block);
  // Adds a parsed entity to `block`, or (null) to the space its 67 group or owner names.
  ZcDbObjectId addEntity(ParsedObject& parsed, ZcDbObjectId block);
  // A second thread for a large ENTITIES section, when it is worth one.
  std::unique_ptr<EntityReadAhead> startReadAhead();
  // A piece the second thread read, added where this thread's reading arrived at it.
  void takePiece(EntityReadAhead::Piece& piece);
  void appendToBlock(ZcDbObjectId block, ZcDbObjectId entity);
  void closeFollowers(ZcDbObject& obj, const ObjectCodec* codec, ObjectCodec::Followers followers);
  const ObjectCodec* objectCodecFor(std::string_view type);
  void keepRecord(std::vector<ZcDbKeptGroup>& into, const Record& record, std::uint16_t slot);
  void ensureBasics();
  void finish();

  std::string_view data_;
  Recovery recovery_;
  const Progress& progress_;
  ReadTuning tuning_;
  unsigned recordsSinceProgress_ = 0;
  bool cancelled_ = false;
  TagReader tags_;
  RecordReader records_;
  Record record_;
  // The entity being read while record_ takes the records that follow it (its vertices,
  // attributes, the next entity). Swapped with record_ rather than copied: the tag vectors
  // keep their storage from one entity to the next.
  Record entity_;
  LoadResult result_;
  std::unique_ptr<ZcDbDatabase> db_;
  ReadContext ctx_;
  ObjectReader objects_;
  bool tagErrorReported_ = false;
  // The file's end was reported (inside a section, or cut off by a malformed group).
  bool endReported_ = false;
  std::string lastSection_;
  bool basicsDone_ = false;
  bool sawNamedObjects_ = false;
  // DXF names of the CLASSES section -> the runtime class of a loaded plug-in (or null).
  std::map<std::string, ZcRxClass*, std::less<>> classes_;
};

void Reader::checkTagError() {
  if (tagErrorReported_ || !tags_.error()) return;
  tagErrorReported_ = true;
  endReported_ = true;
  ctx_.lose(tags_.error()->line, tags_.error()->message + "; the rest of the file was not read");
}

bool Reader::keepGoing() {
  // A listener costs a call per thousand records, not per record.
  constexpr unsigned kRecordsPerReport = 1024;
  if (cancelled_) return false;
  if (!progress_ || ++recordsSinceProgress_ < kRecordsPerReport) return true;
  recordsSinceProgress_ = 0;
  cancelled_ = !progress_(static_cast<double>(tags_.offset()), static_cast<double>(data_.size()));
  return !cancelled_;
}

bool Reader::nextInSection(std::string_view section) {
  if (!keepGoing()) return false;
  if (!records_.next(record_)) {
    checkTagError();
    if (!tags_.error() && !endReported_) {
      endReported_ = true;
      ctx_.lose(tags_.line(), "the file ends inside the " + std::string(section) + " section");
    }
    return false;
  }
  checkTagError();
  std::string_view type = record_.type();
  if (type == "ENDSEC") {
    // Header variables after a section's end (a damaged file's HEADER without its start).
    if (std::any_of(record_.tags.begin(), record_.tags.end(), [](const Tag& t) { return t.code == 9; })) {
      ctx_.warn(record_.head, "header variables after the " + std::string(section) + " section were read");
      readHeaderVariables();
    }
    return false;
  }
  if (type == "SECTION" || type == "EOF") {
    ctx_.warn(record_.head, "the " + std::string(section) + " section has no ENDSEC");
    records_.pushBack();
    return false;
  }
  return true;
}

void Reader::keepRecord(std::vector<ZcDbKeptGroup>& into, const Record& record, std::uint16_t slot) {
  into.push_back(ZcDbKeptGroup{0, slot, std::string(record.head.trimmed()), ZcDbObjectId()});
  for (const Tag& tag : record.tags) {
    if (!ctx_.keepable(into, tag)) continue;
    ZcDbKeptGroup kept{static_cast<Zdesk::Int16>(tag.code), slot, ctx_.decoder().toUtf8(tag.value),
                       ZcDbObjectId()};
    if (isReferenceCode(tag.code)) kept.ref = ctx_.idOfHandle(tag);
    into.push_back(std::move(kept));
  }
}

LoadResult Reader::read() {
  if (data_.empty()) {
    result_.refusal = "the file is empty";
    return std::move(result_);
  }
  bool sawSection = false;
  bool sawEof = false;
  while (keepGoing() && records_.next(record_)) {
    std::string_view type = record_.type();
    // Whatever follows EOF is not the drawing's (some writers leave their buffers there).
    if (type == "EOF") {
      sawEof = true;
      break;
    }
    checkTagError();
    if (type == "ENDSEC" && record_.tags.empty()) {
      ctx_.warn(record_.head, "ENDSEC without a section was left out");
      continue;
    }
    if (type != "SECTION") {
      ctx_.lose(record_.head,
                "record " + std::string(type.substr(0, 40)) + " outside a section was left out");
      continue;
    }
    const Tag* name = record_.find(2);
    std::string section = name ? std::string(name->trimmed()) : std::string();
    sawSection = true;
    lastSection_ = section.empty() ? "(unnamed)" : section.substr(0, 40);
    if (section == "HEADER") {
      readHeader();
    } else if (section == "CLASSES") {
      readClasses();
    } else if (section == "TABLES") {
      readTables();
    } else if (section == "BLOCKS") {
      readBlocks();
    } else if (section == "ENTITIES") {
      readEntities();
    } else if (section == "OBJECTS") {
      readObjects();
    } else {
      keepSection(section);
    }
  }
  if (cancelled_) {
    result_.refusal = kCancelledRefusal;
    result_.messages.clear();
    return std::move(result_);
  }
  if (!sawSection) {
    result_.refusal = tags_.error() ? "not a DXF drawing: " + tags_.error()->message + " (line " +
                                          std::to_string(tags_.error()->line) + ")"
                                    : "not a DXF drawing: no SECTION found";
    result_.messages.clear();
    return std::move(result_);
  }
  // A malformed group after EOF (read while looking for the end of the EOF record) is trash
  // beyond the drawing, not damage to it.
  if (!sawEof) checkTagError();
  if (!sawEof && !endReported_) {
    // A file that ends between two sections may have been cut off there: nothing tells
    // what followed, so its end counts as lost (RECOVER opens it).
    ctx_.lose(tags_.line(), "the file ends after the " + lastSection_ +
                                " section without EOF; it may have been cut off there");
  }
  if (records_.skippedGroups() > 0) {
    ctx_.lose(1, std::to_string(records_.skippedGroups()) + " groups before the first record were left out");
  }
  if (recovery_ == Recovery::kRefuseLoss && ctx_.firstLoss()) {
    result_.damaged = true;
    result_.refusal = formatLoadMessage(*ctx_.firstLoss());
    return std::move(result_);
  }
  finish();
  result_.database = std::move(db_);
  return std::move(result_);
}

// ---------------------------------------------------------------------------------------
// HEADER: (9, $NAME) and the groups of its value, all in the SECTION record.

void Reader::readHeader() {
  readHeaderVariables();
  // The variables are all groups of the SECTION record; ENDSEC follows.
  if (records_.next(record_)) {
    if (record_.type() != "ENDSEC") {
      ctx_.warn(record_.head, "the HEADER section has no ENDSEC");
      records_.pushBack();
    }
  } else if (!tags_.error()) {
    endReported_ = true;
    ctx_.lose(tags_.line(), "the file ends inside the HEADER section");
  }
  checkTagError();
}

void Reader::readHeaderVariables() {
  std::span<const Tag> tags(record_.tags);
  // The version and code page decide how every text of the file reads: find them first.
  std::string codepage;
  bool found = false;
  for (size_t i = 0; i + 1 < tags.size(); ++i) {
    if (tags[i].code != 9) continue;
    if (tags[i].trimmed() == "$ACADVER") {
      found = true;
      std::string_view v = tags[i + 1].trimmed();
      result_.version = std::string(v.substr(0, 16));
      if (v.size() > 2 && (v.substr(0, 2) == "AC")) {
        if (auto n = parseInt(v.substr(2))) ctx_.setVersion(static_cast<int>(*n));
      }
    } else if (tags[i].trimmed() == "$DWGCODEPAGE") {
      codepage = std::string(tags[i + 1].trimmed());
      found = true;
    }
  }
  if (found) ctx_.setEncoding(ctx_.version() >= 1021, codepage);

  ZcDbFileKept& kept = ZcDbFileAccess::fileKept(db_.get());
  size_t i = 0;
  while (i < tags.size() && tags[i].code != 9) ++i;  // (2, HEADER)
  while (i < tags.size()) {
    const Tag& nameTag = tags[i];
    size_t end = i + 1;
    while (end < tags.size() && tags[end].code != 9) ++end;
    std::string_view raw = nameTag.trimmed();
    std::span<const Tag> value = tags.subspan(i + 1, end - i - 1);
    i = end;
    if (raw.size() < 2 || raw.front() != '$') {
      ctx_.lose(nameTag,
                "header variable '" + printable(raw.substr(0, 40)) + "' has no '$' and was left out");
      continue;
    }
    // A control character (a tab, a NUL of a damaged file) in a name cannot come back: lines
    // are trimmed when read and texts end at a NUL, so the saved name would be another.
    if (std::any_of(raw.begin(), raw.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; })) {
      ctx_.lose(nameTag, "header variable '" + printable(raw.substr(0, 40)) +
                             "' has control characters in its name and was left out");
      continue;
    }
    std::wstring name = upper(ctx_.decoder().decode(raw.substr(1)));
    if (std::find(kept.headerOrder.begin(), kept.headerOrder.end(), name) != kept.headerOrder.end()) {
      ctx_.warn(nameTag, "header variable " + std::string(raw) + " appears twice; the last value counts");
      kept.header.erase(std::remove_if(kept.header.begin(), kept.header.end(),
                                       [&](const ZcDbKeptGroup& g) { return g.value == dollarName(name); }),
                        kept.header.end());
    } else {
      kept.headerOrder.push_back(name);
    }
    if (name == L"ACADVER" || name == L"HANDSEED") {
      if (name == L"HANDSEED" && !value.empty()) {
        // New objects made while reading (records the tables lack) must not take handles the
        // rest of the file uses.
        std::uint64_t seed = parseHandle(value.front().value);
        ZcDbFileAccess::raiseHandseed(db_.get(), seed);
        if (seed != 0) ctx_.handseedRead();
        // Handles below the seed are what the file's objects take: the index is sized for
        // them at once instead of doubling a dozen times on the way. A seed far beyond what
        // the file can hold (sparse handles, damage) sizes nothing bigger than the file
        // allows: no object takes less than 16 bytes of it.
        ZcDbFileAccess::expectObjects(db_.get(),
                                      static_cast<size_t>(std::min<std::uint64_t>(seed, data_.size() / 16)));
      }
      continue;  // written from what the saved drawing is
    }
    resbuf* chain = value.empty() ? nullptr : readValueGroups(value, ctx_);
    if (chain && db_->setHeaderVar(name.c_str(), chain) == Zcad::eOk) {
      zcutRelRb(chain);
      continue;
    }
    zcutRelRb(chain);
    // Kept as the file has it: variables that name objects by handle, 2-D points, values the
    // typed store refuses.
    kept.header.push_back(ZcDbKeptGroup{9, 0, dollarName(name), ZcDbObjectId()});
    for (const Tag& tag : value) {
      if (!ctx_.keepable(kept.header, tag)) continue;
      ZcDbKeptGroup g{static_cast<Zdesk::Int16>(tag.code), 0, ctx_.decoder().toUtf8(tag.value),
                      ZcDbObjectId()};
      if (isReferenceCode(tag.code)) g.ref = ctx_.idOfHandle(tag);
      kept.header.push_back(std::move(g));
    }
  }
}

// ---------------------------------------------------------------------------------------
// CLASSES: kept for the next save; they also name the runtime classes of plug-in objects.

void Reader::readClasses() {
  ZcDbFileKept& kept = ZcDbFileAccess::fileKept(db_.get());
  while (nextInSection("CLASSES")) {
    if (record_.type() != "CLASS") {
      ctx_.lose(record_.head, "record " + std::string(record_.type().substr(0, 40)) +
                                  " in the CLASSES section was left out");
      continue;
    }
    keepRecord(kept.classes, record_, 0);
    if (const Tag* dxfName = record_.find(1)) {
      std::wstring name = ctx_.decoder().decode(dxfName->trimmed());
      classes_[wideToUtf8(name)] = zcrxFindZcRxClassByDxfName(name.c_str());
    }
  }
}

// ---------------------------------------------------------------------------------------
// TABLES

void Reader::readTables() {
  while (nextInSection("TABLES")) {
    if (record_.type() == "TABLE") {
      Record head = record_;
      readTable(head);
    } else if (const TableKind* kind = tableKindOfRecord(record_.type())) {
      // Records of a table whose TABLE head is missing: the table they belong to is clear.
      ctx_.warn(record_.head,
                std::string(kind->name) + " records without their TABLE head were read as that table");
      Record head;
      head.head = record_.head;
      head.head.value = "TABLE";
      Tag name = record_.head;
      name.code = 2;
      name.value = kind->name;
      head.tags.push_back(name);
      records_.pushBack();
      readTable(head);
    } else {
      ctx_.lose(record_.head,
                "record " + std::string(record_.type().substr(0, 40)) + " outside a table was left out");
    }
  }
  ensureBasics();
}

void Reader::readTable(const Record& head) {
  const Tag* nameTag = head.find(2);
  std::string_view name = nameTag ? nameTag->trimmed() : std::string_view();
  const TableKind* kind = tableKindOf(name);
  if (!kind) {
    // A table kind the host does not know: kept whole, written back as it was.
    ZcDbFileKept& kept = ZcDbFileAccess::fileKept(db_.get());
    keepRecord(kept.tables, head, 0);
    while (records_.next(record_)) {
      checkTagError();
      std::string_view type = record_.type();
      if (type == "ENDTAB") {
        keepRecord(kept.tables, record_, 0);
        return;
      }
      if (isStructural(type)) {
        ctx_.warn(record_.head, "table " + std::string(name) + " has no ENDTAB");
        kept.tables.push_back(ZcDbKeptGroup{0, 0, "ENDTAB", ZcDbObjectId()});
        records_.pushBack();
        return;
      }
      keepRecord(kept.tables, record_, 0);
    }
    return;
  }

  // The table object: its head groups are read like any object's (handle, owner, kept
  // groups such as the DIMSTYLE table's own list).
  ZcDbObjectId tableId;
  for (ZcDbObjectId existing : {db_->viewportTableId(), db_->linetypeTableId(), db_->layerTableId(),
                                db_->textStyleTableId(), db_->viewTableId(), db_->UCSTableId(),
                                db_->regAppTableId(), db_->dimStyleTableId(), db_->blockTableId()}) {
    ZcDbObject* obj = ZcDbFileAccess::peek(existing);
    if (obj && obj->isA() == kind->tableClass()) tableId = existing;
  }
  if (tableId.isNull()) {
    Record tableHead = head;
    // The count (70) is recomputed on save; the name (2) is the kind.
    tableHead.tags.erase(std::remove_if(tableHead.tags.begin(), tableHead.tags.end(),
                                        [](const Tag& t) { return t.code == 2 || t.code == 70; }),
                         tableHead.tags.end());
    ParsedObject parsed = objects_.parse(tableHead, nullptr, /*entity=*/false);
    // The table is of a known class, not a kept record: replace the object, keep its groups.
    ZcDbObject* table = kind->make();
    if (const auto* keptGroups = ZcDbFileAccess::keptGroups(parsed.object.get())) {
      std::vector<ZcDbKeptGroup> groups = *keptGroups;
      // A table's head has only the AcDbSymbolTable marker, written by the writer itself.
      groups.erase(std::remove_if(
                       groups.begin(), groups.end(),
                       [](const ZcDbKeptGroup& g) { return g.code == 100 && g.value == "AcDbSymbolTable"; }),
                   groups.end());
      ZcDbFileAccess::keptGroupsForWrite(table) = std::move(groups);
    }
    parsed.object.reset(table);
    tableId = objects_.add(parsed, ZcDbObjectId());
    if (tableId.isNull()) return;
  }
  auto* table = static_cast<ZcDbSymbolTable*>(ZcDbFileAccess::peek(tableId));
  const ObjectCodec* codec = codecForDxfName(kind->record);
  while (records_.next(record_)) {
    checkTagError();
    std::string_view type = record_.type();
    if (type == "ENDTAB") return;
    if (isStructural(type)) {
      ctx_.warn(record_.head, "table " + std::string(name) + " has no ENDTAB");
      records_.pushBack();
      return;
    }
    if (type != kind->record || !codec) {
      ctx_.lose(record_.head, "record " + std::string(type.substr(0, 40)) + " in table " + std::string(name) +
                                  " was left out");
      continue;
    }
    ParsedObject parsed = objects_.parse(record_, codec, /*entity=*/false);
    auto* rec = static_cast<ZcDbSymbolTableRecord*>(parsed.object.get());
    if (!rec) continue;
    std::wstring recName = rec->name().kwszPtr();
    // Shape files are STYLE records without a name: several of them are normal.
    if (recName.empty() && type == "STYLE") {
      ZcDbObjectId id = objects_.add(parsed, tableId);
      if (!id.isNull()) ZcDbFileAccess::appendRecord(table, id);
      continue;
    }
    if (recName.empty()) {
      recName = L"UNNAMED";
      ctx_.warn(record_.head, std::string(type) + " record without a name was named UNNAMED");
    }
    // Layer names cannot hold some characters (other programs refuse them; a writer that
    // lost a text's encoding leaves '?'): they become '_', and entities naming the layer by
    // its name in the file find it.
    const std::wstring fileName = recName;
    if (type == "LAYER") recName = validLayerName(recName);
    // Names are unique in a table: a second record of a name gets a free one.
    std::wstring unique = recName;
    for (int n = 1; table->has(unique.c_str()); ++n) unique = recName + L"$" + std::to_wstring(n);
    if (unique != rec->name().kwszPtr()) {
      if (!rec->name().isEmpty() && unique != recName) {
        ctx_.warn(record_.head, std::string(type) + " '" + wideToUtf8(recName) +
                                    "' appears twice; renamed '" + wideToUtf8(unique) + "'");
      }
      ZcDbFileAccess::setRecordName(rec, ZcString(unique.c_str()));
    }
    ZcDbObjectId id = objects_.add(parsed, tableId);
    if (!id.isNull()) ZcDbFileAccess::appendRecord(table, id);
    if (!id.isNull() && recName != fileName) {
      ctx_.warn(record_.head, "layer name '" + wideToUtf8(fileName) +
                                  "' has characters a layer name cannot have; renamed '" +
                                  wideToUtf8(unique) + "'");
      ctx_.layerKnownAs(fileName, id);
    }
  }
}

// ---------------------------------------------------------------------------------------
// BLOCKS

void Reader::ensureBasics() {
  if (basicsDone_) return;
  basicsDone_ = true;
  ctx_.beforeMakingObjects();
  // Simple files leave out the tables: nothing worth a message. The named-objects
  // dictionary comes with the OBJECTS section, if at all: it is made at the end.
  ZcDbFileAccess::completeDrawing(db_.get(), /*withNamedObjects=*/false);
}

void Reader::readBlocks() {
  ensureBasics();
  while (nextInSection("BLOCKS")) {
    if (record_.type() == "BLOCK") {
      Record head = record_;
      readBlock(head);
    } else {
      ctx_.lose(record_.head, "record " + std::string(record_.type().substr(0, 40)) +
                                  " outside a block definition was left out");
    }
  }
}

void Reader::readBlock(const Record& head) {
  // The block table record: the BLOCK's owner (R2000 and later), else the record of its
  // name, else a new one (R12 files have no BLOCK_RECORD table).
  std::wstring name;
  if (const Tag* t = head.find(2)) name = ctx_.text(*t);
  if (name.empty()) {
    if (const Tag* t = head.find(3)) name = ctx_.text(*t);
  }
  ZcDbObjectId blockId;
  if (const Tag* owner = head.find(330)) {
    ZcDbObjectId id = ctx_.idOfHandle(*owner);
    if (ZcDbBlockTableRecord::cast(ZcDbFileAccess::peek(id))) blockId = id;
  }
  // R12 writers name the two spaces "$MODEL_SPACE" and "$PAPER_SPACE" as well.
  if (blockId.isNull() && upper(name) == L"$MODEL_SPACE") blockId = db_->modelSpaceId();
  if (blockId.isNull() && upper(name) == L"$PAPER_SPACE") blockId = db_->paperSpaceId();
  if (blockId.isNull() && !name.empty()) blockId = ctx_.existingBlockNamed(name);
  auto* blockTable = static_cast<ZcDbSymbolTable*>(ZcDbFileAccess::peek(db_->blockTableId()));
  if (blockId.isNull()) {
    if (name.empty()) {
      name = L"UNNAMED";
      ctx_.warn(head.head, "block without a name was named UNNAMED");
    }
    std::wstring unique = name;
    for (int n = 1; blockTable->has(unique.c_str()); ++n) unique = name + L"$" + std::to_wstring(n);
    ctx_.beforeMakingObjects();
    auto* block = new ZcDbBlockTableRecord;
    ZcDbFileAccess::setRecordName(block, ZcString(unique.c_str()));
    if (ZcDbFileAccess::add(db_.get(), block, db_->blockTableId(), ZcDbHandle(), blockId) != Zcad::eOk) {
      delete block;
      blockId.setNull();
    } else {
      ZcDbFileAccess::appendRecord(blockTable, blockId);
    }
  }
  auto* block = ZcDbBlockTableRecord::cast(ZcDbFileAccess::peek(blockId));
  ctx_.blockDefined(blockId);
  if (block) {
    // Origin and the BLOCK record's own groups (handle, layer, flags, description, ...).
    std::span<const Tag> tags(head.tags);
    for (size_t i = 0; i < tags.size(); ++i) {
      const Tag& tag = tags[i];
      if (tag.code == 10) {
        ReadContext::PointRead p = ctx_.point(tags, i);
        ZcDbBlockTableRecord* open = nullptr;
        if (p.point && zcdbOpenObject(open, blockId, ZcDb::kForWrite) == Zcad::eOk) {
          open->setOrigin(*p.point);
          open->close();
        }
        i += p.taken - 1;
        continue;
      }
      if (tag.code == 2 || tag.code == 3 || tag.code == 330 || tag.code == 100) continue;
      if (tag.code == 5) ZcDbFileAccess::reserveHandle(db_.get(), ZcDbHandle(parseHandle(tag.value)));
      ctx_.keep(*block, tag, kBlockBeginSlot);
    }
  }
  while (records_.next(record_)) {
    checkTagError();
    std::string_view type = record_.type();
    if (type == "ENDBLK") {
      if (block) {
        for (const Tag& tag : record_.tags) {
          if (tag.code == 330 || tag.code == 100) continue;
          if (tag.code == 5) ZcDbFileAccess::reserveHandle(db_.get(), ZcDbHandle(parseHandle(tag.value)));
          ctx_.keep(*block, tag, kBlockEndSlot);
        }
      }
      return;
    }
    if (isStructural(type)) {
      ctx_.warn(record_.head, "block '" + wideToUtf8(name) + "' has no ENDBLK");
      records_.pushBack();
      return;
    }
    if (!block) continue;
    std::swap(entity_, record_);
    readEntity(entity_, blockId);
  }
}

// ---------------------------------------------------------------------------------------
// ENTITIES

void Reader::readEntities() {
  ensureBasics();
  std::unique_ptr<EntityReadAhead> ahead = startReadAhead();
  while (true) {
    if (ahead && !records_.hasPushedBack()) {
      if (std::optional<EntityReadAhead::Piece> piece = ahead->arriveAt(tags_.nextOffset())) {
        takePiece(*piece);
        continue;  // where it stopped may be where the next piece starts
      }
    }
    if (!nextInSection("ENTITIES")) break;
    std::swap(entity_, record_);
    readEntity(entity_, ZcDbObjectId());
  }
}

std::unique_ptr<EntityReadAhead> Reader::startReadAhead() {
  if (tags_.isBinary() || records_.hasPushedBack()) return nullptr;
  const size_t from = tags_.nextOffset();
  const size_t rest = data_.size() - from;
  if (rest < tuning_.readAheadFrom) return nullptr;
  if (tuning_.readAheadFrom > 0 && std::thread::hardware_concurrency() < 2) return nullptr;
  const size_t pieceBytes = std::max<size_t>(rest / std::max<size_t>(tuning_.pieces, 1), 1);
  std::vector<size_t> starts;
  for (size_t target = from + pieceBytes; target < data_.size(); target += pieceBytes) {
    const size_t start = readAheadStart(data_, std::max(target, starts.empty() ? target : starts.back() + 1));
    // None within reach: the section ends, or holds other kinds from here on.
    if (start == std::string_view::npos) break;
    starts.push_back(start);
  }
  if (starts.empty()) return nullptr;
  try {
    return std::make_unique<EntityReadAhead>(data_, std::move(starts), ctx_, ctx_.snapshot());
  } catch (const std::system_error&) {
    return nullptr;  // no thread to be had: this one reads it all
  }
}

void Reader::takePiece(EntityReadAhead::Piece& piece) {
  const std::uint32_t linesBefore = tags_.linesBeforeNext();
  for (ParsedObject& parsed : piece.objects) {
    parsed.line += linesBefore;
    addEntity(parsed, ZcDbObjectId());
  }
  tags_.resumeAt(piece.resumeOffset, linesBefore + piece.linesToResume);
}

ZcDbObjectId Reader::addEntity(ParsedObject& parsed, ZcDbObjectId block) {
  if (block.isNull()) {
    block = parsed.paperSpace ? db_->paperSpaceId() : db_->modelSpaceId();
    // A file's own owner decides between the spaces of several layouts.
    if (ZcDbBlockTableRecord::cast(ZcDbFileAccess::peek(parsed.owner))) block = parsed.owner;
  }
  ZcDbObjectId id = objects_.add(parsed, block);
  if (!id.isNull()) appendToBlock(block, id);
  return id;
}

void Reader::appendToBlock(ZcDbObjectId block, ZcDbObjectId entity) {
  if (auto* record = ZcDbBlockTableRecord::cast(ZcDbFileAccess::peek(block))) {
    ZcDbFileAccess::appendEntity(record, entity);
  }
}

void Reader::readEntity(const Record& record, ZcDbObjectId block) {
  std::string_view type = record.type();
  if (type == "SEQEND" || type == "VERTEX" || type == "ATTRIB") {
    ctx_.lose(record.head, std::string(type) + " without the entity it belongs to was left out");
    return;
  }
  if (isStructural(type)) {
    // Kept as an entity, it would be written inside its block, where it ends the block (a
    // second ENDBLK, a TABLE or ENDTAB) and the rest of the block is read as damage.
    ctx_.lose(record.head, "record " + std::string(type) + " outside a block definition was left out");
    return;
  }
  const ObjectCodec* codec = codecForDxfName(type);
  ParsedObject parsed = objects_.parse(record, codec, /*entity=*/true);
  if (!parsed.object) return;
  ZcDbObject* obj = parsed.object.get();
  ObjectCodec::Followers followers =
      parsed.codec ? parsed.codec->followers(*obj, record.tags) : ObjectCodec::Followers::kNone;
  if (!parsed.codec) {
    // A kept entity with "66 1" (an unknown entity with attributes): its followers are kept.
    // Only the entity's own flag counts: a 66 inside its extended data (from 1001 on) is no
    // flag, and is not written back as one.
    for (const Tag& tag : record.tags) {
      if (tag.code >= 1000) break;
      if (tag.code == 66 && tag.toInt() == 1) followers = ObjectCodec::Followers::kKeptRecords;
    }
  }
  if (addEntity(parsed, block).isNull()) return;
  if (followers == ObjectCodec::Followers::kNone) return;

  std::uint32_t ownerLine = record.head.line;
  while (records_.next(record_)) {
    checkTagError();
    std::string_view next = record_.type();
    bool seqend = next == "SEQEND";
    bool follower = seqend || next == "VERTEX" || next == "ATTRIB";
    if (!follower) {
      ctx_.warn(ownerLine, std::string(record.type()) + " has no SEQEND; one was added");
      records_.pushBack();
      closeFollowers(*obj, parsed.codec, followers);
      return;
    }
    if (followers == ObjectCodec::Followers::kKeptRecords) {
      keepRecord(ZcDbFileAccess::keptGroupsForWrite(obj), record_, kFollowingRecordsSlot);
      if (const Tag* h = record_.find(5))
        ZcDbFileAccess::reserveHandle(db_.get(), ZcDbHandle(parseHandle(h->value)));
    } else {
      ParsedObject part = objects_.parse(record_, codecForDxfName(next), /*entity=*/true);
      if (part.object) {
        std::uint64_t handle = part.handle;
        if (handle != 0 && ZcDbFileAccess::isHandleUsed(db_.get(), ZcDbHandle(handle))) {
          ctx_.warn(part.line,
                    "handle " + handleText(handle) + " is used twice; the second object gets a new handle");
          handle = 0;
        }
        ZcDbObject* raw = part.object.release();
        if (parsed.codec->adoptFollower(*obj, raw, handle, ctx_)) {
          for (ZcDbObjectId reactor : part.reactors) ZcDbFileAccess::addPersistentReactor(raw, reactor);
          if (!part.extensionDictionary.isNull()) {
            ZcDbFileAccess::setExtensionDictionary(raw, part.extensionDictionary);
          }
        } else {
          delete raw;
          ctx_.lose(part.line, std::string(next) + " that does not fit its " + std::string(record.type()) +
                                   " was left out");
        }
      }
    }
    if (seqend) return;
  }
  checkTagError();
  ctx_.warn(ownerLine, std::string(record.type()) + " has no SEQEND; one was added");
  closeFollowers(*obj, parsed.codec, followers);
}

void Reader::closeFollowers(ZcDbObject& obj, const ObjectCodec* codec, ObjectCodec::Followers followers) {
  if (followers == ObjectCodec::Followers::kKeptRecords) {
    ZcDbFileAccess::keptGroupsForWrite(&obj).push_back(
        ZcDbKeptGroup{0, kFollowingRecordsSlot, "SEQEND", ZcDbObjectId()});
  } else if (codec) {
    // No follower: the codec gives the owner the end it lacks.
    codec->adoptFollower(obj, nullptr, 0, ctx_);
  }
}

// ---------------------------------------------------------------------------------------
// OBJECTS

const ObjectCodec* Reader::objectCodecFor(std::string_view type) {
  if (const ObjectCodec* codec = codecForDxfName(type)) return codec;
  // An object of a plug-in's class: read through the class's own filing when the plug-in
  // is loaded; kept whole otherwise.
  auto it = classes_.find(type);
  ZcRxClass* cls = it != classes_.end() ? it->second : nullptr;
  return cls ? pluginObjectCodec(cls) : nullptr;
}

void Reader::readObjects() {
  ensureBasics();
  while (nextInSection("OBJECTS")) {
    const Record& record = record_;
    std::string_view type = record.type();
    const ObjectCodec* codec = objectCodecFor(type);
    const bool pluginClass = codec && !codecForDxfName(type);
    ParsedObject parsed =
        objects_.parse(record, codec, /*entity=*/false,
                       pluginClass ? ObjectReader::Unreadable::kRetry : ObjectReader::Unreadable::kLeaveOut);
    if (!parsed.object && pluginClass) {
      // A plug-in's object its own filing could not read: kept as it is instead.
      parsed = objects_.parse(record, nullptr, /*entity=*/false);
    }
    if (!parsed.object) continue;
    bool first = !sawNamedObjects_ && type == "DICTIONARY";
    ZcDbObjectId id = objects_.add(parsed, parsed.owner);
    if (first && !id.isNull()) {
      // The first dictionary of the section is the root of all named objects.
      sawNamedObjects_ = true;
      ZcDbFileAccess::setNamedObjectsDictionary(db_.get(), id);
    }
  }
}

void Reader::keepSection(std::string_view name) {
  ZcDbFileKept& kept = ZcDbFileAccess::fileKept(db_.get());
  keepRecord(kept.sections, record_, 0);
  std::string section(name.empty() ? "(unnamed)" : name);
  while (nextInSection(section)) keepRecord(kept.sections, record_, 0);
  kept.sections.push_back(ZcDbKeptGroup{0, 0, "ENDSEC", ZcDbObjectId()});
}

// ---------------------------------------------------------------------------------------

void Reader::finish() {
  ensureBasics();
  ctx_.beforeMakingObjects();
  ZcDbFileAccess::completeDrawing(db_.get(), /*withNamedObjects=*/true);
  // Applications named by extended data must be in the APPID table.
  auto* regApps = static_cast<ZcDbSymbolTable*>(ZcDbFileAccess::peek(db_->regAppTableId()));
  for (const std::wstring& name : ctx_.xdataApplications()) {
    if (regApps->has(name.c_str())) continue;
    auto* app = new ZcDbRegAppTableRecord;
    ZcDbFileAccess::setRecordName(app, ZcString(name.c_str()));
    ZcDbObjectId appId;
    if (ZcDbFileAccess::add(db_.get(), app, db_->regAppTableId(), ZcDbHandle(), appId) == Zcad::eOk) {
      ZcDbFileAccess::appendRecord(regApps, appId);
      ctx_.warn(0, "application '" + wideToUtf8(name) +
                       "' of extended data was missing from the APPID table and was added");
    } else {
      delete app;
    }
  }
  for (ZcDbObjectId id : ctx_.undefinedBlocks()) {
    auto* block = ZcDbBlockTableRecord::cast(ZcDbFileAccess::peek(id));
    if (block) {
      ctx_.warn(0, "block '" + wideToUtf8(block->name().kwszPtr()) +
                       "' is inserted but never defined; it was left empty");
    }
  }
  if (size_t mended = relinkLayouts(*db_, ctx_.layoutCandidates())) {
    ctx_.warn(0, std::to_string(mended) +
                     " layout(s) named a block record that does not exist and were linked to "
                     "its space again");
  }
  size_t unresolved = ZcDbFileAccess::unresolvedIds(db_.get()).size();
  if (unresolved > 0) {
    ctx_.warn(0, std::to_string(unresolved) + " handle(s) referenced in the file name no object of it");
  }
  ensureLayouts(*db_);
}

}  // namespace

LoadResult readDocument(std::string_view data, Recovery recovery, const Progress& progress,
                        const ReadTuning& tuning) {
  return Reader(data, recovery, progress, tuning).read();
}

}  // namespace vtcad::dxf
