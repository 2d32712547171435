#include "commands/DrawingFileBlock.h"

#include <memory>
#include <vector>

#include "dxf/DxfFile.h"
#include "platform/TextEncoding.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/db/ZcDbLinetypeTable.h"
#include "zcad/db/ZcDbMText.h"
#include "zcad/db/ZcDbText.h"

namespace vtcad::commands {

namespace {

// The layer `name` of `db`, made with `colour` when it is missing; false when it can be neither
// found nor made.
bool ensureLayer(ZcDbDatabase* db, const ZcString& name, const ZcCmColor& colour) {
  ZcDbLayerTable* table = nullptr;
  if (db->getLayerTable(table, ZcDb::kForRead) != Zcad::eOk) return false;
  if (table->has(name.kwszPtr())) {
    table->close();
    return true;
  }
  if (table->upgradeOpen() != Zcad::eOk) {
    table->close();
    return false;
  }
  auto* record = new ZcDbLayerTableRecord;
  bool made = record->setName(name.kwszPtr()) == Zcad::eOk;
  record->setColor(colour);
  made = made && table->add(record) == Zcad::eOk;
  if (made) {
    record->close();
  } else {
    delete record;
  }
  table->close();
  return made;
}

bool hasLinetype(ZcDbDatabase* db, const ZcString& name) {
  ZcDbLinetypeTable* table = nullptr;
  if (db->getLinetypeTable(table, ZcDb::kForRead) != Zcad::eOk) return false;
  const bool has = table->has(name.kwszPtr());
  table->close();
  return has;
}

ZcCmColor layerColour(ZcDbObjectId layerId) {
  ZcDbLayerTableRecord* layer = nullptr;
  ZcCmColor colour;
  colour.setColorIndex(7);
  if (zcdbOpenObject(layer, layerId, ZcDb::kForRead) == Zcad::eOk) {
    colour = layer->color();
    layer->close();
  }
  return colour;
}

std::wstring uniqueBlockName(ZcDbDatabase* db, const std::wstring& stem) {
  ZcDbBlockTable* table = nullptr;
  if (db->getBlockTable(table, ZcDb::kForRead) != Zcad::eOk) return stem;
  std::wstring name = stem.empty() ? std::wstring(L"DRAWING") : stem;
  const std::wstring base = name;
  for (int n = 2; table->has(name.c_str()); ++n) name = base + L"_" + std::to_wstring(n);
  table->close();
  return name;
}

}  // namespace

FileBlock defineBlockFromFile(ZcDbDatabase* db, const std::filesystem::path& path) {
  FileBlock result;
  dxf::LoadResult loaded = dxf::loadDxfFile(path);
  if (!loaded.ok()) {
    result.refusal =
        L"Cannot read " + platform::wideFromPath(path) + L": " + platform::decodeUtf8(loaded.refusal).text;
    return result;
  }
  // The copies first, off any database, so that a file that fails half-way changes nothing.
  std::vector<std::unique_ptr<ZcDbEntity>> copies;
  struct Properties {
    ZcString layer;
    ZcCmColor layerColour;
    ZcString linetype;
  };
  std::vector<Properties> properties;
  {
    ZcDbBlockTableRecord* space = nullptr;
    if (zcdbOpenObject(space, loaded.database->modelSpaceId(), ZcDb::kForRead) != Zcad::eOk) {
      result.refusal = L"Cannot read " + platform::wideFromPath(path) + L": it has no model space";
      return result;
    }
    for (ZcDbObjectId id : space->entityIds()) {
      ZcDbEntity* entity = nullptr;
      if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) continue;
      if (ZcDbBlockReference::cast(entity) || ZcDbText::cast(entity) || ZcDbMText::cast(entity)) {
        ++result.leftOut;
      } else if (auto* copy = ZcDbEntity::cast(entity->clone())) {
        copies.emplace_back(copy);
        properties.push_back({entity->layer(), layerColour(entity->layerId()), entity->linetype()});
      } else {
        ++result.leftOut;
      }
      entity->close();
    }
    space->close();
  }
  result.name = uniqueBlockName(db, platform::wideFromPath(path.stem()));
  ZcDbBlockTable* table = nullptr;
  if (db->getBlockTable(table, ZcDb::kForWrite) != Zcad::eOk) {
    result.refusal = L"The drawing's block table cannot be changed.";
    return result;
  }
  auto* record = new ZcDbBlockTableRecord;
  record->setName(result.name.c_str());
  record->setOrigin(ZcGePoint3d(0, 0, 0));
  ZcDbObjectId blockId;
  if (table->add(blockId, record) != Zcad::eOk) {
    delete record;
    table->close();
    result.refusal = L"The block \"" + result.name + L"\" cannot be added.";
    return result;
  }
  table->close();
  for (std::size_t i = 0; i < copies.size(); ++i) {
    ZcDbEntity* copy = copies[i].get();
    const Properties& p = properties[i];
    if (!ensureLayer(db, p.layer, p.layerColour) || copy->setLayer(p.layer.kwszPtr()) != Zcad::eOk) {
      copy->setLayer(L"0");
    }
    if (!hasLinetype(db, p.linetype) || copy->setLinetype(p.linetype.kwszPtr()) != Zcad::eOk) {
      copy->setLinetype(L"ByLayer");
    }
    if (record->appendZcDbEntity(copy) == Zcad::eOk) {
      copies[i].release()->close();
    } else {
      ++result.leftOut;
    }
  }
  record->close();
  result.block = blockId;
  return result;
}

}  // namespace vtcad::commands
