#pragma once
// A second thread for the later part of a large ENTITIES section. It reads the entities of
// the usual kinds (lines, arcs, circles, polylines, points, ellipses, splines, texts, block
// references) from a record boundary on into objects, against a snapshot of the drawing,
// while the first thread reads up to that boundary. The first thread then adds the objects
// in the file's order and goes on where the second stopped: at the first record it could not
// read alone (another kind, a name or handle not in the snapshot, anything to report), at
// the end of the section, or at a malformed group. The drawing is the same either way.
#include <atomic>
#include <cstdint>
#include <string_view>
#include <thread>
#include <vector>

#include "dxf/DxfObjectReader.h"
#include "dxf/DxfReadContext.h"

namespace vtcad::dxf {

// Where a second thread could start in data[from ..]: the first group (0, TYPE) of a kind it
// reads at or after `target`, found within a few megabytes; npos when there is none. Group
// code lines are numbers, so a "0" line before such a name is a code line, never a value;
// the caller still only takes the thread's work when its own reading arrives there.
size_t readAheadStart(std::string_view data, size_t target);

class EntityReadAhead {
 public:
  // `data` is the whole file; `start` a value readAheadStart() answered. The snapshot is
  // taken by the caller, on its thread, before this starts.
  EntityReadAhead(std::string_view data, size_t start, const ReadContext& main, ReadSnapshot snapshot);
  ~EntityReadAhead();  // stops the thread and waits for it
  EntityReadAhead(const EntityReadAhead&) = delete;
  EntityReadAhead& operator=(const EntityReadAhead&) = delete;

  size_t start() const { return start_; }
  // Waits for the thread. Then: the objects read, in file order (their lines counted from
  // `start`), and where the first thread goes on (offset in `data`, lines from `start`).
  struct Result {
    std::vector<ParsedObject> objects;
    size_t resumeOffset = 0;
    std::uint32_t linesToResume = 0;
  };
  Result finish();

 private:
  void run();

  std::string_view data_;
  size_t start_;
  ReadSnapshot snapshot_;
  LoadResult scratch_;
  ReadContext ctx_;
  std::atomic<bool> stop_{false};
  Result result_;
  std::thread thread_;
};

}  // namespace vtcad::dxf
