#pragma once
// Distances between planar polyline segments (BulgeSegment), exact in closed form, and their
// bounding boxes. The offset's clean-up asks how close a piece of an offset comes to the
// source polyline: a piece that comes nearer than the offset distance belongs to a loop.
#include "database/BoxTree.h"
#include "database/BulgeSegment.h"

namespace vtcad::db {

// Distance from a point to the nearest point of the segment.
double pointSegmentDistance(const ZcGePoint2d& point, const BulgeSegment& segment);

// Smallest distance between a point of `first` and a point of `second`; 0 when they meet
// (within tol, as intersectSegments judges it).
double segmentDistance(const BulgeSegment& first, const BulgeSegment& second, double tol);

// The segment's bounding box (an arc's box includes the extreme points it passes).
Box2d boxOf(const BulgeSegment& segment);

}  // namespace vtcad::db
