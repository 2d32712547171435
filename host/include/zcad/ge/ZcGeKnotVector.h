#pragma once
// ZcGeKnotVector: the non-decreasing knot sequence of a B-spline. Two knots closer than
// tolerance() count as one knot of higher multiplicity (multiplicityAt, getDistinctKnots,
// isOn).
#include "zcad/ge/ZcGeArrays.h"

class ZcGeKnotVector {
 public:
  explicit ZcGeKnotVector(double tol = 1e-9);
  ZcGeKnotVector(int size, const double* knots, double tol = 1e-9);
  explicit ZcGeKnotVector(const ZcGeDoubleArray& knots, double tol = 1e-9);

  int length() const { return knots_.length(); }
  int logicalLength() const { return knots_.length(); }
  bool isEmpty() const { return knots_.isEmpty(); }
  ZcGeKnotVector& setLogicalLength(int size);
  double operator[](int i) const { return knots_[i]; }
  double& operator[](int i) { return knots_[i]; }
  const double* asArrayPtr() const { return knots_.asArrayPtr(); }
  double* asArrayPtr() { return knots_.asArrayPtr(); }
  const double* getPtr() const { return knots_.asArrayPtr(); }
  const ZcGeDoubleArray& asArray() const { return knots_; }
  auto begin() const { return knots_.begin(); }
  auto end() const { return knots_.end(); }

  ZcGeKnotVector& set(int size, const double* knots, double tol = 1e-9);
  ZcGeKnotVector& set(const ZcGeDoubleArray& knots);
  // Appends at the end (the caller keeps the sequence non-decreasing).
  int append(double knot);
  // Inserts at its sorted position; returns the index.
  int insert(double knot);
  ZcGeKnotVector& insertAt(int index, double knot, int multiplicity = 1);
  ZcGeKnotVector& removeAt(int index);

  double tolerance() const { return tol_; }
  ZcGeKnotVector& setTolerance(double tol);

  // First and last knot (0 when empty).
  double startParam() const;
  double endParam() const;
  // Knot range [first, last] contains param (within tolerance).
  bool contains(double param) const;
  // param equals one of the knots (within tolerance).
  bool isOn(double param) const;
  // Multiplicity of the knot at index i (counting equal neighbours both sides).
  int multiplicityAt(int i) const;
  // Multiplicity of the knot value `param` (0 when it is not a knot).
  int multiplicityAt(double param) const;
  // Number of non-empty spans between distinct knots.
  int numIntervals() const;
  void getDistinctKnots(ZcGeDoubleArray& knots, ZcGeIntArray* multiplicities = nullptr) const;
  // Reverses the sequence and maps each knot k to first + last - k (the interval is kept).
  ZcGeKnotVector& reverse();
  // Non-decreasing and finite.
  bool isValid() const;
  bool isEqualTo(const ZcGeKnotVector& other) const;
  bool operator==(const ZcGeKnotVector& other) const { return isEqualTo(other); }
  bool operator!=(const ZcGeKnotVector& other) const { return !isEqualTo(other); }

 private:
  ZcGeDoubleArray knots_;
  double tol_ = 1e-9;
};
