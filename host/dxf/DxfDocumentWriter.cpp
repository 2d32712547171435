// The sections of a written drawing, in the order of the format: HEADER, CLASSES, TABLES,
// BLOCKS, ENTITIES, OBJECTS, then sections kept from the file that was read.
#include "dxf/DxfDocumentWriter.h"

#include <algorithm>
#include <map>
#include <set>
#include <system_error>
#include <thread>

#include "database/ZcDbFileAccess.h"
#include "dxf/DxfCodecs.h"
#include "dxf/DxfEntityWriteAhead.h"
#include "dxf/DxfFile.h"
#include "dxf/DxfLayouts.h"
#include "dxf/DxfObjectReader.h"
#include "dxf/DxfText.h"
#include "dxf/DxfUnknownObject.h"
#include "dxf/DxfXData.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbDictionary.h"
#include "zcad/db/ZcDbDimStyleTable.h"
#include "zcad/db/ZcDbEntity.h"
#include "zcad/db/ZcDbSymbolTable.h"
#include "zcad/rx/ZcRxClass.h"

namespace vtcad::dxf {
namespace {

constexpr std::uint16_t kEntitySlot = 1;
// Most entities take 150 to 300 bytes of text.
constexpr size_t kBytesPerEntity = 256;

const std::string* keptType(const ZcDbObject& obj) {
  if (auto* o = DxfUnknownObject::cast(&obj)) return &o->recordType();
  if (auto* e = DxfUnknownEntity::cast(&obj)) return &e->recordType();
  return nullptr;
}

const ZcDbKeptGroup* findKept(const ZcDbObject& obj, std::uint16_t slot, int code) {
  if (const auto* kept = ZcDbFileAccess::keptGroups(&obj)) {
    for (const ZcDbKeptGroup& g : *kept) {
      if (g.slot == slot && g.code == code) return &g;
    }
  }
  return nullptr;
}

}  // namespace

DocumentWriter::DocumentWriter(ZcDbDatabase& db, const WriteTuning& tuning)
    : db_(db), ctx_(db, out_, *this), tuning_(tuning) {}

DocumentWriter::EntitiesText DocumentWriter::writeEntitiesAlone(std::span<const ZcDbObjectId> ids) {
  // Exact classes, found once: a plug-in's class derived from one of them files itself.
  static const std::vector<const ZcRxClass*> kAlone = [] {
    std::vector<const ZcRxClass*> classes;
    for (const ObjectCodec* codec : secondThreadCodecs()) classes.push_back(codec->rxClass());
    return classes;
  }();
  EntitiesText result;
  // Room for the usual size of such entities at once: grown from nothing, the text would be
  // copied at every doubling.
  out_.reserve(ids.size() * kBytesPerEntity);
  const size_t writtenBefore = written_;
  for (ZcDbObjectId id : ids) {
    const ZcDbObject* obj = ZcDbFileAccess::peek(id);
    if (!obj || std::find(kAlone.begin(), kAlone.end(), obj->isA()) == kAlone.end()) break;
    writeObject(id);
    ++result.count;
  }
  result.objects = written_ - writtenBefore;
  result.text = out_.take();
  return result;
}

std::string DocumentWriter::write() {
  out_.reserve(static_cast<size_t>(db_.approxNumObjects()) * kBytesPerEntity + 65536);
  writeAll();
  return out_.take();
}

bool DocumentWriter::writeTo(const std::function<bool(std::string_view)>& sink) {
  out_.setSink(sink);
  writeAll();
  return out_.flush();
}

void DocumentWriter::writeAll() {
  ensureLayouts(db_);
  plan();
  survey();
  writeHeader();
  writeClasses();
  writeTables();
  writeBlocks();
  writeEntities();
  writeObjects();
  const ZcDbFileKept& kept = ZcDbFileAccess::fileKept(&db_);
  for (const ZcDbKeptGroup& g : kept.sections) ctx_.writeKept(g);
  out_.write(0, "EOF");
}

const DocumentWriter::ClassPlan& DocumentWriter::planOf(const ZcDbObject& obj) {
  ZcRxClass* cls = obj.isA();
  // A few classes make up most drawings, in every order: a direct-mapped cache in front of
  // the table answers nearly every object without hashing.
  auto& recent = recentPlans_[recentSlot(cls, recentPlans_.size())];
  if (cls && recent.first == cls) return *recent.second;
  auto [it, made] = plans_.try_emplace(cls);
  ClassPlan& plan = it->second;
  if (made) {
    plan.entity = ZcDbEntity::cast(&obj) != nullptr;
    plan.kept = DxfUnknownObject::cast(&obj) != nullptr || DxfUnknownEntity::cast(&obj) != nullptr;
    plan.dimStyle = ZcDbDimStyleTableRecord::cast(&obj) != nullptr;
    plan.inObjects = !plan.entity && !ZcDbSymbolTable::cast(&obj) && !ZcDbSymbolTableRecord::cast(&obj);
    // The host class's own codec, else a plug-in class's filing; a kept record has none.
    plan.codec = codecForClass(cls);
    if (!plan.codec && !plan.kept) {
      plan.codec = pluginObjectCodec(cls);
      plan.pluginClass = plan.codec != nullptr;
    }
  }
  recent = {cls, &plan};  // elements of an unordered_map stay where they are
  return plan;
}

void DocumentWriter::survey() {
  ZcDbFileAccess::forEachLive(&db_, [&](ZcDbObjectId id) {
    ZcDbObject* obj = ZcDbFileAccess::peek(id);
    if (!obj) return;
    const ClassPlan& plan = planOf(*obj);
    const bool entity = plan.entity;
    if (plan.inObjects) objects_.push_back(id);
    // Objects of plug-in classes need their class listed, or other programs cannot tell
    // what they are.
    if (!plan.pluginClass) return;
    auto it = std::find_if(pluginClasses_.begin(), pluginClasses_.end(),
                           [&](const auto& use) { return use.first == obj->isA(); });
    if (it == pluginClasses_.end())
      it = pluginClasses_.insert(pluginClasses_.end(), {obj->isA(), ClassUse{}});
    ++it->second.count;
    it->second.entity = entity;
  });
  std::sort(objects_.begin(), objects_.end(), [](ZcDbObjectId a, ZcDbObjectId b) {
    return ZcDbFileAccess::handleOf(a) < ZcDbFileAccess::handleOf(b);
  });
}

std::uint64_t DocumentWriter::handleOrNew(const ZcDbBlockTableRecord& block, std::uint16_t slot) {
  if (const ZcDbKeptGroup* g = findKept(block, slot, 5)) {
    if (std::uint64_t h = parseHandle(g->value)) return h;
  }
  return next_++;
}

void DocumentWriter::plan() {
  // BLOCK and ENDBLK records are not objects of the database: a block made here gets
  // handles above every object's, and $HANDSEED above those.
  next_ = db_.handseed().value();
  auto* blocks = ZcDbSymbolTable::cast(ZcDbFileAccess::peek(db_.blockTableId()));
  if (!blocks) return;
  for (ZcDbObjectId id : blocks->recordIds()) {
    auto* block = ZcDbBlockTableRecord::cast(ZcDbFileAccess::peek(id));
    if (!block || id.isErased()) continue;
    BlockHandles h;
    h.begin = handleOrNew(*block, kBlockBeginSlot);
    h.end = handleOrNew(*block, kBlockEndSlot);
    blockHandles_[block] = h;
  }
}

// ---------------------------------------------------------------------------------------

void DocumentWriter::writeHeader() {
  out_.write(0, "SECTION");
  out_.write(2, "HEADER");
  out_.write(9, "$ACADVER");
  out_.write(1, "AC1027");
  const ZcDbFileKept& kept = ZcDbFileAccess::fileKept(&db_);
  // The file's order first, then variables the file did not have.
  std::vector<std::wstring> order = kept.headerOrder;
  ZcArray<ZcString> names = db_.headerVarNames();
  std::set<std::wstring> inOrder(order.begin(), order.end());
  for (int i = 0; i < names.length(); ++i) {
    std::wstring name = names[i].kwszPtr();
    if (!inOrder.count(name)) order.push_back(name);
  }
  if (std::find(order.begin(), order.end(), L"HANDSEED") == order.end()) {
    order.insert(order.begin() + std::min<size_t>(order.size(), 1), L"HANDSEED");
  }
  std::set<std::wstring> written;
  for (const std::wstring& name : order) {
    if (name == L"ACADVER") continue;
    if (name == L"HANDSEED") {
      out_.write(9, "$HANDSEED");
      out_.writeHandle(5, next_);
      written.insert(name);
      continue;
    }
    if (resbuf* value = db_.getHeaderVar(name.c_str())) {
      out_.write(9, dollarName(name));
      writeGroups(value, out_);
      zcutRelRb(value);
      written.insert(name);
      continue;
    }
    std::string dollar = dollarName(name);
    for (size_t i = 0; i < kept.header.size(); ++i) {
      if (kept.header[i].code != 9 || kept.header[i].value != dollar) continue;
      out_.write(9, dollar);
      for (size_t k = i + 1; k < kept.header.size() && kept.header[k].code != 9; ++k)
        ctx_.writeKept(kept.header[k]);
      written.insert(name);
      break;
    }
  }
  writeExpectedHeaderVariables(written);
  out_.write(0, "ENDSEC");
}

void DocumentWriter::writeExpectedHeaderVariables(const std::set<std::wstring>& written) {
  // Variables other readers count on, with their defaults when the drawing has none. Without
  // $DWGCODEPAGE, for one, a reader may take an R2013 file's UTF-8 texts for Windows-1252.
  if (!written.count(L"DWGCODEPAGE")) {
    out_.write(9, "$DWGCODEPAGE");
    out_.write(3, "ANSI_1252");
  }
  if (!written.count(L"INSBASE")) {
    out_.write(9, "$INSBASE");
    out_.writePoint(10, 0, 0, 0);
  }
  if (!written.count(L"LIMMIN")) {
    out_.write(9, "$LIMMIN");
    out_.writePoint2d(10, 0, 0);
  }
  if (!written.count(L"LIMMAX")) {
    // The drawing limits of a new drawing: an A3 sheet in millimetres for a metric drawing,
    // 12 by 9 inches otherwise.
    bool metric = false;
    if (resbuf* measurement = db_.getHeaderVar(L"MEASUREMENT")) {
      metric = measurement->restype == 70 && measurement->resval.rint == 1;
      zcutRelRb(measurement);
    }
    out_.write(9, "$LIMMAX");
    out_.writePoint2d(10, metric ? 420.0 : 12.0, metric ? 297.0 : 9.0);
  }
  // What the entities and tables written depend on: the global linetype scale, the unit
  // system of linetype and hatch pattern files, model space as the active layout, the
  // current dimension style (one of the DIMSTYLE table).
  if (!written.count(L"LTSCALE")) {
    out_.write(9, "$LTSCALE");
    out_.writeDouble(40, 1.0);
  }
  if (!written.count(L"MEASUREMENT")) {
    out_.write(9, "$MEASUREMENT");
    out_.writeInt(70, 0);
  }
  if (!written.count(L"TILEMODE")) {
    out_.write(9, "$TILEMODE");
    out_.writeInt(70, 1);
  }
  if (!written.count(L"DIMSTYLE")) {
    auto* styles = ZcDbSymbolTable::cast(ZcDbFileAccess::peek(db_.dimStyleTableId()));
    if (styles && styles->has(L"Standard")) {
      out_.write(9, "$DIMSTYLE");
      out_.write(2, "Standard");
    }
  }
}

void DocumentWriter::writeClasses() {
  out_.write(0, "SECTION");
  out_.write(2, "CLASSES");
  const ZcDbFileKept& kept = ZcDbFileAccess::fileKept(&db_);
  std::set<std::string> listed;
  for (size_t i = 0; i < kept.classes.size(); ++i) {
    const ZcDbKeptGroup& g = kept.classes[i];
    if (g.code == 1 && i > 0 && kept.classes[i - 1].code == 0) listed.insert(g.value);
    ctx_.writeKept(g);
  }
  for (const auto& [cls, use] : pluginClasses_) {
    std::string dxfName = wideToUtf8(cls->dxfName() ? cls->dxfName() : cls->name());
    if (listed.count(dxfName)) continue;
    out_.write(0, "CLASS");
    out_.write(1, dxfName);
    out_.write(2, wideToUtf8(cls->name()));
    out_.write(3, wideToUtf8(cls->appName() ? cls->appName() : L""));
    out_.writeInt(90, cls->proxyFlags());
    out_.writeInt(91, use.count);
    out_.writeInt(280, 0);
    out_.writeInt(281, use.entity ? 1 : 0);
  }
  out_.write(0, "ENDSEC");
}

// ---------------------------------------------------------------------------------------

void DocumentWriter::writeTables() {
  out_.write(0, "SECTION");
  out_.write(2, "TABLES");
  writeTable(db_.viewportTableId(), "VPORT");
  writeTable(db_.linetypeTableId(), "LTYPE");
  writeTable(db_.layerTableId(), "LAYER");
  writeTable(db_.textStyleTableId(), "STYLE");
  writeTable(db_.viewTableId(), "VIEW");
  writeTable(db_.UCSTableId(), "UCS");
  writeTable(db_.regAppTableId(), "APPID");
  writeTable(db_.dimStyleTableId(), "DIMSTYLE");
  writeTable(db_.blockTableId(), "BLOCK_RECORD");
  const ZcDbFileKept& kept = ZcDbFileAccess::fileKept(&db_);
  for (const ZcDbKeptGroup& g : kept.tables) ctx_.writeKept(g);
  out_.write(0, "ENDSEC");
}

void DocumentWriter::writeTable(ZcDbObjectId tableId, std::string_view name) {
  auto* table = ZcDbSymbolTable::cast(ZcDbFileAccess::peek(tableId));
  if (!table) return;
  out_.write(0, "TABLE");
  out_.write(2, name);
  out_.writeHandle(5, ZcDbFileAccess::handleOf(tableId));
  ctx_.beginObject(*table, 1);
  ctx_.flushSlot(0);
  out_.write(330, "0");
  out_.write(100, "AcDbSymbolTable");
  out_.writeInt(70, table->numEntries());
  // The table's own subclass (DIMSTYLE's list of records) and whatever else it kept.
  ctx_.endObject();
  for (ZcDbObjectId id : table->recordIds()) writeObject(id);
  out_.write(0, "ENDTAB");
}

// ---------------------------------------------------------------------------------------

void DocumentWriter::writeObject(ZcDbObjectId id) {
  ZcDbObject* obj = ZcDbFileAccess::peek(id);
  if (!obj || id.isErased()) return;
  const ClassPlan& plan = planOf(*obj);
  const ObjectCodec* codec = plan.codec;
  const std::string* type = plan.kept ? keptType(*obj) : nullptr;
  if (!codec && !type) return;  // a host class without a file form
  ++written_;
  const ZcDbEntity* entity = plan.entity ? static_cast<const ZcDbEntity*>(obj) : nullptr;
  out_.write(0, codec ? codec->dxfName() : std::string_view(*type));
  out_.writeHandle(plan.dimStyle ? 105 : 5, ZcDbFileAccess::handleOf(id));

  std::vector<ZcDbObjectId> reactors;
  for (void* entry : *obj->reactors()) {
    if (zcdbIsPersistentReactor(entry)) {
      ZcDbObjectId reactor = zcdbPersistentReactorObjectId(entry);
      if (ctx_.handleOf(reactor) != 0) reactors.push_back(reactor);
    }
  }
  if (!reactors.empty()) {
    out_.write(102, "{ACAD_REACTORS");
    for (ZcDbObjectId reactor : reactors) ctx_.handle(330, reactor);
    out_.write(102, "}");
  }
  if (ctx_.handleOf(obj->extensionDictionary()) != 0) {
    out_.write(102, "{ACAD_XDICTIONARY");
    ctx_.handle(360, obj->extensionDictionary());
    out_.write(102, "}");
  }
  SubclassNames subclasses;
  if (codec) subclasses = codec->subclasses(*obj);
  const std::uint16_t first = entity ? 2 : 1;
  // A kept record has all its groups after the head in slot 1.
  const auto last =
      static_cast<std::uint16_t>(codec ? first + std::max<size_t>(subclasses.size(), 1) - 1 : 1);
  ctx_.beginObject(*obj, last);
  ctx_.flushSlot(0);
  ctx_.handle(330, obj->ownerId());
  if (entity) {
    out_.write(100, "AcDbEntity");
    if (entity->ownerId() == db_.paperSpaceId()) out_.writeInt(67, 1);
    const std::string_view layer = ctx_.recordNameUtf8(entity->layerId());
    out_.write(8, layer.empty() ? std::string_view("0") : layer);
    const std::string_view linetype = ctx_.recordNameUtf8(entity->linetypeId());
    if (!linetype.empty() && linetype != "ByLayer") out_.write(6, linetype);
    ZcCmColor color = entity->color();
    if (color.isByColor()) {
      out_.writeInt(62, color.colorIndex());
      out_.writeInt(420, color.trueColorValue() & 0xFFFFFF);
    } else if (!color.isByLayer()) {
      out_.writeInt(62, color.colorIndex());
    }
    if (entity->lineWeight() != ZcDb::kLnWtByLayer) out_.writeInt(370, entity->lineWeight());
    if (entity->linetypeScale() != 1.0) out_.writeDouble(48, entity->linetypeScale());
    if (entity->visibility() == ZcDb::kInvisible) out_.writeInt(60, 1);
    ctx_.setSlot(kEntitySlot);
  }
  if (codec) codec->write(*obj, ctx_);
  ctx_.endObject();
  if (resbuf* xdata = obj->xData()) {
    writeGroups(xdata, out_);
    zcutRelRb(xdata);
  }
  if (const auto* kept = ZcDbFileAccess::keptGroups(obj)) {
    for (const ZcDbKeptGroup& g : *kept) {
      if (g.slot == kFollowingRecordsSlot) ctx_.writeKept(g);
    }
  }
  if (codec) codec->writeFollowers(*obj, ctx_);
}

// ---------------------------------------------------------------------------------------

void DocumentWriter::writeBlockEnds(const ZcDbBlockTableRecord& block, bool begin) {
  const std::uint16_t slot = begin ? kBlockBeginSlot : kBlockEndSlot;
  BlockHandles handles = blockHandles_[&block];
  out_.write(0, begin ? "BLOCK" : "ENDBLK");
  out_.writeHandle(5, begin ? handles.begin : handles.end);
  ctx_.handle(330, block.objectId());
  out_.write(100, "AcDbEntity");
  if (block.objectId() == db_.paperSpaceId()) out_.writeInt(67, 1);
  const ZcDbKeptGroup* layer = findKept(block, slot, 8);
  out_.write(8, layer ? std::string_view(layer->value) : std::string_view("0"));
  out_.write(100, begin ? "AcDbBlockBegin" : "AcDbBlockEnd");
  if (begin) {
    std::string name = wideToUtf8(block.name().kwszPtr());
    out_.write(2, name);
    const ZcDbKeptGroup* flags = findKept(block, slot, 70);
    if (flags) {
      out_.write(70, flags->value);
    } else {
      out_.writeInt(70, block.isAnonymous() ? 1 : 0);
    }
    ZcGePoint3d origin = block.origin();
    out_.writePoint(10, origin.x, origin.y, origin.z);
    out_.write(3, name);
    const ZcDbKeptGroup* path = findKept(block, slot, 1);
    out_.write(1, path ? std::string_view(path->value) : std::string_view());
  }
  if (const auto* kept = ZcDbFileAccess::keptGroups(&block)) {
    for (const ZcDbKeptGroup& g : *kept) {
      if (g.slot != slot) continue;
      if (g.code == 5 || g.code == 8 || g.code == 67 || (begin && (g.code == 70 || g.code == 1))) continue;
      ctx_.writeKept(g);
    }
  }
}

void DocumentWriter::writeBlocks() {
  out_.write(0, "SECTION");
  out_.write(2, "BLOCKS");
  auto* blocks = ZcDbSymbolTable::cast(ZcDbFileAccess::peek(db_.blockTableId()));
  if (blocks) {
    for (ZcDbObjectId id : blocks->recordIds()) {
      auto* block = ZcDbBlockTableRecord::cast(ZcDbFileAccess::peek(id));
      if (!block || id.isErased()) continue;
      writeBlockEnds(*block, /*begin=*/true);
      // The entities of the two spaces go to the ENTITIES section.
      if (id != db_.modelSpaceId() && id != db_.paperSpaceId()) {
        for (ZcDbObjectId entity : block->entityIds()) writeObject(entity);
      }
      writeBlockEnds(*block, /*begin=*/false);
    }
  }
  out_.write(0, "ENDSEC");
}

void DocumentWriter::writeEntities() {
  out_.write(0, "SECTION");
  out_.write(2, "ENTITIES");
  for (ZcDbObjectId spaceId : {db_.modelSpaceId(), db_.paperSpaceId()}) {
    if (auto* space = ZcDbBlockTableRecord::cast(ZcDbFileAccess::peek(spaceId))) {
      writeEntityList(space->entityIds());
    }
  }
  out_.write(0, "ENDSEC");
}

void DocumentWriter::writeEntityList(std::span<const ZcDbObjectId> ids) {
  std::unique_ptr<EntityWriteAhead> ahead;
  if (ids.size() >= tuning_.writeAheadFrom &&
      (tuning_.writeAheadFrom == 0 || std::thread::hardware_concurrency() >= 2)) {
    try {
      ahead = std::make_unique<EntityWriteAhead>(db_, ids, tuning_.pieces);
    } catch (const std::system_error&) {
      // No thread to be had: this one writes them all.
    }
  }
  size_t i = 0;
  while (i < ids.size()) {
    if (ahead) {
      if (std::optional<DocumentWriter::EntitiesText> piece = ahead->arriveAt(i)) {
        out_.append(piece->text);
        written_ += piece->objects;
        i += piece->count;
        continue;  // the rest of the piece, if the second thread stopped short
      }
    }
    writeObject(ids[i++]);
  }
}

void DocumentWriter::writeObjects() {
  out_.write(0, "SECTION");
  out_.write(2, "OBJECTS");
  ZcDbObjectId nod = db_.namedObjectsDictionaryId();
  writeObject(nod);
  for (ZcDbObjectId id : objects_) {
    if (id != nod) writeObject(id);
  }
  out_.write(0, "ENDSEC");
}

}  // namespace vtcad::dxf
