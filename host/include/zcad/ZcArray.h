#pragma once
// ZcArray: the host's growable array, with the member names its callers use
// (append, length, logicalLength, setLogicalLength, removeAt, ...). Backed by std::vector.
#include <algorithm>
#include <cassert>
#include <initializer_list>
#include <vector>

template <typename T>
class ZcArray {
 public:
  ZcArray() = default;
  explicit ZcArray(int physicalLength, int /*growLength*/ = 8) {
    items_.reserve(physicalLength > 0 ? physicalLength : 0);
  }
  ZcArray(std::initializer_list<T> init) : items_(init) {}

  int length() const { return static_cast<int>(items_.size()); }
  int logicalLength() const { return length(); }
  int physicalLength() const { return static_cast<int>(items_.capacity()); }
  bool isEmpty() const { return items_.empty(); }
  ZcArray& setLogicalLength(int n) {
    items_.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return *this;
  }
  ZcArray& setPhysicalLength(int n) {
    if (n > 0) items_.reserve(static_cast<size_t>(n));
    return *this;
  }
  int append(const T& value) {
    items_.push_back(value);
    return length() - 1;
  }
  ZcArray& append(const ZcArray& other) {
    items_.insert(items_.end(), other.items_.begin(), other.items_.end());
    return *this;
  }
  ZcArray& insertAt(int index, const T& value) {
    assert(index >= 0 && index <= length());
    items_.insert(items_.begin() + index, value);
    return *this;
  }
  ZcArray& removeAt(int index) {
    assert(index >= 0 && index < length());
    items_.erase(items_.begin() + index);
    return *this;
  }
  bool remove(const T& value) {
    int i = find(value);
    if (i < 0) return false;
    removeAt(i);
    return true;
  }
  ZcArray& removeFirst() { return removeAt(0); }
  ZcArray& removeLast() { return removeAt(length() - 1); }
  ZcArray& removeAll() {
    items_.clear();
    return *this;
  }
  ZcArray& setAt(int index, const T& value) {
    at(index) = value;
    return *this;
  }
  T& at(int index) {
    assert(index >= 0 && index < length());
    return items_[static_cast<size_t>(index)];
  }
  const T& at(int index) const {
    assert(index >= 0 && index < length());
    return items_[static_cast<size_t>(index)];
  }
  T& operator[](int index) { return at(index); }
  const T& operator[](int index) const { return at(index); }
  T& first() { return at(0); }
  const T& first() const { return at(0); }
  T& last() { return at(length() - 1); }
  const T& last() const { return at(length() - 1); }
  bool contains(const T& value) const { return find(value) >= 0; }
  int find(const T& value) const {
    auto it = std::find(items_.begin(), items_.end(), value);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
  }
  ZcArray& reverse() {
    std::reverse(items_.begin(), items_.end());
    return *this;
  }
  T* asArrayPtr() { return items_.data(); }
  const T* asArrayPtr() const { return items_.data(); }

  bool operator==(const ZcArray& other) const { return items_ == other.items_; }

  auto begin() { return items_.begin(); }
  auto end() { return items_.end(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }
  std::vector<T>& vector() { return items_; }
  const std::vector<T>& vector() const { return items_; }

 private:
  std::vector<T> items_;
};
