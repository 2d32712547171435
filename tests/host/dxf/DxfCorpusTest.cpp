// Drawings written by other programs: every one loads (or, if damaged, is refused with a
// reason), and what loads is saved and loaded again with the same entities.
//
// "The same" is judged on a print of the drawing taken through the public interface: per
// block (model space, paper space and definitions alike) the entities in order, each with its
// class, layer, text or block name and numbers (extents, curve ends and length, ...). Every
// file is tried; the failures are listed at the end, one line per file with its first
// difference. VTCAD_CORPUS_VERBOSE=1 names each file before it is read (to find the one that
// brings the program down).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/DxfFile.h"
#include "dxf/DxfText.h"
#include "zcad/db/ZcDb2dPolyline.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbCurve.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbHatch.h"
#include "zcad/db/ZcDbMText.h"
#include "zcad/db/ZcDbPoint.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbSpline.h"
#include "zcad/db/ZcDbText.h"

namespace fs = std::filesystem;
using vtcad::dxf::LoadResult;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// librecad-data's drawings: symbol libraries, sheets and hatch patterns (R2000 and R2007).
const fs::path kLibreCadData = "/usr/share/librecad";

struct EntityPrint {
  std::string kind;
  std::string layer;
  std::string text;  // text string, MText contents, name of the inserted block, ...
  std::vector<std::pair<const char*, double>> numbers;
};

struct BlockPrint {
  std::string name;
  std::vector<EntityPrint> entities;
};

std::string utf8(const ZTCHAR* text) { return text ? vtcad::dxf::wideToUtf8(text) : std::string(); }

void addPoint(EntityPrint& print, const char* what, const ZcGePoint3d& p) {
  print.numbers.push_back({what, p.x});
  print.numbers.push_back({what, p.y});
  print.numbers.push_back({what, p.z});
}

std::string blockName(ZcDbObjectId id) {
  ZcDbBlockTableRecord* record = nullptr;
  if (zcdbOpenObject(record, id, ZcDb::kForRead) != Zcad::eOk) return "(no block)";
  const ZTCHAR* name = nullptr;
  record->getName(name);
  std::string out = utf8(name);
  record->close();
  return out;
}

EntityPrint printEntity(const ZcDbEntity& entity) {
  EntityPrint print;
  print.kind = utf8(entity.isA()->name());
  print.layer = utf8(entity.layer());
  print.numbers.push_back({"color", double(entity.colorIndex())});
  ZcDbExtents box;
  Zcad::ErrorStatus es = entity.getGeomExtents(box);
  print.numbers.push_back({"extents status", double(es)});
  if (es == Zcad::eOk) {
    addPoint(print, "extents min", box.minPoint());
    addPoint(print, "extents max", box.maxPoint());
  }
  if (auto* curve = ZcDbCurve::cast(&entity)) {
    ZcGePoint3d start, end;
    double endParam = 0, length = 0;
    if (curve->getStartPoint(start) == Zcad::eOk) addPoint(print, "start point", start);
    if (curve->getEndPoint(end) == Zcad::eOk) addPoint(print, "end point", end);
    if (curve->getEndParam(endParam) == Zcad::eOk && curve->getDistAtParam(endParam, length) == Zcad::eOk) {
      print.numbers.push_back({"length", length});
    }
    print.numbers.push_back({"closed", curve->isClosed() ? 1.0 : 0.0});
  }
  if (auto* text = ZcDbText::cast(&entity)) {
    print.text = utf8(text->textStringConst());
    addPoint(print, "position", text->position());
    print.numbers.push_back({"height", text->height()});
    print.numbers.push_back({"rotation", text->rotation()});
  } else if (auto* mtext = ZcDbMText::cast(&entity)) {
    print.text = utf8(mtext->contentsConst());
    addPoint(print, "location", mtext->location());
    print.numbers.push_back({"text height", mtext->textHeight()});
    print.numbers.push_back({"width", mtext->width()});
  } else if (auto* reference = ZcDbBlockReference::cast(&entity)) {
    print.text = blockName(reference->blockTableRecord());
    addPoint(print, "position", reference->position());
    ZcGeScale3d scale = reference->scaleFactors();
    print.numbers.push_back({"x scale", scale.sx});
    print.numbers.push_back({"y scale", scale.sy});
    print.numbers.push_back({"z scale", scale.sz});
    print.numbers.push_back({"rotation", reference->rotation()});
  } else if (auto* point = ZcDbPoint::cast(&entity)) {
    addPoint(print, "position", point->position());
  } else if (auto* polyline = ZcDbPolyline::cast(&entity)) {
    print.numbers.push_back({"vertices", double(polyline->numVerts())});
  } else if (auto* spline = ZcDbSpline::cast(&entity)) {
    print.numbers.push_back({"degree", double(spline->degree())});
    print.numbers.push_back({"control points", double(spline->numControlPoints())});
    print.numbers.push_back({"fit points", double(spline->numFitPoints())});
  } else if (auto* hatch = ZcDbHatch::cast(&entity)) {
    print.text = utf8(hatch->patternName());
    print.numbers.push_back({"loops", double(hatch->numLoops())});
  }
  if (auto* old = ZcDb2dPolyline::cast(&entity)) {
    print.numbers.push_back({"type", double(old->polyType())});
  }
  return print;
}

// Every block of the drawing (erased ones and erased entities left out), in table order.
std::vector<BlockPrint> printDrawing(ZcDbDatabase& db) {
  std::vector<BlockPrint> blocks;
  ZcDbBlockTable* table = nullptr;
  if (db.getBlockTable(table, ZcDb::kForRead) != Zcad::eOk) return blocks;
  ZcDbBlockTableIterator* it = nullptr;
  table->newIterator(it);
  table->close();
  for (; it && !it->done(); it->step()) {
    ZcDbBlockTableRecord* record = nullptr;
    if (it->getRecord(record, ZcDb::kForRead) != Zcad::eOk) continue;
    BlockPrint block;
    const ZTCHAR* name = nullptr;
    record->getName(name);
    block.name = utf8(name);
    ZcDbBlockTableRecordIterator* entities = nullptr;
    record->newIterator(entities);
    for (; entities && !entities->done(); entities->step()) {
      ZcDbEntity* entity = nullptr;
      if (entities->getEntity(entity, ZcDb::kForRead) != Zcad::eOk) continue;
      block.entities.push_back(printEntity(*entity));
      entity->close();
    }
    delete entities;
    record->close();
    blocks.push_back(std::move(block));
  }
  delete it;
  return blocks;
}

bool close(double a, double b) { return std::abs(a - b) <= 1e-9 * std::max({1.0, std::abs(a), std::abs(b)}); }

// The first difference between two prints, or "" when they agree.
std::string firstDifference(const std::vector<BlockPrint>& before, const std::vector<BlockPrint>& after) {
  std::map<std::string, const BlockPrint*> byName;
  for (const BlockPrint& block : after) byName[block.name] = &block;
  for (const BlockPrint& block : before) {
    auto found = byName.find(block.name);
    if (found == byName.end()) return "block " + block.name + " is missing";
    const std::vector<EntityPrint>& a = block.entities;
    const std::vector<EntityPrint>& b = found->second->entities;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
      std::string where = "block " + block.name + " entity " + std::to_string(i) + " (" + a[i].kind + ")";
      if (a[i].kind != b[i].kind) return where + " became " + b[i].kind;
      if (a[i].layer != b[i].layer) return where + ": layer " + a[i].layer + " became " + b[i].layer;
      if (a[i].text != b[i].text) return where + ": text \"" + a[i].text + "\" became \"" + b[i].text + "\"";
      if (a[i].numbers.size() != b[i].numbers.size()) {
        return where + ": " + std::to_string(a[i].numbers.size()) + " numbers became " +
               std::to_string(b[i].numbers.size());
      }
      for (size_t k = 0; k < a[i].numbers.size(); ++k) {
        auto [what, x] = a[i].numbers[k];
        double y = b[i].numbers[k].second;
        if (std::strcmp(what, b[i].numbers[k].first) != 0 || !close(x, y)) {
          std::ostringstream out;
          out.precision(17);
          out << where << ": " << what << " " << x << " became " << b[i].numbers[k].first << " " << y;
          return out.str();
        }
      }
    }
    if (a.size() != b.size()) {
      return "block " + block.name + ": " + std::to_string(a.size()) + " entities became " +
             std::to_string(b.size());
    }
  }
  if (after.size() != before.size()) {
    return std::to_string(before.size()) + " blocks became " + std::to_string(after.size());
  }
  return "";
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::vector<fs::path> dxfFilesUnder(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code error;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::string extension = it->path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
    if (it->is_regular_file() && extension == ".dxf") files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// "line N: "old" became "new"" for the first line where two texts differ.
std::string firstChangedLine(const std::string& a, const std::string& b) {
  size_t at = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
  size_t start = a.rfind('\n', at == 0 ? 0 : at - 1);
  start = start == std::string::npos ? 0 : start + 1;
  auto lineOf = [start](const std::string& text) {
    size_t end = text.find_first_of("\r\n", start);
    return text.substr(start, std::min(end, text.size()) - start);
  };
  long line = 1 + std::count(a.begin(), a.begin() + start, '\n');
  return "line " + std::to_string(line) + ": \"" + lineOf(a) + "\" became \"" + lineOf(b) + "\"";
}

struct CorpusRun {
  int loaded = 0;
  int refused = 0;
  std::vector<std::string> failures;
};

// Loads the file, saves it, loads the text again and compares. The reload of vtcad's own
// text must need no repair, and saving that gives the same text again, byte for byte.
void roundTrip(const fs::path& path, bool mayBeRefused, CorpusRun& run) {
  const std::string name = path.filename().string();
  if (std::getenv("VTCAD_CORPUS_VERBOSE")) std::fprintf(stderr, "reading %s\n", path.c_str());
  LoadResult first = vtcad::dxf::readDxf(readFile(path));
  if (!first.ok()) {
    if (!mayBeRefused) {
      run.failures.push_back(name + ": refused: " + first.refusal);
    } else if (first.refusal.empty()) {
      run.failures.push_back(name + ": refused without a reason");
    } else {
      ++run.refused;
    }
    return;
  }
  ++run.loaded;
  std::vector<BlockPrint> before = printDrawing(*first.database);
  std::string text = vtcad::dxf::writeDxf(*first.database);
  LoadResult second = vtcad::dxf::readDxf(text);
  if (!second.ok()) {
    run.failures.push_back(name + ": vtcad's copy is refused: " + second.refusal);
    return;
  }
  // A value the reader keeps as it was, though it refused it, is met again in the copy; any
  // other repair means the writer wrote something its own reader does not take.
  for (const auto& message : second.messages) {
    auto same = [&](const vtcad::dxf::LoadMessage& m) { return m.text == message.text; };
    if (std::none_of(first.messages.begin(), first.messages.end(), same)) {
      run.failures.push_back(
          name + ": reading vtcad's copy needed a repair: " + vtcad::dxf::formatLoadMessage(message));
      return;
    }
  }
  std::string difference = firstDifference(before, printDrawing(*second.database));
  if (!difference.empty()) {
    run.failures.push_back(name + ": " + difference);
    return;
  }
  std::string again = vtcad::dxf::writeDxf(*second.database);
  if (again != text) {
    // Saving settles: a drawing saved, opened and saved again is the same file, byte for byte.
    run.failures.push_back(name + ": saving the reloaded copy changes " + firstChangedLine(text, again));
  }
}

size_t entityCount(ZcDbDatabase& db) {
  size_t count = 0;
  for (const BlockPrint& block : printDrawing(db)) count += block.entities.size();
  return count;
}

std::string_view trimmedLine(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
  while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
  return line;
}

// Where an ASCII drawing can be cut at its sections: before each SECTION (the file then ends
// after the section before it), before each ENDSEC (the section's records all there, its end
// missing) and halfway through each section.
std::vector<size_t> sectionCuts(const std::string& text) {
  std::vector<size_t> cuts;
  std::string_view previous;
  size_t previousStart = 0;
  size_t sectionStart = 0;
  for (size_t at = 0; at < text.size();) {
    size_t end = std::min(text.find('\n', at), text.size());
    std::string_view line = trimmedLine(std::string_view(text).substr(at, end - at));
    if (previous == "0" && line == "SECTION") {
      cuts.push_back(previousStart);
      sectionStart = previousStart;
    } else if (previous == "0" && line == "ENDSEC") {
      cuts.push_back(previousStart);
      size_t middle = text.find('\n', (sectionStart + previousStart) / 2);
      if (middle != std::string::npos && middle + 1 < previousStart) cuts.push_back(middle + 1);
    }
    previous = line;
    previousStart = at;
    at = end + 1;
  }
  return cuts;
}

std::string listed(const std::vector<std::string>& failures) {
  std::string out;
  for (const std::string& line : failures) out += "\n  " + line;
  return out;
}

TEST(DxfCorpus, LibreCadDataDrawingsSurviveASaveAndReload) {
  if (!fs::is_directory(kLibreCadData)) {
    GTEST_SKIP() << kLibreCadData << " is missing: install librecad-data (scripts/install-deps.sh does)";
  }
  std::vector<fs::path> files = dxfFilesUnder(kLibreCadData);
  ASSERT_GT(files.size(), 1000u) << "librecad-data ships more than a thousand drawings";
  // Under the address sanitizer every third drawing (all of them take half a minute there).
  const size_t step = kSanitized ? 3 : 1;
  CorpusRun run;
  for (size_t i = 0; i < files.size(); i += step) roundTrip(files[i], /*mayBeRefused=*/false, run);
  EXPECT_TRUE(run.failures.empty()) << run.failures.size() << " of " << (files.size() + step - 1) / step
                                    << " drawings failed:" << listed(run.failures);
}

TEST(DxfCorpus, SharedSamplesLoadOrAreRefusedAndSurviveASaveAndReload) {
  const char* shared = std::getenv("VTCAD_SHARED");
  ASSERT_TRUE(shared && *shared)
      << "VTCAD_SHARED names the folder of dxf-samples (tests/CMakeLists.txt sets it)";
  std::vector<fs::path> files = dxfFilesUnder(fs::path(shared) / "dxf-samples");
  ASSERT_GE(files.size(), 80u) << "dxf-samples holds 83 drawings";
  CorpusRun run;
  for (const fs::path& file : files) roundTrip(file, /*mayBeRefused=*/true, run);
  std::printf("dxf-samples: %d loaded, %d refused\n", run.loaded, run.refused);
  // The collection is mostly sound drawings: a reader that refuses most of it is broken.
  EXPECT_GT(run.loaded, 70) << run.refused << " refused";
  EXPECT_TRUE(run.failures.empty()) << run.failures.size() << " of " << files.size()
                                    << " drawings failed:" << listed(run.failures);
}

// A drawing cut off at a section boundary (a copy interrupted, a disk full) is refused, or
// it opens with every entity of the whole file: never a silent loss. Recovered, what it
// keeps saves as a file that opens without recovery.
TEST(DxfCorpus, ACutAtASectionBoundaryNeverOpensWithoutEveryEntity) {
  const char* shared = std::getenv("VTCAD_SHARED");
  ASSERT_TRUE(shared && *shared) << "VTCAD_SHARED names the folder of dxf-samples";
  std::vector<fs::path> files = dxfFilesUnder(fs::path(shared) / "dxf-samples");
  const size_t step = kSanitized ? 4 : 1;
  std::vector<std::string> failures;
  size_t tried = 0;
  for (size_t i = 0; i < files.size(); i += step) {
    const std::string name = files[i].filename().string();
    const std::string text = readFile(files[i]);
    if (text.rfind("AutoCAD Binary DXF", 0) == 0) continue;
    LoadResult whole = vtcad::dxf::readDxf(text);
    if (!whole.ok()) continue;
    const size_t total = entityCount(*whole.database);
    for (size_t cut : sectionCuts(text)) {
      ++tried;
      const std::string where = name + " cut at byte " + std::to_string(cut);
      const std::string prefix = text.substr(0, cut);
      LoadResult strict = vtcad::dxf::readDxf(prefix);
      if (strict.ok() && entityCount(*strict.database) < total) {
        failures.push_back(where + ": opened with " + std::to_string(entityCount(*strict.database)) + " of " +
                           std::to_string(total) + " entities");
      } else if (!strict.ok() && strict.refusal.empty()) {
        failures.push_back(where + ": refused without a reason");
      }
      LoadResult recovered = vtcad::dxf::readDxf(prefix, vtcad::dxf::Recovery::kRecover);
      if (!recovered.ok()) continue;
      LoadResult copy = vtcad::dxf::readDxf(vtcad::dxf::writeDxf(*recovered.database));
      if (!copy.ok())
        failures.push_back(where + ": the recovered drawing's copy is refused: " + copy.refusal);
    }
  }
  EXPECT_GT(tried, 500u / step);
  EXPECT_TRUE(failures.empty()) << failures.size() << " of " << tried << " cuts failed:" << listed(failures);
}

}  // namespace
