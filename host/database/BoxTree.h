#pragma once
// BoxTree: a static bounding-box hierarchy over 2-D boxes, for the queries that must not
// compare every segment with every other one (self-intersections of an offset, distances of
// its pieces to the source) and the renderer's culling. Built once in linear time (the boxes
// in Z order of their centres, halved down to leaves of four); a query visits the boxes that
// overlap the query box (touching counts) plus O(log n) nodes per hit.
//
// Degenerate boxes (a point, a horizontal segment's zero-height box) are fine; an empty tree
// answers nothing.
#include <vector>

#include "zcad/ge/ZcGePoint2d.h"

namespace vtcad::db {

struct Box2d {
  double xmin = 0.0;
  double ymin = 0.0;
  double xmax = 0.0;
  double ymax = 0.0;

  static Box2d around(const ZcGePoint2d& a, const ZcGePoint2d& b);
  void add(const ZcGePoint2d& p);
  void add(const Box2d& other);
  Box2d expanded(double margin) const { return {xmin - margin, ymin - margin, xmax + margin, ymax + margin}; }
  bool overlaps(const Box2d& other) const {
    return xmin <= other.xmax && other.xmin <= xmax && ymin <= other.ymax && other.ymin <= ymax;
  }
  bool contains(const Box2d& other) const {
    return xmin <= other.xmin && ymin <= other.ymin && other.xmax <= xmax && other.ymax <= ymax;
  }
  double diagonal() const;
};

class BoxTree {
 public:
  explicit BoxTree(std::vector<Box2d> boxes);

  // Calls visit(index) for every box overlapping `query`, in no particular order, until visit
  // answers false. Answers false when it was stopped that way.
  template <class Visit>
  bool query(const Box2d& query, Visit&& visit) const {
    if (nodes_.empty()) return true;
    int stack[64];
    int top = 0;
    stack[top++] = 0;
    while (top > 0) {
      const Node& node = nodes_[stack[--top]];
      if (!node.box.overlaps(query)) continue;
      if (node.count > 0) {
        for (int k = node.first; k < node.first + node.count; ++k) {
          if (boxes_[order_[k]].overlaps(query) && !visit(order_[k])) return false;
        }
        continue;
      }
      // Median splits keep the depth at log2(n / leaf size), far below the stack's size.
      stack[top++] = node.first;
      stack[top++] = node.first + 1;
    }
    return true;
  }

  // The box around every box of the tree; null for an empty tree.
  const Box2d* bounds() const { return nodes_.empty() ? nullptr : &nodes_.front().box; }
  const Box2d& box(int index) const { return boxes_[index]; }
  int size() const { return static_cast<int>(boxes_.size()); }

 private:
  struct Node {
    Box2d box;
    int first = 0;  // leaf: first entry in order_; inner node: index of its first child
    int count = 0;  // leaf: number of entries; 0 for an inner node
  };
  void build(int slot, int begin, int end);

  std::vector<Box2d> boxes_;
  std::vector<int> order_;
  std::vector<Node> nodes_;
};

}  // namespace vtcad::db
