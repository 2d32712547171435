#pragma once
// ZcGeTol: the two tolerances geometry queries compare with. equalPoint() is a distance
// (two points closer than it are equal); equalVector() is a difference of unit vectors (two
// directions whose normalised difference is below it are equal). Both default to 1e-10.
class ZcGeTol {
 public:
  constexpr ZcGeTol() = default;
  constexpr ZcGeTol(double equalPoint, double equalVector)
      : equalPoint_(equalPoint), equalVector_(equalVector) {}

  constexpr double equalPoint() const { return equalPoint_; }
  constexpr double equalVector() const { return equalVector_; }
  void setEqualPoint(double value) { equalPoint_ = value; }
  void setEqualVector(double value) { equalVector_ = value; }

 private:
  double equalPoint_ = 1e-10;
  double equalVector_ = 1e-10;
};
