// The layouts a drawing file needs.
#include "dxf/DxfLayouts.h"

#include <algorithm>
#include <cctype>
#include <cwchar>
#include <string>
#include <vector>

#include "database/ZcDbFileAccess.h"
#include "dxf/DxfTagWriter.h"
#include "dxf/DxfUnknownObject.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbDictionary.h"

namespace vtcad::dxf {
namespace {

// The groups of a LAYOUT with default plot settings for an A3 sheet (420 x 297 mm), as
// every CAD program can take them.
std::vector<ZcDbKeptGroup> layoutGroups(const std::string& name, int tabOrder, bool model,
                                        ZcDbObjectId block) {
  std::vector<ZcDbKeptGroup> g;
  auto add = [&](int code, std::string value) {
    g.push_back(ZcDbKeptGroup{static_cast<Zdesk::Int16>(code), 1, std::move(value), ZcDbObjectId()});
  };
  add(100, "AcDbPlotSettings");
  add(1, "");
  add(2, "none_device");
  add(4, "ISO_A3_(420.00_x_297.00_MM)");
  add(6, "");
  for (int code : {40, 41, 42, 43}) add(code, "0.0");
  add(44, "420.0");
  add(45, "297.0");
  for (int code : {46, 47, 48, 49}) add(code, "0.0");
  add(140, "0.0");
  add(141, "0.0");
  add(142, "1.0");
  add(143, "1.0");
  add(70, model ? "1712" : "688");
  add(72, "1");
  add(73, "0");
  add(74, model ? "0" : "5");
  add(7, "");
  add(75, model ? "0" : "16");
  add(147, "1.0");
  add(76, "0");
  add(77, "2");
  add(78, "300");
  add(148, "0.0");
  add(149, "0.0");
  add(100, "AcDbLayout");
  add(1, name);
  add(70, "1");
  add(71, std::to_string(tabOrder));
  add(10, "0.0");
  add(20, "0.0");
  add(11, "420.0");
  add(21, "297.0");
  for (int code : {12, 22, 32}) add(code, "0.0");
  for (int code : {14, 24, 34}) add(code, "1e+20");
  for (int code : {15, 25, 35}) add(code, "-1e+20");
  add(146, "0.0");
  for (int code : {13, 23, 33}) add(code, "0.0");
  add(16, "1.0");
  add(26, "0.0");
  add(36, "0.0");
  add(17, "0.0");
  add(27, "1.0");
  add(37, "0.0");
  add(76, "0");
  g.push_back(ZcDbKeptGroup{330, 1, "0", block});
  return g;
}

ZcDbObjectId addDictionary(ZcDbDatabase& db, ZcDbDictionary* parent, ZcDbObjectId parentId,
                           const wchar_t* key) {
  auto* dict = new ZcDbDictionary;
  ZcDbObjectId id;
  if (ZcDbFileAccess::add(&db, dict, parentId, ZcDbHandle(), id) != Zcad::eOk) {
    delete dict;
    return id;
  }
  ZcDbFileAccess::setDictionaryEntry(parent, key, id);
  ZcDbFileAccess::addPersistentReactor(dict, parentId);
  return id;
}

void addLayout(ZcDbDatabase& db, ZcDbDictionary* layouts, ZcDbObjectId layoutsId, const wchar_t* key,
               ZcDbObjectId blockId, int tabOrder, bool model) {
  auto* block = ZcDbBlockTableRecord::cast(ZcDbFileAccess::peek(blockId));
  if (!block) return;
  auto* layout = new DxfUnknownObject("LAYOUT");
  ZcDbFileAccess::keptGroupsForWrite(layout) =
      layoutGroups(std::string(key, key + std::wcslen(key)), tabOrder, model, blockId);
  ZcDbObjectId id;
  if (ZcDbFileAccess::add(&db, layout, layoutsId, ZcDbHandle(), id) != Zcad::eOk) {
    delete layout;
    return;
  }
  ZcDbFileAccess::setDictionaryEntry(layouts, key, id);
  ZcDbFileAccess::addPersistentReactor(layout, layoutsId);
  // The block record points to its layout (340, in its own subclass).
  std::vector<ZcDbKeptGroup>& kept = ZcDbFileAccess::keptGroupsForWrite(block);
  kept.erase(std::remove_if(kept.begin(), kept.end(), [](const ZcDbKeptGroup& g) { return g.code == 340; }),
             kept.end());
  kept.push_back(ZcDbKeptGroup{340, 2, "0", id});
}

// The group of a LAYOUT that names its block record: the 330 after its AcDbLayout marker.
ZcDbKeptGroup* layoutBlockGroup(DxfUnknownObject& layout) {
  std::vector<ZcDbKeptGroup>& kept = ZcDbFileAccess::keptGroupsForWrite(&layout);
  auto marker = std::find_if(kept.begin(), kept.end(),
                             [](const ZcDbKeptGroup& g) { return g.code == 100 && g.value == "AcDbLayout"; });
  if (marker == kept.end()) return nullptr;
  auto block = std::find_if(marker, kept.end(), [](const ZcDbKeptGroup& g) { return g.code == 330; });
  return block == kept.end() ? nullptr : &*block;
}

// A paper space block of its own for a layout that has none: "*Paper_Space<n>", the first n
// free.
ZcDbObjectId newPaperSpace(ZcDbDatabase& db) {
  auto* table = ZcDbSymbolTable::cast(ZcDbFileAccess::peek(db.blockTableId()));
  if (!table) return ZcDbObjectId();
  std::wstring name;
  for (int n = 0; name.empty() || table->has(name.c_str()); ++n) name = L"*Paper_Space" + std::to_wstring(n);
  auto* block = new ZcDbBlockTableRecord;
  ZcDbFileAccess::setRecordName(block, ZcString(name.c_str()));
  ZcDbObjectId id;
  if (ZcDbFileAccess::add(&db, block, db.blockTableId(), ZcDbHandle(), id) != Zcad::eOk) {
    delete block;
    return ZcDbObjectId();
  }
  ZcDbFileAccess::appendRecord(table, id);
  return id;
}

}  // namespace

size_t relinkLayouts(ZcDbDatabase& db, const std::vector<ZcDbObjectId>& candidates) {
  // One pass sorts out the few objects this is about: block records and LAYOUT records.
  std::vector<ZcDbObjectId> all = candidates;
  if (auto* table = static_cast<ZcDbSymbolTable*>(ZcDbFileAccess::peek(db.blockTableId()))) {
    const std::vector<ZcDbObjectId>& records = table->recordIds();
    all.insert(all.end(), records.begin(), records.end());
  }
  std::sort(all.begin(), all.end());
  all.erase(std::unique(all.begin(), all.end()), all.end());
  std::vector<ZcDbObjectId> blocks;
  std::vector<ZcDbObjectId> layoutIds;
  for (ZcDbObjectId id : all) {
    if (id.isNull() || id.isErased()) continue;
    ZcDbObject* obj = ZcDbFileAccess::peek(id);
    if (!obj) continue;
    if (obj->isA() == ZcDbBlockTableRecord::desc()) {
      blocks.push_back(id);
    } else if (obj->isA() == DxfUnknownObject::desc() &&
               static_cast<DxfUnknownObject*>(obj)->recordType() == "LAYOUT") {
      layoutIds.push_back(id);
    }
  }
  // In handle order, as the file numbered them: which layout takes a free paper space does
  // not depend on the order objects were made in. Sorting these few, not every object.
  auto byHandle = [](ZcDbObjectId a, ZcDbObjectId b) { return a.handle().value() < b.handle().value(); };
  std::sort(blocks.begin(), blocks.end(), byHandle);
  std::sort(layoutIds.begin(), layoutIds.end(), byHandle);
  auto blockOf = [](ZcDbObjectId id) {
    return id.isNull() || id.isErased() ? nullptr : ZcDbBlockTableRecord::cast(ZcDbFileAccess::peek(id));
  };
  auto isLayout = [&](ZcDbObjectId id) {
    return !id.isNull() && std::find(layoutIds.begin(), layoutIds.end(), id) != layoutIds.end();
  };
  auto linkOf = [&](ZcDbObjectId layoutId) {
    return isLayout(layoutId)
               ? layoutBlockGroup(*static_cast<DxfUnknownObject*>(ZcDbFileAccess::peek(layoutId)))
               : nullptr;
  };
  size_t mended = 0;
  // Some writers give block records no handles: their layouts then name a block record that
  // does not exist, while the block record still names its layout (340).
  for (ZcDbObjectId id : blocks) {
    const std::vector<ZcDbKeptGroup>* kept = ZcDbFileAccess::keptGroups(ZcDbFileAccess::peek(id));
    if (!kept) continue;
    for (const ZcDbKeptGroup& g : *kept) {
      ZcDbKeptGroup* link = g.code == 340 ? linkOf(g.ref) : nullptr;
      if (!link || blockOf(link->ref)) continue;
      link->ref = id;
      ++mended;
    }
  }
  // Layouts still without their block: "Model" takes model space, the others the paper
  // spaces no layout has, in handle order, and a new paper space when there is none left.
  std::vector<ZcDbObjectId> linked;
  for (ZcDbObjectId id : layoutIds) {
    if (ZcDbKeptGroup* link = linkOf(id); link && blockOf(link->ref)) linked.push_back(link->ref);
  }
  auto isLinked = [&](ZcDbObjectId block) {
    return std::find(linked.begin(), linked.end(), block) != linked.end();
  };
  for (ZcDbObjectId id : layoutIds) {
    ZcDbKeptGroup* link = linkOf(id);
    if (!link || blockOf(link->ref)) continue;
    const std::vector<ZcDbKeptGroup>& kept = *ZcDbFileAccess::keptGroups(ZcDbFileAccess::peek(id));
    auto marker = std::find_if(kept.begin(), kept.end(), [](const ZcDbKeptGroup& g) {
      return g.code == 100 && g.value == "AcDbLayout";
    });
    auto name = std::find_if(marker, kept.end(), [](const ZcDbKeptGroup& g) { return g.code == 1; });
    const bool model = name != kept.end() && name->value.size() == 5 &&
                       std::equal(name->value.begin(), name->value.end(), "MODEL", [](char a, char b) {
                         return std::toupper(static_cast<unsigned char>(a)) == b;
                       });
    ZcDbObjectId block;
    if (model) {
      block = db.modelSpaceId();
    } else {
      for (ZcDbObjectId candidate : blocks) {
        if (blockOf(candidate)->isLayout() && candidate != db.modelSpaceId() && !isLinked(candidate)) {
          block = candidate;
          break;
        }
      }
    }
    if (block.isNull()) block = newPaperSpace(db);
    if (block.isNull()) continue;
    link->ref = block;
    linked.push_back(block);
    ++mended;
    // The block record names its layout when it names none that exists.
    std::vector<ZcDbKeptGroup>& blockKept = ZcDbFileAccess::keptGroupsForWrite(blockOf(block));
    const bool named = std::any_of(blockKept.begin(), blockKept.end(),
                                   [&](const ZcDbKeptGroup& g) { return g.code == 340 && isLayout(g.ref); });
    if (!named) {
      std::erase_if(blockKept, [](const ZcDbKeptGroup& g) { return g.code == 340; });
      blockKept.push_back(ZcDbKeptGroup{340, 2, "0", id});
    }
  }
  return mended;
}

void ensureLayouts(ZcDbDatabase& db) {
  ZcDbObjectId nodId = db.namedObjectsDictionaryId();
  auto* nod = ZcDbDictionary::cast(ZcDbFileAccess::peek(nodId));
  if (!nod) return;
  if (!nod->has(L"ACAD_GROUP")) addDictionary(db, nod, nodId, L"ACAD_GROUP");
  if (nod->has(L"ACAD_LAYOUT")) return;
  ZcDbObjectId layoutsId = addDictionary(db, nod, nodId, L"ACAD_LAYOUT");
  auto* layouts = ZcDbDictionary::cast(ZcDbFileAccess::peek(layoutsId));
  if (!layouts) return;
  addLayout(db, layouts, layoutsId, L"Model", db.modelSpaceId(), 0, /*model=*/true);
  addLayout(db, layouts, layoutsId, L"Layout1", db.paperSpaceId(), 1, /*model=*/false);
}

}  // namespace vtcad::dxf
