#pragma once
// ZcGeInterval: a parameter range [lower, upper], possibly unbounded on either side. The
// default interval is unbounded on both sides. contains() uses the interval's own tolerance.
class ZcGeInterval {
 public:
  explicit ZcGeInterval(double tol = 1e-12);
  ZcGeInterval(double lower, double upper, double tol = 1e-12);
  // Bounded on one side only: boundedBelow ? [bound, +inf) : (-inf, bound].
  ZcGeInterval(bool boundedBelow, double bound, double tol = 1e-12);

  double lowerBound() const { return lower_; }
  double upperBound() const { return upper_; }
  double lower() const { return lower_; }
  double upper() const { return upper_; }
  // The midpoint of a bounded interval (0 otherwise).
  double element() const;
  void getBounds(double& lower, double& upper) const {
    lower = lower_;
    upper = upper_;
  }
  // upper - lower, or -1 when unbounded.
  double length() const;
  double tolerance() const { return tol_; }

  ZcGeInterval& set(double lower, double upper);  // swaps them when given reversed
  ZcGeInterval& set(bool boundedBelow, double bound);
  ZcGeInterval& set();  // unbounded
  ZcGeInterval& setUpper(double upper);
  ZcGeInterval& setLower(double lower);
  ZcGeInterval& setTolerance(double tol);

  bool isBounded() const { return boundedBelow_ && boundedAbove_; }
  bool isBoundedAbove() const { return boundedAbove_; }
  bool isBoundedBelow() const { return boundedBelow_; }
  bool isUnBounded() const { return !boundedBelow_ && !boundedAbove_; }
  bool isSingleton() const;
  bool contains(double value) const;
  bool contains(const ZcGeInterval& other) const;
  bool isEqualTo(const ZcGeInterval& other) const;
  bool operator==(const ZcGeInterval& other) const { return isEqualTo(other); }
  bool operator!=(const ZcGeInterval& other) const { return !isEqualTo(other); }

 private:
  double lower_ = 0.0;
  double upper_ = 0.0;
  double tol_ = 1e-12;
  bool boundedBelow_ = false;
  bool boundedAbove_ = false;
};
