#pragma once
// Pieces of one job shared by two threads: the first goes forwards from piece 0, the second
// backwards from the last, until they meet, so that their speeds decide where. Each piece is
// done by one thread; what the second did is handed to the first when it arrives there (it
// waits only for the piece the second is in when they meet).
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <vector>

namespace vtcad::dxf {

template <typename Piece>
class MeetingPieces {
 public:
  explicit MeetingPieces(size_t count) : firstTaken_(count), pieces_(count) {}

  // First thread, arriving at piece `index` (in ascending order): true when it is its own
  // (the second has not taken it, and now never will).
  bool firstTakes(size_t index) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (index >= firstTaken_) return false;
    ownedBelow_ = index + 1;
    return true;
  }
  // First thread: the piece the second took, once it is done.
  Piece waitFor(size_t index) {
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [&] { return pieces_[index].has_value(); });
    Piece piece = std::move(*pieces_[index]);
    pieces_[index].reset();
    return piece;
  }
  // Second thread: the next piece to do, nullopt once the threads have met.
  std::optional<size_t> secondTakes() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (firstTaken_ == 0 || firstTaken_ - 1 < ownedBelow_) return std::nullopt;
    return --firstTaken_;
  }
  // Second thread: a piece it took is done (every piece it takes must be handed in).
  void secondDid(size_t index, Piece piece) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      pieces_[index] = std::move(piece);
    }
    done_.notify_one();
  }

 private:
  std::mutex mutex_;
  std::condition_variable done_;
  // Pieces [firstTaken_, count) are the second thread's; [0, ownedBelow_) the first's.
  size_t firstTaken_;
  size_t ownedBelow_ = 0;
  std::vector<std::optional<Piece>> pieces_;
};

}  // namespace vtcad::dxf
