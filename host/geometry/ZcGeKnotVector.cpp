#include "zcad/ge/ZcGeKnotVector.h"

#include <algorithm>
#include <cmath>

ZcGeKnotVector::ZcGeKnotVector(double tol) : tol_(tol) {}

ZcGeKnotVector::ZcGeKnotVector(int size, const double* knots, double tol) { set(size, knots, tol); }

ZcGeKnotVector::ZcGeKnotVector(const ZcGeDoubleArray& knots, double tol) : knots_(knots), tol_(tol) {}

ZcGeKnotVector& ZcGeKnotVector::setLogicalLength(int size) {
  knots_.setLogicalLength(size);
  return *this;
}

ZcGeKnotVector& ZcGeKnotVector::set(int size, const double* knots, double tol) {
  knots_.removeAll();
  tol_ = tol;
  if (knots == nullptr) return *this;
  for (int i = 0; i < size; ++i) knots_.append(knots[i]);
  return *this;
}

ZcGeKnotVector& ZcGeKnotVector::set(const ZcGeDoubleArray& knots) {
  knots_ = knots;
  return *this;
}

int ZcGeKnotVector::append(double knot) { return knots_.append(knot); }

int ZcGeKnotVector::insert(double knot) {
  auto& v = knots_.vector();
  const auto it = std::upper_bound(v.begin(), v.end(), knot);
  const int index = static_cast<int>(it - v.begin());
  v.insert(it, knot);
  return index;
}

ZcGeKnotVector& ZcGeKnotVector::insertAt(int index, double knot, int multiplicity) {
  if (index < 0 || index > length()) return *this;
  for (int i = 0; i < multiplicity; ++i) knots_.insertAt(index, knot);
  return *this;
}

ZcGeKnotVector& ZcGeKnotVector::removeAt(int index) {
  if (index >= 0 && index < length()) knots_.removeAt(index);
  return *this;
}

ZcGeKnotVector& ZcGeKnotVector::setTolerance(double tol) {
  tol_ = tol;
  return *this;
}

double ZcGeKnotVector::startParam() const { return isEmpty() ? 0.0 : knots_.first(); }

double ZcGeKnotVector::endParam() const { return isEmpty() ? 0.0 : knots_.last(); }

bool ZcGeKnotVector::contains(double param) const {
  return !isEmpty() && param >= startParam() - tol_ && param <= endParam() + tol_;
}

bool ZcGeKnotVector::isOn(double param) const {
  return std::any_of(knots_.begin(), knots_.end(), [&](double k) { return std::fabs(k - param) <= tol_; });
}

int ZcGeKnotVector::multiplicityAt(int i) const {
  if (i < 0 || i >= length()) return 0;
  return multiplicityAt(knots_[i]);
}

int ZcGeKnotVector::multiplicityAt(double param) const {
  return static_cast<int>(
      std::count_if(knots_.begin(), knots_.end(), [&](double k) { return std::fabs(k - param) <= tol_; }));
}

int ZcGeKnotVector::numIntervals() const {
  ZcGeDoubleArray distinct;
  getDistinctKnots(distinct);
  return std::max(0, distinct.length() - 1);
}

void ZcGeKnotVector::getDistinctKnots(ZcGeDoubleArray& knots, ZcGeIntArray* multiplicities) const {
  knots.removeAll();
  if (multiplicities) multiplicities->removeAll();
  for (int i = 0; i < length(); ++i) {
    if (!knots.isEmpty() && std::fabs(knots_[i] - knots.last()) <= tol_) {
      if (multiplicities) ++multiplicities->last();
      continue;
    }
    knots.append(knots_[i]);
    if (multiplicities) multiplicities->append(1);
  }
}

ZcGeKnotVector& ZcGeKnotVector::reverse() {
  if (isEmpty()) return *this;
  const double sum = startParam() + endParam();
  knots_.reverse();
  for (double& k : knots_) k = sum - k;
  return *this;
}

bool ZcGeKnotVector::isValid() const {
  for (int i = 0; i < length(); ++i) {
    if (!std::isfinite(knots_[i])) return false;
    if (i > 0 && knots_[i] < knots_[i - 1]) return false;
  }
  return true;
}

bool ZcGeKnotVector::isEqualTo(const ZcGeKnotVector& other) const {
  if (length() != other.length()) return false;
  const double tol = std::max(tol_, other.tol_);
  for (int i = 0; i < length(); ++i)
    if (!(std::fabs(knots_[i] - other.knots_[i]) <= tol)) return false;
  return true;
}
