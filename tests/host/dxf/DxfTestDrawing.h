#pragma once
// Small drawings for the tests of the drawing-file layers: DXF text made from group lists,
// loading, saving and loading again, and finding entities.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "dxf/DxfFile.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEntity.h"

namespace vtcad::dxf::testing {

using Groups = std::vector<std::pair<int, std::string>>;

// DXF text of groups, one code and one value per line ("\n" line ends).
inline std::string dxfText(const Groups& groups) {
  std::string out;
  for (const auto& [code, value] : groups) {
    out += std::to_string(code);
    out += '\n';
    out += value;
    out += '\n';
  }
  return out;
}

// A file with only an ENTITIES section holding these groups (each entity starting with its
// (0, TYPE) group), as the simplest writers make them; the reader completes the drawing.
inline std::string entitiesOnly(const Groups& entityGroups) {
  Groups all{{0, "SECTION"}, {2, "ENTITIES"}};
  all.insert(all.end(), entityGroups.begin(), entityGroups.end());
  all.push_back({0, "ENDSEC"});
  all.push_back({0, "EOF"});
  return dxfText(all);
}

// The ids of the entities of model space, in order.
inline std::vector<ZcDbObjectId> modelSpaceEntities(ZcDbDatabase& db) {
  ZcDbBlockTableRecord* space = nullptr;
  if (zcdbOpenObject(space, db.modelSpaceId(), ZcDb::kForRead) != Zcad::eOk) return {};
  std::vector<ZcDbObjectId> ids;
  for (ZcDbObjectId id : space->entityIds()) {
    if (!id.isErased()) ids.push_back(id);
  }
  space->close();
  return ids;
}

// Loads text that must load; fails the test with the refusal otherwise.
inline LoadResult mustLoad(const std::string& text) {
  LoadResult result = readDxf(text);
  EXPECT_TRUE(result.ok()) << result.refusal;
  return result;
}

// Loads damaged text with what can be read of it. Without recovery the same text opens
// exactly when nothing was lost.
inline LoadResult mustRecover(const std::string& text) {
  LoadResult result = readDxf(text, Recovery::kRecover);
  EXPECT_TRUE(result.ok()) << result.refusal;
  LoadResult strict = readDxf(text);
  EXPECT_EQ(strict.ok(), result.losses == 0) << strict.refusal;
  EXPECT_EQ(strict.damaged, result.losses > 0);
  return result;
}

// Writes the drawing and reads the text again.
inline LoadResult saveAndLoad(ZcDbDatabase& db) {
  std::string text = writeDxf(db);
  return mustLoad(text);
}

// Opens an entity of model space for read as T; the caller closes it.
template <typename T>
T* openModelSpaceEntity(ZcDbDatabase& db, size_t index) {
  std::vector<ZcDbObjectId> ids = modelSpaceEntities(db);
  if (index >= ids.size()) return nullptr;
  T* entity = nullptr;
  if (zcdbOpenObject(entity, ids[index], ZcDb::kForRead) != Zcad::eOk) return nullptr;
  return entity;
}

}  // namespace vtcad::dxf::testing
