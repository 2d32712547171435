#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <random>
#include <unordered_map>
#include <vector>

#include "database/HandleIndex.h"

using namespace vtcad::db;

namespace {

// A deque of stubs with its index, checked against a std::unordered_map as it is filled.
class IndexedStubs {
 public:
  void add(std::uint64_t handle) {
    ZcDbStub& stub = stubs_.emplace_back();
    stub.handle = ZcDbHandle(handle);
    index_.addLast();
    reference_.emplace(handle, &stub);
  }

  // Every added handle finds its own stub, and each of `others` finds what the map has.
  void expectSameAsMap(const std::vector<std::uint64_t>& others) const {
    ASSERT_EQ(index_.size(), reference_.size());
    for (const auto& [handle, stub] : reference_) ASSERT_EQ(index_.find(handle), stub) << handle;
    for (std::uint64_t handle : others) {
      const auto it = reference_.find(handle);
      ASSERT_EQ(index_.find(handle), it == reference_.end() ? nullptr : it->second) << handle;
    }
  }

  bool contains(std::uint64_t handle) const { return reference_.count(handle) != 0; }
  const HandleIndex& index() const { return index_; }
  HandleIndex& index() { return index_; }

 private:
  std::deque<ZcDbStub> stubs_;
  HandleIndex index_{stubs_};
  std::unordered_map<std::uint64_t, ZcDbStub*> reference_;
};

TEST(HandleIndexTest, EmptyIndexFindsNothing) {
  std::deque<ZcDbStub> stubs;
  HandleIndex index(stubs);
  EXPECT_EQ(index.find(0), nullptr);
  EXPECT_EQ(index.find(1), nullptr);
  EXPECT_EQ(index.find(~std::uint64_t{0}), nullptr);
  EXPECT_EQ(index.size(), 0u);
}

TEST(HandleIndexTest, AgreesWithAMapForSequentialHandles) {
  // A drawing file numbers its objects densely; the tables come first at low handles.
  IndexedStubs stubs;
  std::vector<std::uint64_t> probes;
  for (std::uint64_t handle = 1; handle <= 0x30; ++handle) stubs.add(handle);
  for (std::uint64_t handle = 0x100; handle < 0x100 + 50000; ++handle) stubs.add(handle);
  for (std::uint64_t handle = 0; handle < 0x200; ++handle) probes.push_back(handle);
  for (std::uint64_t handle = 0x100 + 49990; handle < 0x100 + 50100; ++handle) probes.push_back(handle);
  stubs.expectSameAsMap(probes);
}

TEST(HandleIndexTest, AgreesWithAMapForRandomHandles) {
  // Handles from other programs can be anywhere in 64 bits (0 and the top bit included), and
  // lookups of absent ones must end at a free slot, not loop or answer a neighbour.
  std::mt19937_64 rng(42);
  IndexedStubs stubs;
  stubs.add(0);
  stubs.add(~std::uint64_t{0});
  std::vector<std::uint64_t> probes{1, ~std::uint64_t{0} - 1, std::uint64_t{1} << 63};
  for (int round = 0; round < 8; ++round) {
    for (int i = 0; i < 3000; ++i) {
      std::uint64_t handle = rng();
      // A third share their low bits and differ only high up, where a weak hash would collide.
      if (i % 3 == 0) handle = (handle << 40) | 0x7F;
      if (!stubs.contains(handle)) stubs.add(handle);
      probes.push_back(rng());
      probes.push_back(handle + 1);
    }
    stubs.expectSameAsMap(probes);
  }
}

TEST(HandleIndexTest, HoldsAFewBytesAnObjectAndGrowsByDoubling) {
  // Dense handles, handles with gaps (around the direct table's limit of four slots an object
  // too, where growing one slot at a time would be quadratic), and handles far apart.
  for (std::uint64_t stride : {1u, 3u, 4u, 5u, 1000u}) {
    IndexedStubs stubs;
    std::size_t previous = 0;
    int changes = 0;
    for (std::uint64_t n = 1; n <= 60000; ++n) {
      stubs.add(n * stride);
      const std::size_t bytes = stubs.index().memoryBytes();
      // 16 bytes an object in the direct table, or at most 8/3 slots of 4 in the hashed one
      // just after a doubling, with room for an empty drawing's records. Each table doubles
      // (the hashed one regrows after the direct one takes its handles): never one by one.
      ASSERT_LE(bytes, 16 * stubs.index().size() + 8192 + 11 * stubs.index().size()) << stride << " " << n;
      if (bytes != previous) ++changes;
      previous = bytes;
    }
    EXPECT_LE(changes, 250) << "grown by doubling, stride " << stride;
    stubs.expectSameAsMap({0, 1, 2, 4, stride * 60001, stride * 60000 + 1, ~std::uint64_t{0}});
  }
}

TEST(HandleIndexTest, ReservedRoomHoldsItsHandlesWithoutGrowing) {
  // A reader sizes the index from the file's handle seed, then adds objects mostly in rising
  // order, with stragglers below (objects after the entities, records made while reading)
  // and a few far above (damage, other programs' numbering).
  std::mt19937_64 rng(7);
  for (int round = 0; round < 40; ++round) {
    IndexedStubs stubs;
    const std::size_t count = 1 + rng() % 5000;
    if (round % 4 == 1) stubs.add(rng() % 100);  // something indexed before the reservation
    if (round % 4 == 2) stubs.add(std::uint64_t{1} << 40);
    const std::size_t seed = 0x20 + 3 * count;
    stubs.index().reserve(seed);
    const std::size_t bytes = stubs.index().memoryBytes();
    std::vector<std::uint64_t> probes;
    std::uint64_t next = 0x20;
    while (stubs.index().size() < count) {
      std::uint64_t handle = rng() % 8 == 0 ? rng() % next : next + rng() % 3;
      next = std::max(next, handle + 1);
      if (handle >= seed) break;
      if (!stubs.contains(handle)) stubs.add(handle);
      probes.push_back(handle + 1);
      probes.push_back(next + 1 + rng() % 100);
    }
    EXPECT_EQ(stubs.index().memoryBytes(), bytes) << count;
    stubs.index().reserve(count / 2);  // a smaller hint never shrinks the index
    EXPECT_EQ(stubs.index().memoryBytes(), bytes);
    for (int i = 0; i < 50; ++i) {
      const std::uint64_t far = rng();
      if (!stubs.contains(far)) stubs.add(far);
      probes.push_back(far ^ 1);
    }
    stubs.expectSameAsMap(probes);
  }
}

}  // namespace
