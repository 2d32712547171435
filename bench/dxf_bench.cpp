// Drawing files: saving and loading generated drawings of 100 000 and 1 000 000 entities, and
// on the same files, side by side, what other readers take: dxflib (C++), ezdxf (Python), and
// the floor, a bare loop that splits the lines and parses every group code and number, the
// least any reader must do. Also the memory a loaded line entity costs.
//
// The 1 000 000-entity runs and ezdxf take minutes: they run only when a filter is given,
//   vtcad_bench --benchmark_filter=Dxf
// and are reported as skipped otherwise. Rates are computed from the timed section only
// (Google Benchmark's own rate counters divide by CPU time, which for ezdxf is the waiting
// parent's), so read the MB/s and entities/s counters, not bytes_per_second.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/DxfFile.h"
#include "zcad/db/ZcDbArc.h"
#include "zcad/db/ZcDbBlockReference.h"
#include "zcad/db/ZcDbBlockTable.h"
#include "zcad/db/ZcDbCircle.h"
#include "zcad/db/ZcDbDatabase.h"
#include "zcad/db/ZcDbLayerTable.h"
#include "zcad/db/ZcDbLine.h"
#include "zcad/db/ZcDbPolyline.h"
#include "zcad/db/ZcDbText.h"

#if VTCAD_BENCH_DXFLIB
#include <dl_creationadapter.h>
#include <dl_dxf.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

double threadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Long runs are opt-in: Google Benchmark's default filter (empty, "." or "all") skips them.
bool explicitlyAsked() {
  const std::string filter = benchmark::GetBenchmarkFilter();
  return !(filter.empty() || filter == "." || filter == ".*" || filter == "all");
}

bool skipUnlessAsked(benchmark::State& state, bool longRun) {
  if (!longRun || explicitlyAsked()) return false;
  state.SkipWithError("long run, opt-in: pass --benchmark_filter=Dxf (or a narrower filter)");
  return true;
}

// Wall and CPU time of the timed sections. The wall time is what a user waits; the CPU time
// (the process's own, page faults included) is the steadier figure on a machine shared with
// other work, where a waiting process loses the CPU to others.
class Timing {
 public:
  void start() {
    wallStart_ = Clock::now();
    cpuStart_ = threadCpuSeconds();
  }
  void stop(benchmark::State& state) {
    add(state, std::chrono::duration<double>(Clock::now() - wallStart_).count(),
        threadCpuSeconds() - cpuStart_);
  }
  void add(benchmark::State& state, double wall, double cpu) {
    state.SetIterationTime(wall);
    wall_ += wall;
    cpu_ += cpu;
  }
  void report(benchmark::State& state, double bytes, double entities) const {
    state.counters["MB/s"] = bytes / wall_ / 1e6;
    state.counters["MB/s_cpu"] = bytes / cpu_ / 1e6;
    state.counters["entities/s"] = entities / wall_;
    state.counters["file_MB"] = bytes / 1e6 / static_cast<double>(state.iterations());
  }

 private:
  Clock::time_point wallStart_;
  double cpuStart_ = 0, wall_ = 0, cpu_ = 0;
};

// Files of this run live in one folder that goes away when the program ends.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vtcad-dxf-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

TempFolder& tempFolder() {
  static TempFolder folder;
  return folder;
}

bool writeFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

ZcDbObjectId addLayer(ZcDbDatabase& db, const wchar_t* name, Zdesk::UInt16 color) {
  ZcDbLayerTable* table = nullptr;
  db.getLayerTable(table, ZcDb::kForWrite);
  auto* record = new ZcDbLayerTableRecord;
  record->setName(name);
  ZcCmColor cmColor;
  cmColor.setColorIndex(color);
  record->setColor(cmColor);
  ZcDbObjectId id;
  table->add(id, record);
  record->close();
  table->close();
  return id;
}

// A small block: a square frame with a circle in it, of the kind a drawing inserts often.
ZcDbObjectId addBlock(ZcDbDatabase& db, const wchar_t* name, double size) {
  ZcDbBlockTable* table = nullptr;
  db.getBlockTable(table, ZcDb::kForWrite);
  auto* record = new ZcDbBlockTableRecord;
  record->setName(name);
  ZcDbObjectId id;
  table->add(id, record);
  const ZcGePoint3d corners[4] = {{0, 0, 0}, {size, 0, 0}, {size, size, 0}, {0, size, 0}};
  for (int i = 0; i < 4; ++i) {
    auto* line = new ZcDbLine(corners[i], corners[(i + 1) % 4]);
    record->appendZcDbEntity(line);
    line->close();
  }
  auto* circle = new ZcDbCircle(ZcGePoint3d(size / 2, size / 2, 0), ZcGeVector3d::kZAxis, size / 3);
  record->appendZcDbEntity(circle);
  circle->close();
  record->close();
  table->close();
  return id;
}

// A drawing of `count` model-space entities: 3/8 lines, 1/8 each arcs, circles, lightweight
// polylines (4 to 7 vertices, some bulged), texts and references to one of three blocks, on
// four layers. Coordinates are on a 1 mm grid as drafted geometry is; radii, angles and
// bulges are computed values with all their digits.
std::unique_ptr<ZcDbDatabase> makeDrawing(std::int64_t count) {
  auto db = std::make_unique<ZcDbDatabase>();
  const ZcDbObjectId layers[4] = {addLayer(*db, L"WALLS", 1), addLayer(*db, L"DOORS", 2),
                                  addLayer(*db, L"TEXT", 3), addLayer(*db, L"FURNITURE", 4)};
  const ZcDbObjectId blocks[3] = {addBlock(*db, L"CHAIR", 0.5), addBlock(*db, L"TABLE", 1.2),
                                  addBlock(*db, L"COLUMN", 0.4)};
  std::mt19937_64 rng(20261206);
  std::uniform_int_distribution<int> grid(0, 10000000);  // 0 .. 10 km in mm
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  auto coord = [&] { return grid(rng) / 1000.0; };
  auto point = [&] { return ZcGePoint3d(coord(), coord(), 0.0); };

  ZcDbBlockTableRecord* space = nullptr;
  zcdbOpenObject(space, db->modelSpaceId(), ZcDb::kForWrite);
  wchar_t label[32];
  for (std::int64_t i = 0; i < count; ++i) {
    ZcDbEntity* entity = nullptr;
    switch (i % 8) {
      case 0:
      case 1:
      case 2: {
        const ZcGePoint3d start = point();
        entity = new ZcDbLine(start, start + ZcGeVector3d(coord() / 1000, coord() / 1000, 0));
        break;
      }
      case 3:
        entity = new ZcDbArc(point(), 0.1 + 5 * unit(rng), 6.283185307179586 * unit(rng),
                             6.283185307179586 * unit(rng));
        break;
      case 4:
        entity = new ZcDbCircle(point(), ZcGeVector3d::kZAxis, 0.1 + 5 * unit(rng));
        break;
      case 5: {
        const unsigned n = 4 + static_cast<unsigned>(i / 8 % 4);
        auto* polyline = new ZcDbPolyline(n);
        ZcGePoint2d p(coord(), coord());
        for (unsigned v = 0; v < n; ++v) {
          polyline->addVertexAt(v, p, v % 3 == 1 ? unit(rng) - 0.5 : 0.0);
          p = ZcGePoint2d(p.x + grid(rng) / 1e7, p.y + grid(rng) / 1e7);
        }
        entity = polyline;
        break;
      }
      case 6: {
        std::swprintf(label, 32, L"Room %lld", static_cast<long long>(i / 8));
        auto* text = new ZcDbText;
        text->setPosition(point());
        text->setTextString(label);
        text->setHeight(0.25);
        entity = text;
        break;
      }
      default: {
        auto* reference = new ZcDbBlockReference(point(), blocks[i / 8 % 3]);
        reference->setRotation(6.283185307179586 * unit(rng));
        entity = reference;
        break;
      }
    }
    space->appendZcDbEntity(entity);
    entity->setLayer(layers[i % 4]);
    if (auto* text = ZcDbText::cast(entity)) text->setTextStyle(db->textstyle());
    entity->close();
  }
  space->close();
  return db;
}

// One generated drawing per size, kept for the whole run so that every reader reads the same
// file: the database (for the save benchmarks), the file, and its bytes in memory.
struct Drawing {
  std::unique_ptr<ZcDbDatabase> db;
  std::filesystem::path file;
  std::string bytes;
  std::int64_t entities = 0;
};

Drawing* drawing(benchmark::State& state) {
  static std::map<std::int64_t, Drawing> drawings;
  const std::int64_t count = state.range(0);
  auto found = drawings.find(count);
  if (found != drawings.end()) return &found->second;
  if (tempFolder().path().empty()) {
    state.SkipWithError("no temporary folder");
    return nullptr;
  }
  Drawing d;
  d.db = makeDrawing(count);
  d.entities = count;
  d.bytes = vtcad::dxf::writeDxf(*d.db);
  d.file = tempFolder().path() / ("drawing-" + std::to_string(count) + ".dxf");
  if (d.bytes.empty() || !writeFile(d.file, d.bytes)) {
    state.SkipWithError("could not write the generated drawing");
    return nullptr;
  }
  return &drawings.emplace(count, std::move(d)).first->second;
}

bool isLong(benchmark::State& state) { return state.range(0) > 100000; }

// --- vtcad ---------------------------------------------------------------------------------

// The save figure: the database written as DXF text and the text written to a file (the
// page cache; no fsync, which measures the disk, not us).
void BM_DxfSave(benchmark::State& state) {
  if (skipUnlessAsked(state, isLong(state))) return;
  Drawing* d = drawing(state);
  if (d == nullptr) return;
  const std::filesystem::path out = tempFolder().path() / "saved.dxf";
  Timing timing;
  double bytes = 0;
  for (auto _ : state) {
    timing.start();
    const std::string text = vtcad::dxf::writeDxf(*d->db);
    const bool written = writeFile(out, text);
    timing.stop(state);
    bytes += static_cast<double>(text.size());
    if (!written) state.SkipWithError("could not write the file");
  }
  timing.report(state, bytes, static_cast<double>(d->entities * state.iterations()));
  std::filesystem::remove(out);
}
BENCHMARK(BM_DxfSave)->Arg(100000)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);

// The whole safe save: temporary file, fsync, backup, rename (this one includes the disk).
void BM_DxfSaveFile(benchmark::State& state) {
  if (skipUnlessAsked(state, isLong(state))) return;
  Drawing* d = drawing(state);
  if (d == nullptr) return;
  const std::filesystem::path out = tempFolder().path() / "saved-safely.dxf";
  Timing timing;
  for (auto _ : state) {
    timing.start();
    const vtcad::dxf::SaveResult result = vtcad::dxf::saveDxfFile(*d->db, out);
    timing.stop(state);
    if (!result.ok) state.SkipWithError(result.message.c_str());
  }
  timing.report(state, static_cast<double>(d->bytes.size() * state.iterations()),
                static_cast<double>(d->entities * state.iterations()));
  std::error_code ignored;
  std::filesystem::remove(out, ignored);
  std::filesystem::remove(out.string() + ".bak", ignored);
}
BENCHMARK(BM_DxfSaveFile)->Arg(100000)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);

// The load figure: bytes in memory to a database. Freeing the database is not timed.
void BM_DxfRead(benchmark::State& state) {
  if (skipUnlessAsked(state, isLong(state))) return;
  Drawing* d = drawing(state);
  if (d == nullptr) return;
  Timing timing;
  for (auto _ : state) {
    timing.start();
    vtcad::dxf::LoadResult result = vtcad::dxf::readDxf(d->bytes);
    timing.stop(state);
    if (!result.ok()) state.SkipWithError(result.refusal.c_str());
  }
  timing.report(state, static_cast<double>(d->bytes.size() * state.iterations()),
                static_cast<double>(d->entities * state.iterations()));
}
BENCHMARK(BM_DxfRead)->Arg(100000)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);

// The same from the file, as dxflib and ezdxf read it (the file is in the page cache).
void BM_DxfLoadFile(benchmark::State& state) {
  if (skipUnlessAsked(state, isLong(state))) return;
  Drawing* d = drawing(state);
  if (d == nullptr) return;
  Timing timing;
  for (auto _ : state) {
    timing.start();
    vtcad::dxf::LoadResult result = vtcad::dxf::loadDxfFile(d->file);
    timing.stop(state);
    if (!result.ok()) state.SkipWithError(result.refusal.c_str());
  }
  timing.report(state, static_cast<double>(d->bytes.size() * state.iterations()),
                static_cast<double>(d->entities * state.iterations()));
}
BENCHMARK(BM_DxfLoadFile)->Arg(100000)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);

// --- dxflib --------------------------------------------------------------------------------
#if VTCAD_BENCH_DXFLIB

// Counts what dxflib hands over and keeps nothing: dxflib's parsing cost alone.
class CountingAdapter : public DL_CreationAdapter {
 public:
  std::int64_t entities = 0;
  std::int64_t vertices = 0;
  void addLine(const DL_LineData&) override { ++entities; }
  void addArc(const DL_ArcData&) override { ++entities; }
  void addCircle(const DL_CircleData&) override { ++entities; }
  void addPolyline(const DL_PolylineData&) override { ++entities; }
  void addVertex(const DL_VertexData&) override { ++vertices; }
  void addText(const DL_TextData&) override { ++entities; }
  void addInsert(const DL_InsertData&) override { ++entities; }
};

void BM_DxflibRead(benchmark::State& state) {
  if (skipUnlessAsked(state, isLong(state))) return;
  Drawing* d = drawing(state);
  if (d == nullptr) return;
  Timing timing;
  std::int64_t seen = 0;
  for (auto _ : state) {
    CountingAdapter adapter;
    timing.start();
    DL_Dxf dxf;
    const bool ok = dxf.in(d->file.string(), &adapter);
    timing.stop(state);
    seen = adapter.entities;
    if (!ok) state.SkipWithError("dxflib could not read the file");
  }
  timing.report(state, static_cast<double>(d->bytes.size() * state.iterations()),
                static_cast<double>(d->entities * state.iterations()));
  // Model space plus the blocks' own entities: a check that dxflib read the whole file.
  state.counters["entities_seen"] = static_cast<double>(seen);
}
BENCHMARK(BM_DxflibRead)->Arg(100000)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);

#endif

// --- ezdxf ---------------------------------------------------------------------------------

// ezdxf.readfile timed inside Python, so that the interpreter's start is left out.
constexpr const char* kEzdxfScript = R"(import sys, time
import ezdxf
wall, cpu = time.perf_counter(), time.process_time()
doc = ezdxf.readfile(sys.argv[1])
wall, cpu = time.perf_counter() - wall, time.process_time() - cpu
print(wall, cpu, len(doc.modelspace()), ezdxf.__version__)
)";

std::string pythonProgram() {
  if (const char* chosen = std::getenv("VTCAD_PYTHON"); chosen != nullptr && *chosen != '\0') return chosen;
  // Debian's interpreter: ezdxf is its package (python3-ezdxf), not another Python's.
  if (access("/usr/bin/python3", X_OK) == 0) return "/usr/bin/python3";
  return "python3";
}

void BM_EzdxfRead(benchmark::State& state) {
  if (skipUnlessAsked(state, /*longRun=*/true)) return;
  Drawing* d = drawing(state);
  if (d == nullptr) return;
  const std::filesystem::path script = tempFolder().path() / "ezdxf_read.py";
  if (!writeFile(script, kEzdxfScript)) {
    state.SkipWithError("could not write the Python script");
    return;
  }
  // Built by appending: GCC 12 warns falsely (-Wrestrict) on "'" + std::string.
  std::string command;
  for (const std::string& word : {pythonProgram(), script.string(), d->file.string()})
    command.append("'").append(word).append("' ");
  command.append("2>&1");
  Timing timing;
  for (auto _ : state) {
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    if (pipe != nullptr) {
      char buffer[512];
      while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
      pclose(pipe);
    }
    // The figures are the last line; Python's warnings, if any, come before it.
    const size_t lastLine = output.find_last_of('\n', output.size() >= 2 ? output.size() - 2 : 0);
    const std::string figures = lastLine == std::string::npos ? output : output.substr(lastLine + 1);
    double wall = 0, cpu = 0;
    long long entities = 0;
    char version[64] = "";
    if (std::sscanf(figures.c_str(), "%lf %lf %lld %63s", &wall, &cpu, &entities, version) != 4 ||
        wall <= 0) {
      const std::string message = "ezdxf failed: " + output.substr(0, 300);
      state.SkipWithError(message.c_str());
      break;
    }
    timing.add(state, wall, cpu);
    state.SetLabel(std::string("ezdxf ") + version + ", " + std::to_string(entities) + " entities");
  }
  if (!state.error_occurred())
    timing.report(state, static_cast<double>(d->bytes.size() * state.iterations()),
                  static_cast<double>(d->entities * state.iterations()));
}
BENCHMARK(BM_EzdxfRead)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// --- the floor -----------------------------------------------------------------------------

enum class ValueKind : unsigned char { kText, kReal, kInteger, kHandle };

// The value type of each group code, as the DXF reference lays the ranges out.
constexpr std::array<ValueKind, 1072> makeValueKinds() {
  std::array<ValueKind, 1072> kinds{};
  auto set = [&](int first, int last, ValueKind kind) {
    for (int c = first; c <= last; ++c) kinds[static_cast<size_t>(c)] = kind;
  };
  set(10, 59, ValueKind::kReal);
  set(60, 99, ValueKind::kInteger);
  set(105, 105, ValueKind::kHandle);
  set(5, 5, ValueKind::kHandle);
  set(110, 149, ValueKind::kReal);
  set(160, 179, ValueKind::kInteger);
  set(210, 239, ValueKind::kReal);
  set(270, 299, ValueKind::kInteger);
  set(320, 369, ValueKind::kHandle);
  set(370, 389, ValueKind::kInteger);
  set(390, 399, ValueKind::kHandle);
  set(400, 409, ValueKind::kInteger);
  set(420, 429, ValueKind::kInteger);
  set(440, 459, ValueKind::kInteger);
  set(460, 469, ValueKind::kReal);
  set(480, 481, ValueKind::kHandle);
  set(1010, 1059, ValueKind::kReal);
  set(1060, 1071, ValueKind::kInteger);
  return kinds;
}
constexpr std::array<ValueKind, 1072> kValueKinds = makeValueKinds();

std::string_view trimmed(const char* begin, const char* end) {
  while (begin < end && (*begin == ' ' || *begin == '\t')) ++begin;
  while (end > begin && (end[-1] == ' ' || end[-1] == '\t' || end[-1] == '\r')) --end;
  return {begin, static_cast<size_t>(end - begin)};
}

struct FloorResult {
  std::int64_t groups = 0;
  double sum = 0;  // keeps every parsed value alive
  std::uint64_t bits = 0;
};

// Line split, group code, and every numeric value parsed: nothing is kept.
FloorResult parseFloor(std::string_view data) {
  FloorResult result;
  const char* p = data.data();
  const char* const end = p + data.size();
  auto nextLine = [&](std::string_view& line) {
    if (p >= end) return false;
    const char* newline = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    const char* lineEnd = newline != nullptr ? newline : end;
    line = trimmed(p, lineEnd);
    p = newline != nullptr ? newline + 1 : end;
    return true;
  };
  std::string_view codeLine, value;
  while (nextLine(codeLine) && nextLine(value)) {
    int code = 0;
    if (std::from_chars(codeLine.data(), codeLine.data() + codeLine.size(), code).ec != std::errc{}) break;
    ++result.groups;
    if (code < 0 || code >= static_cast<int>(kValueKinds.size())) continue;
    const char* first = value.data();
    const char* last = first + value.size();
    switch (kValueKinds[static_cast<size_t>(code)]) {
      case ValueKind::kReal: {
        double v = 0;
        std::from_chars(first, last, v);
        result.sum += v;
        break;
      }
      case ValueKind::kInteger: {
        long long v = 0;
        std::from_chars(first, last, v);
        result.bits += static_cast<std::uint64_t>(v);
        break;
      }
      case ValueKind::kHandle: {
        std::uint64_t v = 0;
        std::from_chars(first, last, v, 16);
        result.bits ^= v;
        break;
      }
      case ValueKind::kText:
        break;
    }
  }
  return result;
}

void BM_DxfFloor(benchmark::State& state) {
  if (skipUnlessAsked(state, isLong(state))) return;
  Drawing* d = drawing(state);
  if (d == nullptr) return;
  Timing timing;
  FloorResult last;
  for (auto _ : state) {
    timing.start();
    last = parseFloor(d->bytes);
    benchmark::DoNotOptimize(last);
    timing.stop(state);
  }
  timing.report(state, static_cast<double>(d->bytes.size() * state.iterations()),
                static_cast<double>(d->entities * state.iterations()));
  state.counters["groups"] = static_cast<double>(last.groups);
}
BENCHMARK(BM_DxfFloor)->Arg(100000)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond);

// --- memory --------------------------------------------------------------------------------

// Bytes the heap holds for the program, malloc's own overhead included.
double heapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd);
}

std::unique_ptr<ZcDbDatabase> makeLines(std::int64_t count) {
  auto db = std::make_unique<ZcDbDatabase>();
  ZcDbBlockTableRecord* space = nullptr;
  zcdbOpenObject(space, db->modelSpaceId(), ZcDb::kForWrite);
  for (std::int64_t i = 0; i < count; ++i) {
    const double x = static_cast<double>(i % 10000), y = static_cast<double>(i / 10000);
    auto* line = new ZcDbLine(ZcGePoint3d(x, y, 0), ZcGePoint3d(x + 0.5, y + 0.25, 0));
    space->appendZcDbEntity(line);
    line->close();
  }
  space->close();
  return db;
}

// What one line entity costs in a database: made through the interface, and loaded from a
// file (the reader may keep more with each object). Each is the heap grown by a drawing of n
// lines less the heap grown by the same drawing without them.
void BM_DxfLineMemory(benchmark::State& state) {
  if (skipUnlessAsked(state, isLong(state))) return;
  const std::int64_t count = state.range(0);
  double built = 0, loaded = 0;
  for (auto _ : state) {
    double before = heapInUse();
    auto empty = makeLines(0);
    const double emptyBuilt = heapInUse() - before;
    before = heapInUse();
    auto full = makeLines(count);
    built = (heapInUse() - before - emptyBuilt) / static_cast<double>(count);

    const std::string emptyText = vtcad::dxf::writeDxf(*empty);
    const std::string fullText = vtcad::dxf::writeDxf(*full);
    empty.reset();
    full.reset();
    malloc_trim(0);
    before = heapInUse();
    vtcad::dxf::LoadResult emptyLoad = vtcad::dxf::readDxf(emptyText);
    const double emptyLoaded = heapInUse() - before;
    before = heapInUse();
    vtcad::dxf::LoadResult fullLoad = vtcad::dxf::readDxf(fullText);
    loaded = (heapInUse() - before - emptyLoaded) / static_cast<double>(count);
    if (!emptyLoad.ok() || !fullLoad.ok()) state.SkipWithError("a generated drawing did not load");
  }
  state.counters["bytes_per_line_built"] = built;
  state.counters["bytes_per_line_loaded"] = loaded;
}
BENCHMARK(BM_DxfLineMemory)->Arg(100000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

// Resident memory now and at its peak since the peak was last reset, in bytes (Linux).
double residentKb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const size_t length = std::strlen(field);
  while (std::getline(status, line)) {
    if (line.compare(0, length, field) == 0) return std::atof(line.c_str() + length);
  }
  return 0;
}

bool resetPeakResident() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
}

// The most memory a load takes on the way against what the loaded drawing holds: the peak
// of resident memory during the load (the kernel's high-water mark, reset before it; the
// file's bytes for loadDxfFile included) less what was resident before, over the heap the
// loaded database holds afterwards.
void BM_DxfLoadPeakMemory(benchmark::State& state) {
  if (skipUnlessAsked(state, isLong(state))) return;
  Drawing* d = drawing(state);
  if (d == nullptr) return;
  double peakRead = 0, peakLoad = 0, held = 0;
  for (auto _ : state) {
    for (const bool fromFile : {false, true}) {
      malloc_trim(0);
      const double heapBefore = heapInUse();
      const double residentBefore = residentKb("VmRSS:") * 1024;
      if (!resetPeakResident()) {
        state.SkipWithError("cannot reset the peak of resident memory (/proc/self/clear_refs)");
        return;
      }
      vtcad::dxf::LoadResult result =
          fromFile ? vtcad::dxf::loadDxfFile(d->file) : vtcad::dxf::readDxf(d->bytes);
      const double peak = residentKb("VmHWM:") * 1024 - residentBefore;
      if (!result.ok()) state.SkipWithError(result.refusal.c_str());
      (fromFile ? peakLoad : peakRead) = peak;
      if (!fromFile) held = heapInUse() - heapBefore;
    }
  }
  state.counters["held_MB"] = held / 1e6;
  state.counters["peak_read_MB"] = peakRead / 1e6;
  state.counters["peak_load_MB"] = peakLoad / 1e6;
  state.counters["peak_read_x"] = peakRead / held;
  state.counters["peak_load_x"] = peakLoad / held;
}
BENCHMARK(BM_DxfLoadPeakMemory)->Arg(100000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
