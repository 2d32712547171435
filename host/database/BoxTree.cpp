#include "database/BoxTree.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

namespace vtcad::db {

namespace {
constexpr int kLeafSize = 4;
}  // namespace

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

namespace {

// Bit i of the answer is bit i / 2 of `v` at even i: the 16 bits spread over 32.
std::uint32_t spreadBits(std::uint32_t v) {
  v &= 0xFFFFu;
  v = (v | (v << 8)) & 0x00FF00FFu;
  v = (v | (v << 4)) & 0x0F0F0F0Fu;
  v = (v | (v << 2)) & 0x33333333u;
  v = (v | (v << 1)) & 0x55555555u;
  return v;
}

// The boxes' indices in the order of their centres along a Z-order (Morton) curve over the
// centres' bounds, 16 bits each way: boxes near each other on the curve are near each other
// in the plane, so halving the order halves the space. Sorted by the code's bytes from the
// lowest (a stable counting sort each), in time linear in the boxes. A non-finite centre
// counts as the bounds' corner.
std::vector<int> zOrder(const std::vector<Box2d>& boxes) {
  double xmin = HUGE_VAL, ymin = HUGE_VAL, xmax = -HUGE_VAL, ymax = -HUGE_VAL;
  for (const Box2d& b : boxes) {
    const double cx = 0.5 * (b.xmin + b.xmax), cy = 0.5 * (b.ymin + b.ymax);
    if (std::isfinite(cx) && std::isfinite(cy)) {
      xmin = std::min(xmin, cx);
      xmax = std::max(xmax, cx);
      ymin = std::min(ymin, cy);
      ymax = std::max(ymax, cy);
    }
  }
  const auto cell = [](double c, double lo, double hi) -> std::uint32_t {
    const double t = hi > lo ? (c - lo) / (hi - lo) : 0.0;
    // Written so that NaN lands on 0 too.
    return static_cast<std::uint32_t>(t > 0.0 ? std::min(t, 1.0) * 65535.0 : 0.0);
  };
  const std::size_t n = boxes.size();
  // Not vectors: zeroing megabytes first would be a pass of its own.
  std::unique_ptr<std::uint64_t[]> keys(new std::uint64_t[n]), other(new std::uint64_t[n]);
  for (std::size_t i = 0; i < n; ++i) {
    const Box2d& b = boxes[i];
    const std::uint32_t code = spreadBits(cell(0.5 * (b.xmin + b.xmax), xmin, xmax)) |
                               (spreadBits(cell(0.5 * (b.ymin + b.ymax), ymin, ymax)) << 1);
    keys[i] = (static_cast<std::uint64_t>(code) << 32) | static_cast<std::uint32_t>(i);
  }
  for (int shift = 32; shift < 64; shift += 8) {
    std::size_t counts[257] = {};
    for (std::size_t i = 0; i < n; ++i) ++counts[((keys[i] >> shift) & 0xFF) + 1];
    for (int d = 0; d < 256; ++d) counts[d + 1] += counts[d];
    for (std::size_t i = 0; i < n; ++i) other[counts[(keys[i] >> shift) & 0xFF]++] = keys[i];
    keys.swap(other);
  }
  std::vector<int> order(n);
  for (std::size_t i = 0; i < n; ++i) order[i] = static_cast<int>(keys[i] & 0xFFFFFFFFu);
  return order;
}

}  // namespace

BoxTree::BoxTree(std::vector<Box2d> boxes) : boxes_(std::move(boxes)) {
  if (boxes_.empty()) return;
  order_ = zOrder(boxes_);
  // Halving ranges of five or more leaves at least two entries a leaf: at most one node per
  // entry. Memory reserved and not used is never touched.
  nodes_.reserve(boxes_.size() + 1);
  nodes_.emplace_back();
  build(/*slot=*/0, 0, static_cast<int>(boxes_.size()));
}

// Fills node `slot` with the entries order_[begin, end); children are appended to nodes_. The
// entries are in Z order, so halving the range at its middle splits the space (a median split
// along the longer side per node cost a selection over scattered memory at every level: most
// of the time of a million boxes). Boxes are gathered from the leaves up, each entry read once.
void BoxTree::build(int slot, int begin, int end) {
  if (end - begin <= kLeafSize) {
    // From an empty box: a box with a NaN side that came first would make the leaf's NaN too,
    // and hide its other boxes from every query (a NaN box itself overlaps nothing).
    Box2d box{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (int k = begin; k < end; ++k)
      box.add(boxes_[static_cast<std::size_t>(order_[static_cast<std::size_t>(k)])]);
    nodes_[static_cast<std::size_t>(slot)] = {box, begin, end - begin};
    return;
  }
  const int mid = begin + (end - begin) / 2;
  // Both children sit side by side, so an inner node keeps only the first one's index.
  const int children = static_cast<int>(nodes_.size());
  nodes_.emplace_back();
  nodes_.emplace_back();
  build(children, begin, mid);
  build(children + 1, mid, end);
  Box2d box = nodes_[static_cast<std::size_t>(children)].box;
  box.add(nodes_[static_cast<std::size_t>(children) + 1].box);
  nodes_[static_cast<std::size_t>(slot)] = {box, children, 0};
}

}  // namespace vtcad::db
