#include "HandleIndex.h"

#include <algorithm>
#include <cassert>
#include <limits>
#include <stdexcept>

namespace vtcad::db {

namespace {
// An empty drawing's tables and records fit without growing.
constexpr std::size_t kMinDirect = 1024;
// The direct table may hold this many slots per indexed object (16 bytes), and at least
// kMinDirect: a file whose handles leave gaps still indexes directly, one with a few handles
// far up (FFFFFFFF) sends those to the hashed table.
constexpr std::size_t kDirectSlotsPerObject = 4;
constexpr unsigned kInitialBits = 6;

// At most three quarters full: linear probing then stays a few slots long.
bool tooFull(std::size_t count, std::size_t slots) { return count * 4 > slots * 3; }
}  // namespace

bool HandleIndex::directCanCover(Zdesk::UInt64 handles) const {
  return handles <= std::max<Zdesk::UInt64>(kMinDirect, kDirectSlotsPerObject * (count_ + 1));
}

std::size_t HandleIndex::home(Zdesk::UInt64 handle) const {
  // 2^64 / golden ratio: every bit of the handle reaches the high bits that are kept.
  return static_cast<std::size_t>((handle * 0x9E3779B97F4A7C15ull) >> (64 - bits_));
}

ZcDbStub* HandleIndex::findHashed(Zdesk::UInt64 handle) const {
  const std::size_t mask = hashed_.size() - 1;
  for (std::size_t i = home(handle);; i = (i + 1) & mask) {
    const Slot slot = hashed_[i];
    if (slot == 0) return nullptr;
    if (handleOf(slot) == handle) return &stubs_[slot - 1];
  }
}

void HandleIndex::placeHashed(Slot slot) {
  const std::size_t mask = hashed_.size() - 1;
  std::size_t i = home(handleOf(slot));
  while (hashed_[i] != 0) i = (i + 1) & mask;
  hashed_[i] = slot;
}

std::vector<HandleIndex::Slot> HandleIndex::hashedSlots() const {
  std::vector<Slot> slots;
  slots.reserve(hashedCount_);
  for (Slot slot : hashed_) {
    if (slot != 0) slots.push_back(slot);
  }
  return slots;
}

unsigned HandleIndex::bitsFor(std::size_t count) {
  if (count == 0) return 0;
  unsigned bits = kInitialBits;
  while (tooFull(count, std::size_t{1} << bits)) ++bits;
  return bits;
}

void HandleIndex::rehash(unsigned bits, const std::vector<Slot>& slots) {
  std::vector<Slot> table(bits == 0 ? 0 : std::size_t{1} << bits, 0);  // may throw: nothing changed yet
  hashed_.swap(table);
  bits_ = bits;
  hashedCount_ = slots.size();
  for (Slot slot : slots) placeHashed(slot);
}

void HandleIndex::growDirect(std::size_t handles) {
  std::vector<Slot> moving = hashedSlots();
  auto covered =
      std::partition(moving.begin(), moving.end(), [&](Slot slot) { return handleOf(slot) >= handles; });
  const std::vector<Slot> staying(moving.begin(), covered);
  // Both allocations come before any change (rehash allocates first too), so that a failed
  // one leaves the index as it was.
  std::vector<Slot> direct(handles, 0);
  rehash(bitsFor(staying.size()), staying);
  std::copy(direct_.begin(), direct_.end(), direct.begin());
  direct_.swap(direct);
  for (auto it = covered; it != moving.end(); ++it) direct_[handleOf(*it)] = *it;
}

void HandleIndex::reserve(std::size_t handles) {
  if (handles > direct_.size() && handles <= std::numeric_limits<Slot>::max()) growDirect(handles);
}

void HandleIndex::addLast() {
  assert(!stubs_.empty());
  const std::size_t position = stubs_.size() - 1;
  // A slot keeps position + 1 in 32 bits, and 0 means free.
  if (position >= std::numeric_limits<Slot>::max()) throw std::length_error("too many objects in a drawing");
  const auto slot = static_cast<Slot>(position + 1);
  const Zdesk::UInt64 handle = stubs_.back().handle.value();
  if (handle >= direct_.size()) {
    // Doubling keeps the growing linear in the end. A handle beyond what the objects justify
    // goes to the hashed table, until there are objects enough for the doubled table.
    const Zdesk::UInt64 wanted = std::max<Zdesk::UInt64>({handle + 1, 2 * direct_.size(), kMinDirect});
    if (directCanCover(wanted)) growDirect(static_cast<std::size_t>(wanted));
  }
  if (handle < direct_.size()) {
    direct_[handle] = slot;
  } else {
    if (hashed_.empty() || tooFull(hashedCount_ + 1, hashed_.size())) {
      rehash(hashed_.empty() ? kInitialBits : bits_ + 1, hashedSlots());
    }
    placeHashed(slot);
    ++hashedCount_;
  }
  ++count_;
}

}  // namespace vtcad::db
