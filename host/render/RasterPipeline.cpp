#include "render/RasterPipeline.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace vtcad::render {

RasterPipeline::RasterPipeline(unsigned char* pixels, int stride, int width, int height, double halfWidth)
    : whole_(pixels, stride, width, height, halfWidth) {
  batch_.reserve(kBatch);
  // Bands of fewer rows than this are not worth a thread of their own.
  constexpr int kFewestBandRows = 64;
  static const unsigned cores = std::thread::hardware_concurrency();
  alone_ = cores < 2 || height < kBands * kFewestBandRows;
  if (alone_) return;
  for (int band = 0; band < kBands; ++band) {
    bands_.push_back(std::make_unique<HairlineRaster>(pixels, stride, width, height, halfWidth));
    bands_.back()->limitRows(height * band / kBands, height * (band + 1) / kBands);
  }
}

RasterPipeline::~RasterPipeline() {
  finish();
  if (!worker_.joinable()) return;
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  worker_.join();
}

void RasterPipeline::carryOut(const Batch& batch, HairlineRaster& raster) {
  // The pixels of a command a few ahead are asked for while this one is written: by the time
  // it comes their memory is in the cache (entities are scattered over the picture).
  constexpr std::size_t kAhead = 8;
  for (std::size_t i = 0; i < batch.size(); ++i) {
    if (i + kAhead < batch.size()) {
      const Command& next = batch[i + kAhead];
      if (next.kind == Kind::kSegment) {
        raster.prefetchSegment(ZcGePoint2d(next.x0, next.y0), ZcGePoint2d(next.x1, next.y1));
      } else if (next.kind == Kind::kRing) {
        raster.prefetchRing(ZcGePoint2d(next.x0, next.y0), /*radius=*/next.x1);
      }
    }
    const Command& c = batch[i];
    switch (c.kind) {
      case Kind::kBeginRun:
        raster.beginRun(c.color);
        break;
      case Kind::kNewShape:
        raster.newShape();
        break;
      case Kind::kSegment:
        raster.segment(ZcGePoint2d(c.x0, c.y0), ZcGePoint2d(c.x1, c.y1));
        break;
      case Kind::kRing:
        raster.ring(ZcGePoint2d(c.x0, c.y0), /*radius=*/c.x1);
        break;
    }
  }
}

std::uint64_t RasterPipeline::leastDone() const {
  return *std::min_element(std::begin(done_), std::end(done_));
}

bool RasterPipeline::helpWith(std::unique_lock<std::mutex>& lock) {
  // The band furthest behind first.
  int band = -1;
  for (int b = 0; b < kBands; ++b) {
    if (!taken_[b] && done_[b] < handedOver_ && (band < 0 || done_[b] < done_[band])) band = b;
  }
  if (band < 0) return false;
  taken_[band] = true;
  const Batch& batch = ring_[done_[band] % kRing];
  lock.unlock();
  carryOut(batch, *bands_[static_cast<std::size_t>(band)]);
  lock.lock();
  taken_[band] = false;
  ++done_[band];
  changed_.notify_all();
  return true;
}

void RasterPipeline::handOver() {
  if (!alone_ && !worker_.joinable()) {
    try {
      worker_ = std::thread(&RasterPipeline::work, this);
    } catch (const std::system_error&) {
      alone_ = true;
    }
  }
  if (alone_) {
    carryOut(batch_, whole_);
    batch_.clear();
    return;
  }
  {
    std::unique_lock lock(mutex_);
    while (handedOver_ - leastDone() >= kRing) {
      if (!helpWith(lock)) changed_.wait(lock);
    }
    // The slot's old batch (done by every band) comes back as the next one to fill.
    std::swap(batch_, ring_[handedOver_ % kRing]);
    ++handedOver_;
  }
  changed_.notify_all();
  batch_.clear();
  batch_.reserve(kBatch);
}

void RasterPipeline::finish() {
  if (!worker_.joinable()) {
    // Never started (or cannot be): the caller's thread does it all.
    carryOut(batch_, whole_);
    batch_.clear();
    return;
  }
  if (!batch_.empty()) handOver();
  std::unique_lock lock(mutex_);
  while (leastDone() < handedOver_) {
    if (!helpWith(lock)) changed_.wait(lock);
  }
}

void RasterPipeline::work() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    if (!helpWith(lock)) changed_.wait(lock);
  }
}

}  // namespace vtcad::render
