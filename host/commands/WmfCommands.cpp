// WMFOUT and WMFIN: Windows Metafiles of the selected entities and back.
//
// WMFOUT writes what the current view shows as a picture does: the view's rectangle is the
// metafile's frame, its larger side kViewSpan logical units, y downwards; curves are polylines
// within half a logical unit, texts their glyph outlines filled. The exact size of a logical
// unit goes into a comment record, and the header's inches say the same, rounded, to other
// programs.
//
// WMFIN brings a metafile in as a block reference of polylines, the frame's upper-left corner
// at the insertion point. One unit of the drawing per inch of the header; a metafile of ours at
// half the size of the view it was written from (what CAD hosts do: an insertion at scale 2 on
// the view's upper-left corner puts the shapes back where they were drawn). See docs/wmf.md.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "commands/CurrentView.h"
#include "commands/Document.h"
#include "commands/DrawCommandSupport.h"
#include "commands/EditCommandSupport.h"
#include "commands/EditCommands.h"
#include "commands/EntityShapes.h"
#include "dxf/DxfText.h"
#include "platform/AtomicFile.h"
#include "platform/WmfReader.h"
#include "platform/WmfWriter.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/zced.h"

namespace vtcad::commands {
namespace {

constexpr std::size_t kPathLength = 4096;
// Logical units across the larger side of the view: room for shapes that reach out of the
// view by up to half its size on every side before the 16-bit coordinates run out.
constexpr double kViewSpan = 32000.0;
// Metafiles larger than this are refused before they are read.
constexpr std::uintmax_t kLargestFile = std::uintmax_t{256} << 20;
// Logical units per inch of a metafile without the placeable header (twips).
constexpr double kTwipsPerInch = 1440.0;

std::wstring typedFileName(const std::wstring& prompt) {
  ZTCHAR typed[kPathLength] = {};
  if (zcedGetString(/*cronly=*/0, prompt.c_str(), typed, kPathLength) != RTNORM) return {};
  std::wstring name = typed;
  if (name.size() >= 2 && name.front() == L'"' && name.back() == L'"') name = name.substr(1, name.size() - 2);
  return name;
}

std::filesystem::path withWmfExtension(const std::wstring& name) {
  std::filesystem::path path(dxf::wideToUtf8(name));
  if (!path.has_extension()) path += ".wmf";
  return path;
}

std::wstring defaultMetafileName() {
  const std::filesystem::path drawing = Document::instance().saveTarget();
  if (drawing.empty()) return L"drawing.wmf";
  return dxf::utf8ToWide(drawing.filename().replace_extension(".wmf").string());
}

// World points to logical units of the view's frame.
class ViewMapping {
 public:
  explicit ViewMapping(const ViewArea& view)
      : unit_(std::max(view.width, view.height) / kViewSpan),
        x0_(view.center.x - view.width / 2),
        y0_(view.center.y + view.height / 2) {
    const auto half = [&](double size) { return static_cast<std::int16_t>(std::lround(size / unit_ / 2)); };
    frame_ = {static_cast<std::int16_t>(-half(view.width)), static_cast<std::int16_t>(-half(view.height)),
              half(view.width), half(view.height)};
  }
  double unit() const { return unit_; }
  const platform::WmfFrame& frame() const { return frame_; }
  long clamped() const { return clamped_; }

  platform::WmfPoint operator()(const ZcGePoint3d& p) {
    return {coordinate(frame_.left + (p.x - x0_) / unit_), coordinate(frame_.top + (y0_ - p.y) / unit_)};
  }

  std::vector<platform::WmfPoint> run(const std::vector<ZcGePoint3d>& points) {
    std::vector<platform::WmfPoint> out;
    out.reserve(points.size());
    for (const ZcGePoint3d& p : points) {
      const platform::WmfPoint q = (*this)(p);
      if (out.empty() || !(out.back() == q)) out.push_back(q);  // chords shorter than a unit
    }
    return out;
  }

 private:
  std::int16_t coordinate(double value) {
    const double rounded = std::round(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) {
      ++clamped_;
      return static_cast<std::int16_t>(rounded > 0.0 ? 32767 : -32768);  // also NaN: the low edge
    }
    return static_cast<std::int16_t>(rounded);
  }

  double unit_;
  double x0_;
  double y0_;
  platform::WmfFrame frame_;
  long clamped_ = 0;
};

std::optional<std::string> readWholeFile(const std::filesystem::path& path, std::string& bytes) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return "not a file";
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return error.message();
  if (size > kLargestFile) return "the file is larger than 256 MB";
  std::ifstream in(path, std::ios::binary);
  if (!in) return "cannot open it";
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) return "cannot read it";
  return std::nullopt;
}

// "WMF0", "WMF1", ...: the first name the block table does not have.
std::wstring freeBlockName(ZcDbDatabase* db) {
  for (int i = 0;; ++i) {
    std::wstring name = L"WMF" + std::to_wstring(i);
    if (draw::findRecord(db->blockTableId(), name).isNull()) return name;
  }
}

// A block of the metafile's paths, its base point the frame's upper-left corner; null (after
// saying why) when it cannot be made, and then nothing is left in the drawing.
ZcDbObjectId makeBlock(ZcDbDatabase* db, const platform::WmfContent& content, double unitsPerLogical) {
  ZcDbBlockTable* table = nullptr;
  if (db->getBlockTable(table, ZcDb::kForWrite) != Zcad::eOk) {
    print(L"The block table cannot be changed now: nothing was inserted.\n");
    return ZcDbObjectId();
  }
  auto record = std::make_unique<ZcDbBlockTableRecord>();
  record->setName(freeBlockName(db).c_str());
  ZcDbObjectId blockId;
  const Zcad::ErrorStatus added = table->add(blockId, record.get());
  table->close();
  if (added != Zcad::eOk) {
    print(L"The block cannot be added: nothing was inserted.\n");
    return ZcDbObjectId();
  }
  ZcDbBlockTableRecord* block = record.release();
  const platform::WmfFrame& f = content.picture.frame;
  bool failed = false;
  for (const platform::WmfPath& path : content.picture.paths) {
    auto pline = std::make_unique<ZcDbPolyline>();
    unsigned int index = 0;
    for (const platform::WmfPoint& p : path.points) {
      pline->addVertexAt(index++,
                         ZcGePoint2d((p.x - f.left) * unitsPerLogical, -(p.y - f.top) * unitsPerLogical));
    }
    pline->setClosed(path.closed);
    if (block->appendZcDbEntity(pline.get()) != Zcad::eOk) {
      failed = true;
      break;
    }
    pline.release()->close();
  }
  if (failed) {
    block->erase();
    block->close();
    print(L"The shapes cannot be added to a block: nothing was inserted.\n");
    return ZcDbObjectId();
  }
  block->close();
  return blockId;
}

void eraseBlock(ZcDbObjectId blockId) {
  ZcDbBlockTableRecord* block = nullptr;
  if (zcdbOpenObject(block, blockId, ZcDb::kForWrite) != Zcad::eOk) return;
  block->erase();
  block->close();
}

}  // namespace

void wmfoutCommand() {
  ZcDbDatabase* db = workingDrawing();
  if (!db) return;
  const std::wstring fallback = defaultMetafileName();
  const std::wstring typed = typedFileName(L"\nEnter WMF file name <" + fallback + L">: ");
  const std::filesystem::path path = withWmfExtension(typed.empty() ? fallback : typed);
  std::vector<ZcDbObjectId> ids;
  if (!selectEntities(ids, SelectFor::kReading)) {
    print(L"Nothing selected: no metafile was written.\n");
    return;
  }
  ViewArea view;
  if (getCurrentView(db, view) != Zcad::eOk) {
    print(L"The current view cannot be read: no metafile was written.\n");
    return;
  }
  ViewMapping toLogical(view);
  const EntityShapes shapes = shapesOfEntities(ids, /*chordTolerance=*/toLogical.unit() / 2);
  platform::WmfPicture picture;
  picture.frame = toLogical.frame();
  picture.drawingUnitsPerLogical = toLogical.unit();
  // The inches a reader without our comment sees: the size WMFIN gives our own pictures.
  picture.unitsPerInch =
      static_cast<std::uint16_t>(std::clamp(std::lround(2.0 / toLogical.unit()), 1L, 65535L));
  for (const ShapePath& shape : shapes.paths) {
    platform::WmfPath out{toLogical.run(shape.points), shape.closed};
    if (out.points.size() >= 2) picture.paths.push_back(std::move(out));
  }
  for (const ShapeFill& shape : shapes.fills) {
    platform::WmfFill out;
    for (const std::vector<ZcGePoint3d>& contour : shape.contours) {
      std::vector<platform::WmfPoint> ring = toLogical.run(contour);
      if (ring.size() >= 3) out.contours.push_back(std::move(ring));
    }
    if (!out.contours.empty()) picture.fills.push_back(std::move(out));
  }
  if (auto failed =
          platform::replaceFileAtomically(path, platform::encodeWmf(picture), /*newFileMode=*/0644)) {
    print(L"Cannot write the metafile: " + dxf::utf8ToWide(*failed) + L"\n");
    return;
  }
  if (toLogical.clamped() > 0) {
    print(L"Parts of the selection reach far beyond the view: " + std::to_wstring(toLogical.clamped()) +
          L" points were moved to the metafile's edge.\n");
  }
  print(L"Wrote " + dxf::utf8ToWide(path.string()) + L" (" + std::to_wstring(shapes.entities) + L" of " +
        std::to_wstring(ids.size()) + L" objects drawn).\n");
}

void wmfinCommand() {
  ZcDbDatabase* db = workingDrawing();
  if (!db) return;
  const std::wstring typed = typedFileName(L"\nEnter WMF file name: ");
  if (typed.empty()) return;
  const std::filesystem::path path = withWmfExtension(typed);
  const std::wstring shown = dxf::utf8ToWide(path.string());
  std::string bytes;
  if (auto failed = readWholeFile(path, bytes)) {
    print(L"Cannot read " + shown + L": " + dxf::utf8ToWide(*failed) + L".\n");
    return;
  }
  auto decoded = platform::decodeWmf(
      std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  if (const auto* bad = std::get_if<platform::WmfError>(&decoded)) {
    print(L"Cannot read " + shown + L": " + dxf::utf8ToWide(bad->message) + L".\n");
    return;
  }
  const platform::WmfContent& content = std::get<platform::WmfContent>(decoded);
  if (content.picture.paths.empty()) {
    print(shown + L" holds no shapes this program reads: nothing was inserted.\n");
    return;
  }
  draw::Answer<ZcGePoint3d> insertion =
      draw::getPoint(nullptr, L"\nSpecify insertion point: ", {.bits = RSG_NONULL});
  if (!insertion.isValue()) return;
  draw::Answer<double> sx = draw::getReal(L"\nEnter X scale factor <1>: ", {.bits = RSG_NOZERO});
  if (sx.isCancel()) return;
  const double xScale = sx.isValue() ? sx.value : 1.0;
  draw::Answer<double> sy =
      draw::getReal(L"\nEnter Y scale factor <use X scale factor>: ", {.bits = RSG_NOZERO});
  if (sy.isCancel()) return;
  const double yScale = sy.isValue() ? sy.value : xScale;
  draw::Answer<double> rotation = draw::getAngle(&insertion.value, L"\nSpecify rotation angle <0>: ");
  if (rotation.isCancel()) return;
  if (!draw::inRange({xScale, yScale, rotation.isValue() ? rotation.value : 0.0})) return;

  const double unitsPerLogical =
      content.picture.drawingUnitsPerLogical
          ? *content.picture.drawingUnitsPerLogical / 2
          : 1.0 / (content.placeable ? content.picture.unitsPerInch : kTwipsPerInch);
  const ZcDbObjectId blockId = makeBlock(db, content, unitsPerLogical);
  if (blockId.isNull()) return;
  auto reference = std::make_unique<ZcDbBlockReference>(insertion.value, blockId);
  if (reference->setScaleFactors(ZcGeScale3d(xScale, yScale, xScale)) != Zcad::eOk ||
      reference->setRotation(rotation.isValue() ? rotation.value : 0.0) != Zcad::eOk) {
    eraseBlock(blockId);
    print(L"The metafile cannot be inserted that way; nothing was inserted.\n");
    return;
  }
  if (draw::addEntity(db, std::move(reference)).isNull()) {
    eraseBlock(blockId);
    return;
  }
  std::wstring note;
  if (content.skippedRecords > 0)
    note = L", " + std::to_wstring(content.skippedRecords) + L" records skipped";
  print(L"Inserted " + std::to_wstring(content.picture.paths.size()) + L" shapes of " + shown +
        L" as block " + draw::recordName(blockId) + note + L".\n");
}

}  // namespace vtcad::commands
