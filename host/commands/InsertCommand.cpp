// INSERT: a reference to a block of the drawing. Block name (the last one is the default;
// "?" lists the blocks), insertion point, X scale factor (a number, an opposite corner that
// gives X and Y at once, or XYZ for all three factors), Y scale factor (X's by default; Z is
// X's too) and rotation angle. Attributes are not asked for: the host keeps none.
//
// A name the block table does not have that names a file brings that DXF drawing in as a new
// block named after the file (DrawingFileBlock.h). Any other name the block table does not
// have (or a layout's, or an anonymous block's) is answered with "Block "X" not found." and the
// command ends. Scale factors may be negative (a mirrored
// insertion) but never zero.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "commands/DrawCommandSupport.h"
#include "commands/DrawCommands.h"
#include "commands/DrawingFileBlock.h"
#include "editor/InputParsing.h"
#include "platform/TextEncoding.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/zced.h"

namespace vtcad::commands {

namespace {

using namespace draw;

// The block INSERT offers next time.
std::wstring lastBlockName;

// Blocks a user may insert: neither layouts nor anonymous blocks (those belong to the
// objects that made them).
bool insertable(ZcDbObjectId blockId) {
  ZcDbBlockTableRecord* block = nullptr;
  if (zcdbOpenObject(block, blockId, ZcDb::kForRead) != Zcad::eOk) return false;
  bool ok = !block->isLayout() && !block->isAnonymous();
  block->close();
  return ok;
}

// A name no block has that names a file: INSERT then brings the drawing in as a block.
bool namesAFile(const std::wstring& name) {
  std::error_code ignored;
  return std::filesystem::is_regular_file(platform::pathFromWide(name), ignored);
}

// The file's drawing as a new block (named after the file); null, after saying why, when the
// file cannot be read.
ZcDbObjectId blockFromFile(ZcDbDatabase* db, const std::wstring& path) {
  FileBlock made = defineBlockFromFile(db, platform::pathFromWide(path));
  if (made.block.isNull()) {
    say(L"\n" + made.refusal);
    return ZcDbObjectId();
  }
  if (made.leftOut > 0) {
    say(L"\n" + std::to_wstring(made.leftOut) +
        L" block references and texts of the file were left out of the block \"" + made.name + L"\".");
  }
  return made.block;
}

// The block asked for; null after a cancel or a name the drawing does not have.
ZcDbObjectId askBlock(ZcDbDatabase* db) {
  for (;;) {
    std::wstring prompt = lastBlockName.empty() ? std::wstring(L"\nEnter block name or [?]: ")
                                                : L"\nEnter block name or [?] <" + lastBlockName + L">: ";
    Answer<std::wstring> name = getText(/*spaces=*/false, prompt);
    if (name.isCancel() || (name.isNone() && lastBlockName.empty())) return ZcDbObjectId();
    std::wstring wanted = name.isNone() ? lastBlockName : name.value;
    if (wanted == L"?") {
      say(L"\nDefined blocks.");
      for (const std::wstring& each : recordNames(db->blockTableId())) {
        ZcDbObjectId id = findRecord(db->blockTableId(), each);
        if (insertable(id)) say(L"\n  \"" + each + L"\"");
      }
      continue;
    }
    ZcDbObjectId id = findRecord(db->blockTableId(), wanted);
    if (id.isNull() && namesAFile(wanted)) return blockFromFile(db, wanted);
    if (id.isNull() || !insertable(id)) {
      say(L"\nBlock \"" + wanted + L"\" not found.");
      return ZcDbObjectId();
    }
    lastBlockName = recordName(id);
    return id;
  }
}

// The X and Y factors from the corner opposite the insertion point; nothing (after saying
// why) when the corner lies level with it or straight above it.
std::optional<ZcGeScale3d> cornerScale(const ZcGePoint3d& insertion, const ZcGePoint3d& corner) {
  double sx = corner.x - insertion.x, sy = corner.y - insertion.y;
  if (sx == 0.0 || sy == 0.0) {
    say(L"\nThe corner gives a zero scale factor; specify another one.");
    return std::nullopt;
  }
  return ZcGeScale3d(sx, sy, sx);
}

// One factor of XYZ; nothing after a cancel.
std::optional<double> askFactor(const std::wstring& prompt, double fallback) {
  Answer<double> factor = getReal(prompt, {.bits = RSG_NOZERO});
  if (factor.isCancel()) return std::nullopt;
  return factor.isValue() ? factor.value : fallback;
}

// The scale factors; nothing after a cancel.
std::optional<ZcGeScale3d> askScale(const ZcGePoint3d& insertion) {
  for (;;) {
    // Numbers come back as arbitrary input, points as points.
    Answer<ZcGePoint3d> x =
        getPoint(&insertion, L"\nEnter X scale factor, specify opposite corner, or [Corner/XYZ] <1>: ",
                 {.bits = RSG_OTHER, .keywords = L"Corner XYZ"});
    if (x.isCancel()) return std::nullopt;
    if (x.isValue()) {
      if (std::optional<ZcGeScale3d> scale = cornerScale(insertion, x.value)) return scale;
      continue;
    }
    if (x.is(L"Corner")) {
      Answer<ZcGePoint3d> corner = getPoint(&insertion, L"\nSpecify opposite corner: ", {.bits = RSG_NONULL});
      if (!corner.isValue()) return std::nullopt;
      if (std::optional<ZcGeScale3d> scale = cornerScale(insertion, corner.value)) return scale;
      continue;
    }
    if (x.is(L"XYZ")) {
      std::optional<double> sx = askFactor(L"\nSpecify X scale factor <1>: ", 1.0);
      if (!sx) return std::nullopt;
      std::optional<double> sy = askFactor(L"\nSpecify Y scale factor <use X scale factor>: ", *sx);
      if (!sy) return std::nullopt;
      std::optional<double> sz = askFactor(L"\nSpecify Z scale factor <use X scale factor>: ", *sx);
      if (!sz) return std::nullopt;
      return ZcGeScale3d(*sx, *sy, *sz);
    }
    double sx = 1.0;
    if (!x.isNone()) {
      std::optional<double> typed = editor::parseReal(x.keyword);
      if (!typed) {
        say(L"\nRequires a scale factor, a corner point or an option keyword.");
        continue;
      }
      if (*typed == 0.0) {
        say(L"\nValue must be nonzero.");
        continue;
      }
      sx = *typed;
    }
    std::optional<double> sy = askFactor(L"\nEnter Y scale factor <use X scale factor>: ", sx);
    if (!sy) return std::nullopt;
    return ZcGeScale3d(sx, *sy, sx);
  }
}

}  // namespace

void insertCommand() {
  ZcDbDatabase* db = drawingDatabase();
  if (!db) return;
  ZcDbObjectId block = askBlock(db);
  if (block.isNull()) return;
  Answer<ZcGePoint3d> insertion = getPoint(nullptr, L"\nSpecify insertion point: ", {.bits = RSG_NONULL});
  if (!insertion.isValue()) return;
  std::optional<ZcGeScale3d> scale = askScale(insertion.value);
  if (!scale) return;
  Answer<double> rotation = getAngle(&insertion.value, L"\nSpecify rotation angle <0>: ");
  if (rotation.isCancel()) return;
  auto reference = std::make_unique<ZcDbBlockReference>(insertion.value, block);
  if (reference->setScaleFactors(*scale) != Zcad::eOk ||
      reference->setRotation(rotation.isValue() ? rotation.value : 0.0) != Zcad::eOk) {
    say(L"\nThe block cannot be inserted that way; nothing was drawn.");
    return;
  }
  addEntity(db, std::move(reference));
}

}  // namespace vtcad::commands
