#pragma once
// RasterPipeline: HairlineRaster's pixel work beside the caller's walk of the drawing. On a
// large drawing finding and projecting entities is about a third of a picture's work and
// writing their pixels the rest. The commands are gathered in batches; each batch is carried
// out once per band of the picture's rows (two bands), by a worker thread, and by the caller
// too whenever it would otherwise wait (the batches it may hand over are all taken, or it
// wants the pixels): two threads on two cores, neither idle while there is work.
//
// Every band raster carries out every command in the order given, writing only its own rows,
// and a band's batches are done one after the other: within a band the pixels are those one
// raster called directly would write (coverage merging and blending depend on the order). The
// one difference is where a long shape is cut (each band counts only its own pixels): where
// the pieces before and after a cut meet they blend one over the other, as they do within one
// raster.
//
// A picture that never fills a batch (a window's frame of a few entities) is carried out on
// the caller's thread at finish() and starts no thread; so is everything on a machine of one
// core, or where no thread can be started.
//
// finish() must come before anything else reads or writes the pixels (Cairo, the PNG writer).
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "render/HairlineRaster.h"

namespace vtcad::render {

class RasterPipeline {
 public:
  // The pixels and the pen as HairlineRaster takes them.
  RasterPipeline(unsigned char* pixels, int stride, int width, int height, double halfWidth);
  ~RasterPipeline();
  RasterPipeline(const RasterPipeline&) = delete;
  RasterPipeline& operator=(const RasterPipeline&) = delete;

  void beginRun(Rgb color) { push({Kind::kBeginRun, color, 0.0, 0.0, 0.0, 0.0}); }
  void newShape() { push({Kind::kNewShape, {}, 0.0, 0.0, 0.0, 0.0}); }
  void segment(const ZcGePoint2d& a, const ZcGePoint2d& b) { push({Kind::kSegment, {}, a.x, a.y, b.x, b.y}); }
  void ring(const ZcGePoint2d& center, double radius) {
    push({Kind::kRing, {}, center.x, center.y, radius, 0.0});
  }
  // Returns when every command given so far is in the pixels.
  void finish();

 private:
  enum class Kind : std::uint8_t { kBeginRun, kNewShape, kSegment, kRing };
  struct Command {
    Kind kind;
    Rgb color;
    double x0, y0, x1, y1;
  };
  using Batch = std::vector<Command>;
  // A batch is a few hundred entities' work: small enough that the workers start early,
  // large enough that handing one over (a lock and a wake-up) costs nothing beside it.
  static constexpr std::size_t kBatch = 16384;
  // Batches handed over and not yet carried out by every band, at most: beyond them the
  // caller waits, so memory stays bounded when the walk outruns the pixels.
  static constexpr std::size_t kRing = 4;
  static constexpr int kBands = 2;

  void push(const Command& command) {
    batch_.push_back(command);
    if (batch_.size() == kBatch) handOver();
  }
  void handOver();
  // Carries out a band's next batch if one is waiting and no one has it; false otherwise.
  // Called with `lock` held, which it lets go meanwhile.
  bool helpWith(std::unique_lock<std::mutex>& lock);
  std::uint64_t leastDone() const;
  static void carryOut(const Batch& batch, HairlineRaster& raster);
  void work();

  HairlineRaster whole_;  // the caller's raster while no worker runs
  Batch batch_;
  bool alone_ = false;  // the caller's thread does everything
  std::vector<std::unique_ptr<HairlineRaster>> bands_;
  std::thread worker_;
  std::mutex mutex_;
  std::condition_variable changed_;
  // Guarded by mutex_: batch number n is ring_[n % kRing] once handed over, until every band
  // has done it.
  Batch ring_[kRing];
  std::uint64_t handedOver_ = 0;
  std::uint64_t done_[kBands] = {};
  bool taken_[kBands] = {};  // a thread is carrying out the band's next batch
  bool stopping_ = false;
};

}  // namespace vtcad::render
