#pragma once
// Internal: the Win32-shaped handles the platform layer hands out (registry keys, internet
// sessions and requests): a number that looks like an aligned pointer, standing for a value
// kept here. Safe to use from several threads.
#include <cstdint>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <utility>

namespace vtcad::platform {

template <typename Handle, typename Value>
class HandleTable {
 public:
  // Handles start above `first`; tables of different kinds start apart, so a handle of one
  // kind is never mistaken for another's.
  explicit HandleTable(std::uintptr_t first) : next_(first) {}
  HandleTable(const HandleTable&) = delete;
  HandleTable& operator=(const HandleTable&) = delete;

  Handle add(Value value) {
    std::lock_guard lock(mutex_);
    // Steps of 4 keep handles looking like the aligned pointers Windows hands out.
    next_ += 4;
    values_.emplace(next_, std::move(value));
    return reinterpret_cast<Handle>(next_);
  }
  // A copy of the value, or nullopt for a handle that is not (or no longer) open.
  std::optional<Value> find(Handle handle) const {
    std::lock_guard lock(mutex_);
    auto it = values_.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == values_.end()) return std::nullopt;
    return it->second;
  }
  // The value, taken out of the table; nullopt for a handle that is not open.
  std::optional<Value> remove(Handle handle) {
    std::lock_guard lock(mutex_);
    auto it = values_.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == values_.end()) return std::nullopt;
    Value value = std::move(it->second);
    values_.erase(it);
    return value;
  }

 private:
  mutable std::mutex mutex_;
  std::unordered_map<std::uintptr_t, Value> values_;
  std::uintptr_t next_;
};

}  // namespace vtcad::platform
