// vtcad: the CAD host program.
//
// Until drawings can be opened from files, `vtcad --example` builds the example site plan in
// memory and answers about it what the drafting commands will ask: lengths, areas, points
// at a distance, extents from font metrics; then it changes the drawing inside an undo group
// and takes the change back.
#include <clocale>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <memory>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "dxf/DxfFile.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbEllipse.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/db/ZcDbText.h"

namespace {

constexpr const char* kUsage =
    "usage: vtcad [options] [DRAWING]\n"
    "  DRAWING            DXF file to open (otherwise a new drawing)\n"
    "  -o, --save FILE    save the drawing as DXF (R2013)\n"
    "       vtcad --example    build the example site plan in memory and report on it\n"
    "       vtcad --version\n";

std::string narrow(const ZTCHAR* wide) {
  std::string out;
  std::mbstate_t state{};
  for (const ZTCHAR* p = wide; p && *p; ++p) {
    char buffer[8];
    size_t n = std::wcrtomb(buffer, *p, &state);
    if (n == static_cast<size_t>(-1)) {
      out.push_back('?');
    } else {
      out.append(buffer, n);
    }
  }
  return out;
}

bool append(ZcDbDatabase& db, ZcDbEntity* entity, const ZTCHAR* layer, std::vector<ZcDbObjectId>& ids) {
  ZcDbBlockTableRecord* space = nullptr;
  if (zcdbOpenObject(space, db.currentSpaceId(), ZcDb::kForWrite) != Zcad::eOk) {
    delete entity;
    return false;
  }
  entity->setDatabaseDefaults(&db);
  entity->setLayer(layer);
  ZcDbObjectId id;
  Zcad::ErrorStatus es = space->appendZcDbEntity(id, entity);
  space->close();
  if (es != Zcad::eOk) {
    delete entity;
    return false;
  }
  entity->close();
  ids.push_back(id);
  return true;
}

void addLayer(ZcDbDatabase& db, const ZTCHAR* name, Zdesk::UInt16 colorIndex) {
  ZcDbLayerTable* table = nullptr;
  if (db.getLayerTable(table, ZcDb::kForWrite) != Zcad::eOk) return;
  auto* layer = new ZcDbLayerTableRecord;
  layer->setName(name);
  ZcCmColor color;
  color.setColorIndex(colorIndex);
  layer->setColor(color);
  if (table->add(layer) == Zcad::eOk) {
    layer->close();
  } else {
    delete layer;
  }
  table->close();
}

void report(ZcDbObjectId id) {
  ZcDbEntity* entity = nullptr;
  if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk) return;
  ZcDbExtents box;
  entity->getGeomExtents(box);
  std::printf("%-14s layer %-6s extents (%8.3f, %8.3f) - (%8.3f, %8.3f)\n",
              narrow(entity->isA()->name()).c_str(), narrow(entity->layer()).c_str(), box.minPoint().x,
              box.minPoint().y, box.maxPoint().x, box.maxPoint().y);
  if (auto* curve = ZcDbCurve::cast(entity)) {
    double endParam = 0, length = 0, area = 0;
    ZcGePoint3d middle;
    curve->getEndParam(endParam);
    curve->getDistAtParam(endParam, length);
    curve->getArea(area);
    curve->getPointAtDist(length / 2, middle);
    std::printf("%14s length %10.4f  area %10.4f  halfway (%.4f, %.4f)%s\n", "", length, area, middle.x,
                middle.y, curve->isClosed() ? "  closed" : "");
  } else if (auto* text = ZcDbText::cast(entity)) {
    std::printf("%14s \"%s\" height %.2f\n", "", narrow(text->textString()).c_str(), text->height());
  }
  entity->close();
}

int runExample() {
  ZcDbDatabase db;
  zcdbHostApplicationServices()->setWorkingDatabase(&db);
  addLayer(db, L"SITE", /*colorIndex=*/3);
  addLayer(db, L"PLANT", /*colorIndex=*/2);
  std::vector<ZcDbObjectId> ids;

  // Plot boundary: a closed lightweight polyline with one rounded corner (bulge 0.4).
  auto* boundary = new ZcDbPolyline(5);
  const double corners[5][3] = {{0, 0, 0}, {60, 0, 0}, {60, 30, 0.4}, {40, 45, 0}, {0, 45, 0}};
  for (unsigned i = 0; i < 5; ++i) {
    boundary->addVertexAt(i, ZcGePoint2d(corners[i][0], corners[i][1]), corners[i][2]);
  }
  boundary->setClosed(true);
  append(db, boundary, L"SITE", ids);

  // Garden path: a fit-point spline.
  ZcGePoint3dArray fit;
  for (auto [x, y] : {std::pair{5.0, 5.0}, {20.0, 12.0}, {35.0, 8.0}, {50.0, 25.0}, {55.0, 40.0}}) {
    fit.append(ZcGePoint3d(x, y, 0));
  }
  append(db, new ZcDbSpline(fit), L"SITE", ids);
  append(db, new ZcDbCircle(ZcGePoint3d(15, 35, 0), ZcGeVector3d::kZAxis, 3.0), L"PLANT", ids);
  append(db, new ZcDbEllipse(ZcGePoint3d(45, 12, 0), ZcGeVector3d::kZAxis, ZcGeVector3d(6, 0, 0), 0.5),
         L"PLANT", ids);
  append(db, new ZcDbText(ZcGePoint3d(2, 47, 0), L"PLOT 17 \u5730\u5757", ZcDbObjectId::kNull, 2.5), L"SITE",
         ids);

  std::printf("The example site plan: %zu entities in model space\n\n", ids.size());
  for (ZcDbObjectId id : ids) report(id);

  // A command's worth of change: turn everything a quarter turn about the plot's centre.
  db.beginUndoGroup(L"ROTATE");
  ZcGeMatrix3d turn =
      ZcGeMatrix3d::rotation(std::numbers::pi / 2, ZcGeVector3d::kZAxis, ZcGePoint3d(30, 22.5, 0));
  for (ZcDbObjectId id : ids) {
    ZcDbEntity* entity = nullptr;
    if (zcdbOpenObject(entity, id, ZcDb::kForWrite) == Zcad::eOk) {
      entity->transformBy(turn);
      entity->close();
    }
  }
  db.endUndoGroup();
  std::printf("\nAfter a quarter turn about (30, 22.5):\n");
  report(ids.front());
  db.undo();
  std::printf("\nAfter undo:\n");
  report(ids.front());
  zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
  return 0;
}

}  // namespace

// Opens DRAWING (or starts a new drawing), reports what loading repaired, and saves to the
// -o file. Exit status: 0 done, 1 the drawing could not be opened or saved, 2 usage error.
int openAndSave(const std::vector<std::string>& args) {
  std::string drawing, saveTo;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-o" || arg == "--save") {
      if (i + 1 >= args.size()) {
        std::fprintf(stderr, "vtcad: %s needs a file name\n%s", arg.c_str(), kUsage);
        return 2;
      }
      saveTo = args[++i];
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      std::fprintf(stderr, "vtcad: unknown option %s\n%s", arg.c_str(), kUsage);
      return 2;
    } else if (drawing.empty()) {
      drawing = arg;
    } else {
      std::fprintf(stderr, "vtcad: only one drawing can be opened\n%s", kUsage);
      return 2;
    }
  }
  std::unique_ptr<ZcDbDatabase> db;
  if (!drawing.empty()) {
    vtcad::dxf::LoadResult loaded = vtcad::dxf::loadDxfFile(drawing);
    for (const auto& message : loaded.messages) {
      std::fprintf(stderr, "%s: %s\n", drawing.c_str(), vtcad::dxf::formatLoadMessage(message).c_str());
    }
    if (!loaded.ok()) {
      std::fprintf(stderr, "vtcad: %s was not opened: %s\n", drawing.c_str(), loaded.refusal.c_str());
      return 1;
    }
    db = std::move(loaded.database);
  } else {
    db = std::make_unique<ZcDbDatabase>();
  }
  zcdbHostApplicationServices()->setWorkingDatabase(db.get());
  int status = 0;
  if (!saveTo.empty()) {
    vtcad::dxf::SaveResult saved = vtcad::dxf::saveDxfFile(*db, saveTo);
    if (!saved.ok) {
      std::fprintf(stderr, "vtcad: %s\n", saved.message.c_str());
      status = 1;
    }
  }
  zcdbHostApplicationServices()->setWorkingDatabase(nullptr);
  return status;
}

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "C.UTF-8");
  if (argc == 2 && std::strcmp(argv[1], "--example") == 0) return runExample();
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("vtcad 0.1.0\n");
    return 0;
  }
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  return openAndSave(std::vector<std::string>(argv + 1, argv + argc));
}
