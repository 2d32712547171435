#include "zcad/ge/ZcGeInterval.h"

#include <cmath>
#include <utility>

ZcGeInterval::ZcGeInterval(double tol) : tol_(tol) {}

ZcGeInterval::ZcGeInterval(double lower, double upper, double tol) : tol_(tol) { set(lower, upper); }

ZcGeInterval::ZcGeInterval(bool boundedBelow, double bound, double tol) : tol_(tol) {
  set(boundedBelow, bound);
}

double ZcGeInterval::element() const { return isBounded() ? 0.5 * (lower_ + upper_) : 0.0; }

double ZcGeInterval::length() const { return isBounded() ? upper_ - lower_ : -1.0; }

ZcGeInterval& ZcGeInterval::set(double lower, double upper) {
  if (upper < lower) std::swap(lower, upper);
  lower_ = lower;
  upper_ = upper;
  boundedBelow_ = boundedAbove_ = true;
  return *this;
}

ZcGeInterval& ZcGeInterval::set(bool boundedBelow, double bound) {
  boundedBelow_ = boundedBelow;
  boundedAbove_ = !boundedBelow;
  lower_ = upper_ = bound;
  return *this;
}

ZcGeInterval& ZcGeInterval::set() {
  boundedBelow_ = boundedAbove_ = false;
  lower_ = upper_ = 0.0;
  return *this;
}

ZcGeInterval& ZcGeInterval::setUpper(double upper) {
  upper_ = upper;
  boundedAbove_ = true;
  if (boundedBelow_ && upper_ < lower_) std::swap(lower_, upper_);
  return *this;
}

ZcGeInterval& ZcGeInterval::setLower(double lower) {
  lower_ = lower;
  boundedBelow_ = true;
  if (boundedAbove_ && upper_ < lower_) std::swap(lower_, upper_);
  return *this;
}

ZcGeInterval& ZcGeInterval::setTolerance(double tol) {
  tol_ = tol;
  return *this;
}

bool ZcGeInterval::isSingleton() const { return isBounded() && upper_ - lower_ <= tol_; }

bool ZcGeInterval::contains(double value) const {
  if (boundedBelow_ && value < lower_ - tol_) return false;
  if (boundedAbove_ && value > upper_ + tol_) return false;
  return true;
}

bool ZcGeInterval::contains(const ZcGeInterval& other) const {
  if (boundedBelow_ && (!other.boundedBelow_ || !contains(other.lower_))) return false;
  if (boundedAbove_ && (!other.boundedAbove_ || !contains(other.upper_))) return false;
  return true;
}

bool ZcGeInterval::isEqualTo(const ZcGeInterval& other) const {
  if (boundedBelow_ != other.boundedBelow_ || boundedAbove_ != other.boundedAbove_) return false;
  if (boundedBelow_ && std::fabs(lower_ - other.lower_) > tol_) return false;
  if (boundedAbove_ && std::fabs(upper_ - other.upper_) > tol_) return false;
  return true;
}
