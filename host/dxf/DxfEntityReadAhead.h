#pragma once
// A second thread for a large ENTITIES section. The section is cut into pieces at record
// boundaries; this thread reads pieces from the last one backwards, the first thread reads
// from the start forwards, and they meet wherever their speeds put the meeting. A piece holds
// the entities of the usual kinds (lines, arcs, circles, polylines, points, ellipses,
// splines, texts, block references) read into objects against a snapshot of the drawing;
// its reading stops at the first record this thread may not read alone (another kind, a name
// or handle not in the snapshot, anything to report) or at the piece's end. When the first
// thread's own reading arrives exactly at a piece this thread took, it adds the piece's
// objects in file order and goes on where the piece's reading stopped. The drawing is the
// same either way.
#include <atomic>
#include <cstdint>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

#include "dxf/DxfMeetingPieces.h"
#include "dxf/DxfObjectReader.h"
#include "dxf/DxfReadContext.h"

namespace vtcad::dxf {

// Where a piece could start in data[target ..]: the first group (0, TYPE) of a kind the second
// thread reads, found within a few megabytes; npos when there is none. Group code lines are
// numbers, so a "0" line before such a name is a code line, never a value; the first thread
// still only takes a piece when its own reading arrives there.
size_t readAheadStart(std::string_view data, size_t target);

class EntityReadAhead {
 public:
  // `data` is the whole file; `starts` ascending values readAheadStart() answered; the last
  // piece reaches to the end of the section. The snapshot is taken by the caller, on its
  // thread, before this starts.
  EntityReadAhead(std::string_view data, std::vector<size_t> starts, const ReadContext& main,
                  ReadSnapshot snapshot);
  ~EntityReadAhead();  // stops the thread and waits for it
  EntityReadAhead(const EntityReadAhead&) = delete;
  EntityReadAhead& operator=(const EntityReadAhead&) = delete;

  // A piece read by the second thread: its objects in file order (their lines counted from
  // the piece's start) and where the first thread goes on (offset in `data`, lines from the
  // piece's start).
  struct Piece {
    std::vector<ParsedObject> objects;
    size_t resumeOffset = 0;
    std::uint32_t linesToResume = 0;
  };
  // The first thread's reading stands at `offset`, the start of a record. When a piece starts
  // there and the second thread took it: the piece (waiting for it if need be). A piece the
  // first thread arrives at first, or passes without arriving exactly at it, is its own.
  std::optional<Piece> arriveAt(size_t offset);
  // Waits until the second thread has taken and read every piece the first has not arrived
  // at (tests: the first thread then arrives at pieces the second read).
  void settle() {
    if (thread_.joinable()) thread_.join();
  }

 private:
  void run();
  Piece read(size_t index, ReadContext& ctx);

  std::string_view data_;
  std::vector<size_t> starts_;
  ReadSnapshot snapshot_;
  size_t passed_ = 0;  // pieces the first thread has arrived at or passed (its thread only)

  MeetingPieces<Piece> pieces_;
  std::atomic<bool> stop_{false};
  // The model of the second thread's contexts (a new one for every piece), made from the
  // first thread's on that thread: encoding and version, never changed while entities are read.
  LoadResult scratch_;
  ReadContext model_;
  std::thread thread_;
};

}  // namespace vtcad::dxf
