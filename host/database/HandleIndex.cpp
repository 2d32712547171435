#include "HandleIndex.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace vtcad::db {

namespace {
// An empty drawing's tables and records fit without growing.
constexpr unsigned kInitialBits = 6;

// At most three quarters full: linear probing then stays a few slots long.
bool tooFull(std::size_t count, std::size_t slots) { return count * 4 > slots * 3; }
}  // namespace

std::size_t HandleIndex::home(Zdesk::UInt64 handle) const {
  // 2^64 / golden ratio: every bit of the handle reaches the high bits that are kept.
  return static_cast<std::size_t>((handle * 0x9E3779B97F4A7C15ull) >> (64 - bits_));
}

ZcDbStub* HandleIndex::find(Zdesk::UInt64 handle) const {
  if (slots_.empty() || handle > highest_) return nullptr;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = home(handle);; i = (i + 1) & mask) {
    const Slot slot = slots_[i];
    if (slot == 0) return nullptr;
    ZcDbStub& stub = stubs_[slot - 1];
    if (stub.handle.value() == handle) return &stub;
  }
}

void HandleIndex::place(Slot slot) {
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = home(stubs_[slot - 1].handle.value());
  while (slots_[i] != 0) i = (i + 1) & mask;
  slots_[i] = slot;
}

void HandleIndex::grow() { rehash(slots_.empty() ? kInitialBits : bits_ + 1); }

void HandleIndex::reserve(std::size_t count) {
  unsigned bits = std::max(bits_, kInitialBits);
  while (bits < 32 && tooFull(count, std::size_t{1} << bits)) ++bits;
  if (bits > bits_ || slots_.empty()) rehash(bits);
}

void HandleIndex::rehash(unsigned bits) {
  std::vector<Slot> bigger(std::size_t{1} << bits, 0);  // the only step that can throw
  slots_.swap(bigger);
  bits_ = bits;
  // The indexed stubs are the first count_ of the deque: walk them in order.
  for (std::size_t position = 0; position < count_; ++position) place(static_cast<Slot>(position + 1));
}

void HandleIndex::addLast() {
  const std::size_t position = stubs_.size() - 1;
  // A slot keeps position + 1 in 32 bits, and 0 means free.
  if (position >= std::numeric_limits<Slot>::max()) throw std::length_error("too many objects in a drawing");
  if (slots_.empty() || tooFull(count_ + 1, slots_.size())) grow();
  place(static_cast<Slot>(position + 1));
  ++count_;
  highest_ = std::max(highest_, stubs_.back().handle.value());
}

}  // namespace vtcad::db
