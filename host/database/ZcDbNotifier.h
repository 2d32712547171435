#pragma once
// Internal: sends an object's notifications to its reactors.
//
// Transient reactors are called directly; persistent reactors are objects, reached through
// their ids without an open/close pair (they are "open for notify" for the call). An erased,
// undone or missing reactor object is passed over. While an object sends, it is "notifying":
// it can be opened for read, never for write (eWasNotifying), which is what stops a reactor
// from changing the object that notifies it and so recursing into it. Nesting of
// notifications is bounded (kMaxDepth) so that a ring of distinct objects whose reactors
// change each other cannot exhaust the stack either.
#include "zcad/db/ZcDbObject.h"

class ZcDbNotifier {
 public:
  enum class Kind { kOpenedForModify, kModified, kErased, kGoodbye };
  static constexpr int kMaxDepth = 32;

  // Costs nothing (no allocation) for an object without reactors.
  static void send(ZcDbObject* source, Kind kind, bool erasing = true);
  // Goodbye to transient reactors only (the database is going away: persistent reactor
  // objects may be gone already).
  static void sendGoodbye(ZcDbObject* source);
};
