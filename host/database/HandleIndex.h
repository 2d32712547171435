#pragma once
// HandleIndex: finds a database's stub by its handle.
//
// Drawings hold millions of objects, so the index costs a few bytes per object, and a file
// being read looks up every handle it adds. Handles are mostly dense: a file numbers its
// objects one after another from 1. Those are found in a direct table indexed by the handle
// itself (4 bytes a slot, neighbouring handles in neighbouring slots, no collisions); handles
// too far beyond the others for that table to stay small (other programs' files, damage)
// go to an open-addressing table with linear probing. A slot holds the stub's position in
// the database's stub deque; the key is read from the stub, whose handle never changes.
// Stubs are never removed (ids must stay valid for the life of the database), so the index
// only grows.
#include <cstddef>
#include <deque>
#include <vector>

#include "ZcDbStub.h"

namespace vtcad::db {

class HandleIndex {
 public:
  explicit HandleIndex(std::deque<ZcDbStub>& stubs) : stubs_(stubs) {}
  HandleIndex(const HandleIndex&) = delete;
  HandleIndex& operator=(const HandleIndex&) = delete;

  // The stub with this handle, or null.
  ZcDbStub* find(Zdesk::UInt64 handle) const {
    if (handle < direct_.size()) {
      const Slot slot = direct_[handle];
      return slot != 0 ? &stubs_[slot - 1] : nullptr;
    }
    return hashedCount_ != 0 ? findHashed(handle) : nullptr;
  }
  // Indexes the stub just appended to the deque; the stubs before it are indexed and none of
  // them has its handle. When this throws (out of memory) the index is as before.
  void addLast();
  // Room for the handles below `handles` in the direct table at once (a reader that knows
  // the file's handle seed), instead of doubling on the way. Never shrinks; when this throws
  // the index is as before.
  void reserve(std::size_t handles);
  std::size_t size() const { return count_; }
  // Bytes the index holds (both tables' slots).
  std::size_t memoryBytes() const { return (direct_.capacity() + hashed_.capacity()) * sizeof(Slot); }

 private:
  // A slot holds the stub's position + 1; 0 marks a free slot.
  using Slot = Zdesk::UInt32;

  Zdesk::UInt64 handleOf(Slot slot) const { return stubs_[slot - 1].handle.value(); }
  // The direct table would take `handles` slots: whether that is few enough for the objects
  // it indexes.
  bool directCanCover(Zdesk::UInt64 handles) const;
  // Gives the direct table `handles` slots and moves the hashed stubs it now covers into it.
  void growDirect(std::size_t handles);
  ZcDbStub* findHashed(Zdesk::UInt64 handle) const;
  std::size_t home(Zdesk::UInt64 handle) const;
  // Puts a slot into the first free slot from its home (the table has free slots).
  void placeHashed(Slot slot);
  // log2 of the hashed table's size for `count` stubs (0: no table).
  static unsigned bitsFor(std::size_t count);
  // Gives the hashed table 2^bits slots (none when bits is 0) holding `slots`.
  void rehash(unsigned bits, const std::vector<Slot>& slots);
  std::vector<Slot> hashedSlots() const;

  std::deque<ZcDbStub>& stubs_;
  std::vector<Slot> direct_;  // by handle; covers handles [0, direct_.size())
  std::vector<Slot> hashed_;  // handles at or above direct_.size() only
  std::size_t count_ = 0;
  std::size_t hashedCount_ = 0;
  // log2 of the hashed table's slot count (the hash keeps that many high bits).
  unsigned bits_ = 0;
};

}  // namespace vtcad::db
