#pragma once
// Common names of the geometry module: the kinds of geometric entities (for type() and
// isKindOf()) and the math constants the geometry code shares.
namespace ZcGe {

// Kinds of geometric entities. isKindOf() follows the class hierarchy: every 3-D curve is a
// kCurve3d, a line segment is also a kLinearEnt3d, an arc is also a kConic3d.
enum EntityId {
  kEntity3d,
  kCurve3d,
  kLinearEnt3d,
  kLineSeg3d,
  kConic3d,
  kCircArc3d,
  kEllipArc3d,
  kSplineEnt3d,
  kNurbCurve3d,
  kEntity2d,
  kCurve2d,
  kLinearEnt2d,
  kLineSeg2d,
  kCircArc2d,
};

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kTwoPi = 2.0 * kPi;
inline constexpr double kHalfPi = 0.5 * kPi;

}  // namespace ZcGe
