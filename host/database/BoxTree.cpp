#include "database/BoxTree.h"

#include <algorithm>
#include <cmath>

namespace vtcad::db {

namespace {
constexpr int kLeafSize = 4;
}

Box2d Box2d::around(const ZcGePoint2d& a, const ZcGePoint2d& b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

void Box2d::add(const ZcGePoint2d& p) {
  xmin = std::min(xmin, p.x);
  ymin = std::min(ymin, p.y);
  xmax = std::max(xmax, p.x);
  ymax = std::max(ymax, p.y);
}

void Box2d::add(const Box2d& other) {
  xmin = std::min(xmin, other.xmin);
  ymin = std::min(ymin, other.ymin);
  xmax = std::max(xmax, other.xmax);
  ymax = std::max(ymax, other.ymax);
}

double Box2d::diagonal() const { return std::hypot(xmax - xmin, ymax - ymin); }

BoxTree::BoxTree(std::vector<Box2d> boxes) : boxes_(std::move(boxes)) {
  if (boxes_.empty()) return;
  order_.resize(boxes_.size());
  for (size_t i = 0; i < order_.size(); ++i) order_[i] = static_cast<int>(i);
  nodes_.reserve(2 * boxes_.size() / kLeafSize + 2);
  nodes_.emplace_back();
  build(/*slot=*/0, 0, static_cast<int>(boxes_.size()));
}

// Fills node `slot` with the entries order_[begin, end); children are appended to nodes_.
void BoxTree::build(int slot, int begin, int end) {
  Box2d box = boxes_[order_[begin]];
  for (int k = begin + 1; k < end; ++k) box.add(boxes_[order_[k]]);
  nodes_[slot].box = box;
  if (end - begin <= kLeafSize) {
    nodes_[slot].first = begin;
    nodes_[slot].count = end - begin;
    return;
  }
  // Split at the median of the box centres along the longer side.
  const bool alongX = box.xmax - box.xmin >= box.ymax - box.ymin;
  const int mid = begin + (end - begin) / 2;
  std::nth_element(order_.begin() + begin, order_.begin() + mid, order_.begin() + end, [&](int a, int b) {
    const Box2d& p = boxes_[a];
    const Box2d& q = boxes_[b];
    return alongX ? p.xmin + p.xmax < q.xmin + q.xmax : p.ymin + p.ymax < q.ymin + q.ymax;
  });
  // Both children sit side by side, so an inner node keeps only the first one's index.
  const int children = static_cast<int>(nodes_.size());
  nodes_.emplace_back();
  nodes_.emplace_back();
  nodes_[slot].first = children;
  nodes_[slot].count = 0;
  build(children, begin, mid);
  build(children + 1, mid, end);
}

}  // namespace vtcad::db
