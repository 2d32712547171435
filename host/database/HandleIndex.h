#pragma once
// HandleIndex: finds a database's stub by its handle.
//
// Drawings hold millions of objects, so the index costs a few bytes per object: an open-
// addressing table (linear probing) of 32-bit positions into the database's stub deque. The
// key is not stored; it is read from the stub, whose handle never changes. Stubs are never
// removed (ids must stay valid for the life of the database), so the index only grows.
//
// Handles are mostly dense and sequential (a file numbers its objects one after another), so
// the hash is multiplicative (Fibonacci): consecutive keys land evenly spread, without the
// clusters that a plain mask would make under linear probing.
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
  ZcDbStub* find(Zdesk::UInt64 handle) const;
  // Indexes the stub just appended to the deque; the stubs before it are indexed and none of
  // them has its handle. When this throws (out of memory) the index is as before.
  void addLast();
  // Makes room for `count` stubs in all without growing on the way (a reader that knows how
  // many objects a file holds). Never shrinks; when this throws the index is as before.
  void reserve(std::size_t count);
  std::size_t size() const { return count_; }
  // Slots of the table (4 bytes each).
  std::size_t capacity() const { return slots_.size(); }

 private:
  // A slot holds the stub's position + 1; 0 marks a free slot.
  using Slot = Zdesk::UInt32;

  std::size_t home(Zdesk::UInt64 handle) const;
  // Puts a stub's slot into the first free slot from its home (the table has free slots).
  void place(Slot slot);
  // Doubles the table and places the indexed stubs again.
  void grow();
  // Gives the table 2^bits slots and places the indexed stubs again.
  void rehash(unsigned bits);

  std::deque<ZcDbStub>& stubs_;
  std::vector<Slot> slots_;
  std::size_t count_ = 0;
  // log2 of the slot count (the hash keeps that many high bits).
  unsigned bits_ = 0;
  // The highest handle indexed. A reader adds objects mostly in rising handle order: each new
  // handle is then known to be missing without a walk through the table, whose slots and
  // stubs are far apart in memory (a cache miss each).
  Zdesk::UInt64 highest_ = 0;
};

}  // namespace vtcad::db
