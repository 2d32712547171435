#include "zcad/ge/ZcGeMatrix3d.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "zcad/ge/ZcGe.h"
#include "zcad/ge/ZcGeLineSeg3d.h"
#include "zcad/ge/ZcGePlane.h"

namespace {

ZcGeVector3d column(const ZcGeMatrix3d& m, int c) { return {m.entry[0][c], m.entry[1][c], m.entry[2][c]}; }

void setColumn(ZcGeMatrix3d& m, int c, const ZcGeVector3d& v) {
  m.entry[0][c] = v.x;
  m.entry[1][c] = v.y;
  m.entry[2][c] = v.z;
}

// Largest absolute entry, the scale singularity is judged against.
double maxAbsEntry(const ZcGeMatrix3d& m) {
  double s = 0.0;
  for (const auto& row : m.entry)
    for (double v : row) s = std::max(s, std::fabs(v));
  return s;
}

// Gauss-Jordan elimination with partial pivoting. false when a pivot falls to relTol times the
// largest entry (a singular matrix); `result` is then unspecified.
bool gaussJordanInverse(const ZcGeMatrix3d& m, ZcGeMatrix3d& result, double relTol) {
  double a[4][8];
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      a[r][c] = m.entry[r][c];
      a[r][c + 4] = r == c ? 1.0 : 0.0;
    }
  const double limit = relTol * maxAbsEntry(m);
  for (int c = 0; c < 4; ++c) {
    int pivot = c;
    for (int r = c + 1; r < 4; ++r)
      if (std::fabs(a[r][c]) > std::fabs(a[pivot][c])) pivot = r;
    if (!(std::fabs(a[pivot][c]) > limit)) return false;
    if (pivot != c) std::swap(a[pivot], a[c]);
    const double inv = 1.0 / a[c][c];
    for (double& v : a[c]) v *= inv;
    for (int r = 0; r < 4; ++r) {
      if (r == c || a[r][c] == 0.0) continue;
      const double f = a[r][c];
      for (int k = 0; k < 8; ++k) a[r][k] -= f * a[c][k];
    }
  }
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) result.entry[r][c] = a[r][c + 4];
  return true;
}

}  // namespace

ZcGeMatrix3d& ZcGeMatrix3d::setToIdentity() { return *this = ZcGeMatrix3d(); }

bool ZcGeMatrix3d::isIdentity(const ZcGeTol& tol) const { return isEqualTo(kIdentity, tol); }

ZcGeMatrix3d ZcGeMatrix3d::operator*(const ZcGeMatrix3d& right) const {
  ZcGeMatrix3d r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      double s = 0.0;
      for (int k = 0; k < 4; ++k) s += entry[i][k] * right.entry[k][j];
      r.entry[i][j] = s;
    }
  return r;
}

ZcGeMatrix3d& ZcGeMatrix3d::operator*=(const ZcGeMatrix3d& right) { return *this = *this * right; }
ZcGeMatrix3d& ZcGeMatrix3d::preMultBy(const ZcGeMatrix3d& left) { return *this = left * *this; }
ZcGeMatrix3d& ZcGeMatrix3d::postMultBy(const ZcGeMatrix3d& right) { return *this = *this * right; }
ZcGeMatrix3d& ZcGeMatrix3d::setToProduct(const ZcGeMatrix3d& m1, const ZcGeMatrix3d& m2) {
  return *this = m1 * m2;
}

ZcGeMatrix3d& ZcGeMatrix3d::invert() { return *this = inverse(); }

ZcGeMatrix3d ZcGeMatrix3d::inverse() const {
  ZcGeMatrix3d r;
  // The degenerate case: a singular matrix has no inverse; the identity is returned.
  if (!gaussJordanInverse(*this, r, /*relTol=*/1e-14)) return kIdentity;
  return r;
}

bool ZcGeMatrix3d::inverse(ZcGeMatrix3d& result, double tol) const {
  if (gaussJordanInverse(*this, result, tol)) return true;
  result.setToIdentity();
  return false;
}

bool ZcGeMatrix3d::isSingular(const ZcGeTol& tol) const {
  ZcGeMatrix3d scratch;
  return !gaussJordanInverse(*this, scratch, tol.equalPoint());
}

double ZcGeMatrix3d::det() const {
  const auto& m = entry;
  // Laplace expansion along the first row with 2x2 minors of the lower rows.
  const double s0 = m[2][0] * m[3][1] - m[2][1] * m[3][0];
  const double s1 = m[2][0] * m[3][2] - m[2][2] * m[3][0];
  const double s2 = m[2][0] * m[3][3] - m[2][3] * m[3][0];
  const double s3 = m[2][1] * m[3][2] - m[2][2] * m[3][1];
  const double s4 = m[2][1] * m[3][3] - m[2][3] * m[3][1];
  const double s5 = m[2][2] * m[3][3] - m[2][3] * m[3][2];
  const double c0 = m[1][1] * s5 - m[1][2] * s4 + m[1][3] * s3;
  const double c1 = m[1][0] * s5 - m[1][2] * s2 + m[1][3] * s1;
  const double c2 = m[1][0] * s4 - m[1][1] * s2 + m[1][3] * s0;
  const double c3 = m[1][0] * s3 - m[1][1] * s1 + m[1][2] * s0;
  return m[0][0] * c0 - m[0][1] * c1 + m[0][2] * c2 - m[0][3] * c3;
}

ZcGeMatrix3d& ZcGeMatrix3d::transposeIt() {
  for (int i = 0; i < 4; ++i)
    for (int j = i + 1; j < 4; ++j) std::swap(entry[i][j], entry[j][i]);
  return *this;
}

ZcGeMatrix3d ZcGeMatrix3d::transpose() const {
  ZcGeMatrix3d r = *this;
  return r.transposeIt();
}

bool ZcGeMatrix3d::isEqualTo(const ZcGeMatrix3d& other, const ZcGeTol& tol) const {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      if (!(std::fabs(entry[i][j] - other.entry[i][j]) <= tol.equalVector())) return false;
  return true;
}

bool ZcGeMatrix3d::isScaledOrtho(const ZcGeTol& tol) const {
  if (entry[3][0] != 0.0 || entry[3][1] != 0.0 || entry[3][2] != 0.0 || entry[3][3] != 1.0) return false;
  ZcGeVector3d c[3] = {column(*this, 0), column(*this, 1), column(*this, 2)};
  for (auto& v : c) {
    if (v.length() <= tol.equalPoint()) return false;
    v.normalize();
  }
  return std::fabs(c[0].dotProduct(c[1])) <= tol.equalVector() &&
         std::fabs(c[1].dotProduct(c[2])) <= tol.equalVector() &&
         std::fabs(c[0].dotProduct(c[2])) <= tol.equalVector();
}

bool ZcGeMatrix3d::isUniScaledOrtho(const ZcGeTol& tol) const {
  if (!isScaledOrtho(tol)) return false;
  const double l0 = column(*this, 0).length(), l1 = column(*this, 1).length(), l2 = column(*this, 2).length();
  const double lmax = std::max({l0, l1, l2});
  // Relative comparison: a uniform scale by 1000 is as uniform as one by 1.
  return (lmax - std::min({l0, l1, l2})) <= tol.equalVector() * lmax;
}

double ZcGeMatrix3d::scale() const {
  return std::max({column(*this, 0).length(), column(*this, 1).length(), column(*this, 2).length()});
}

ZcGeVector3d ZcGeMatrix3d::translation() const { return column(*this, 3); }

ZcGeMatrix3d& ZcGeMatrix3d::setTranslation(const ZcGeVector3d& vec) {
  setColumn(*this, 3, vec);
  return *this;
}

ZcGeMatrix3d& ZcGeMatrix3d::setCoordSystem(const ZcGePoint3d& origin, const ZcGeVector3d& xAxis,
                                           const ZcGeVector3d& yAxis, const ZcGeVector3d& zAxis) {
  setToIdentity();
  setColumn(*this, 0, xAxis);
  setColumn(*this, 1, yAxis);
  setColumn(*this, 2, zAxis);
  setColumn(*this, 3, origin.asVector());
  return *this;
}

void ZcGeMatrix3d::getCoordSystem(ZcGePoint3d& origin, ZcGeVector3d& xAxis, ZcGeVector3d& yAxis,
                                  ZcGeVector3d& zAxis) const {
  xAxis = column(*this, 0);
  yAxis = column(*this, 1);
  zAxis = column(*this, 2);
  const ZcGeVector3d t = column(*this, 3);
  origin.set(t.x, t.y, t.z);
}

ZcGeMatrix3d& ZcGeMatrix3d::setToTranslation(const ZcGeVector3d& vec) {
  setToIdentity();
  return setTranslation(vec);
}

ZcGeMatrix3d& ZcGeMatrix3d::setToRotation(double angle, const ZcGeVector3d& axis, const ZcGePoint3d& center) {
  setToIdentity();
  const ZcGeVector3d k = axis.normal();
  if (k.isZeroLength()) return *this;  // no axis: the identity
  const double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
  entry[0][0] = t * k.x * k.x + c;
  entry[0][1] = t * k.x * k.y - s * k.z;
  entry[0][2] = t * k.x * k.z + s * k.y;
  entry[1][0] = t * k.x * k.y + s * k.z;
  entry[1][1] = t * k.y * k.y + c;
  entry[1][2] = t * k.y * k.z - s * k.x;
  entry[2][0] = t * k.x * k.z - s * k.y;
  entry[2][1] = t * k.y * k.z + s * k.x;
  entry[2][2] = t * k.z * k.z + c;
  return setTranslation(center.asVector() - *this * center.asVector());
}

ZcGeMatrix3d& ZcGeMatrix3d::setToScaling(double scale, const ZcGePoint3d& center) {
  return setToScaling(ZcGeVector3d(scale, scale, scale), center);
}

ZcGeMatrix3d& ZcGeMatrix3d::setToScaling(const ZcGeVector3d& f, const ZcGePoint3d& center) {
  setToIdentity();
  entry[0][0] = f.x;
  entry[1][1] = f.y;
  entry[2][2] = f.z;
  return setTranslation(ZcGeVector3d(center.x * (1.0 - f.x), center.y * (1.0 - f.y), center.z * (1.0 - f.z)));
}

ZcGeMatrix3d& ZcGeMatrix3d::setToMirroring(const ZcGePlane& plane) {
  setToIdentity();
  const ZcGeVector3d n = plane.normal();
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) entry[i][j] -= 2.0 * n[i] * n[j];
  return setTranslation(n * (2.0 * n.dotProduct(plane.pointOnPlane().asVector())));
}

ZcGeMatrix3d& ZcGeMatrix3d::setToMirroring(const ZcGePoint3d& point) {
  setToScaling(/*scale=*/-1.0, point);
  return *this;
}

ZcGeMatrix3d& ZcGeMatrix3d::setToMirroring(const ZcGePoint3d& linePoint, const ZcGeVector3d& lineDir) {
  // A half-turn about the line: 2*d*d^T - I.
  return setToRotation(ZcGe::kPi, lineDir, linePoint);
}

ZcGeMatrix3d& ZcGeMatrix3d::setToMirroring(const ZcGeLineSeg3d& line) {
  return setToMirroring(line.startPoint(), line.delta());
}

ZcGeMatrix3d& ZcGeMatrix3d::setToProjection(const ZcGePlane& plane, const ZcGeVector3d& projectDir) {
  const ZcGeVector3d n = plane.normal();
  ZcGeVector3d d = projectDir.normal();
  // The degenerate case: a direction in the plane cannot project onto it; project
  // orthogonally instead.
  if (d.isZeroLength() || std::fabs(d.dotProduct(n)) <= ZcGeContext::gTol.equalVector()) d = n;
  const double dn = d.dotProduct(n);
  setToIdentity();
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) entry[i][j] -= d[i] * n[j] / dn;
  return setTranslation(d * (n.dotProduct(plane.pointOnPlane().asVector()) / dn));
}

ZcGeMatrix3d& ZcGeMatrix3d::setToAlignCoordSys(const ZcGePoint3d& fromOrigin, const ZcGeVector3d& fromXAxis,
                                               const ZcGeVector3d& fromYAxis, const ZcGeVector3d& fromZAxis,
                                               const ZcGePoint3d& toOrigin, const ZcGeVector3d& toXAxis,
                                               const ZcGeVector3d& toYAxis, const ZcGeVector3d& toZAxis) {
  ZcGeMatrix3d from, to;
  from.setCoordSystem(fromOrigin, fromXAxis, fromYAxis, fromZAxis);
  to.setCoordSystem(toOrigin, toXAxis, toYAxis, toZAxis);
  return *this = to * from.inverse();
}

ZcGeMatrix3d& ZcGeMatrix3d::setToPlaneToWorld(const ZcGeVector3d& normal) {
  const ZcGeVector3d n = normal.normal();
  if (n.isZeroLength()) return setToIdentity();
  const ZcGeVector3d x = n.perpVector();
  return setCoordSystem(ZcGePoint3d::kOrigin, x, n.crossProduct(x), n);
}

ZcGeMatrix3d& ZcGeMatrix3d::setToPlaneToWorld(const ZcGePlane& plane) {
  return setCoordSystem(plane.pointOnPlane(), plane.uAxis(), plane.vAxis(), plane.normal());
}

ZcGeMatrix3d& ZcGeMatrix3d::setToWorldToPlane(const ZcGeVector3d& normal) {
  setToPlaneToWorld(normal);
  // Orthonormal axes: the inverse is the transpose.
  return transposeIt();
}

ZcGeMatrix3d& ZcGeMatrix3d::setToWorldToPlane(const ZcGePlane& plane) {
  setToPlaneToWorld(plane);
  return invert();
}

ZcGeMatrix3d ZcGeMatrix3d::translation(const ZcGeVector3d& vec) {
  return ZcGeMatrix3d().setToTranslation(vec);
}
ZcGeMatrix3d ZcGeMatrix3d::rotation(double angle, const ZcGeVector3d& axis, const ZcGePoint3d& center) {
  return ZcGeMatrix3d().setToRotation(angle, axis, center);
}
ZcGeMatrix3d ZcGeMatrix3d::scaling(double scale, const ZcGePoint3d& center) {
  return ZcGeMatrix3d().setToScaling(scale, center);
}
ZcGeMatrix3d ZcGeMatrix3d::scaling(const ZcGeVector3d& scaleFactors, const ZcGePoint3d& center) {
  return ZcGeMatrix3d().setToScaling(scaleFactors, center);
}
ZcGeMatrix3d ZcGeMatrix3d::mirroring(const ZcGePlane& plane) { return ZcGeMatrix3d().setToMirroring(plane); }
ZcGeMatrix3d ZcGeMatrix3d::mirroring(const ZcGePoint3d& point) {
  return ZcGeMatrix3d().setToMirroring(point);
}
ZcGeMatrix3d ZcGeMatrix3d::mirroring(const ZcGePoint3d& linePoint, const ZcGeVector3d& lineDir) {
  return ZcGeMatrix3d().setToMirroring(linePoint, lineDir);
}
ZcGeMatrix3d ZcGeMatrix3d::mirroring(const ZcGeLineSeg3d& line) {
  return ZcGeMatrix3d().setToMirroring(line);
}
ZcGeMatrix3d ZcGeMatrix3d::projection(const ZcGePlane& plane, const ZcGeVector3d& projectDir) {
  return ZcGeMatrix3d().setToProjection(plane, projectDir);
}
ZcGeMatrix3d ZcGeMatrix3d::alignCoordSys(const ZcGePoint3d& fromOrigin, const ZcGeVector3d& fromXAxis,
                                         const ZcGeVector3d& fromYAxis, const ZcGeVector3d& fromZAxis,
                                         const ZcGePoint3d& toOrigin, const ZcGeVector3d& toXAxis,
                                         const ZcGeVector3d& toYAxis, const ZcGeVector3d& toZAxis) {
  return ZcGeMatrix3d().setToAlignCoordSys(fromOrigin, fromXAxis, fromYAxis, fromZAxis, toOrigin, toXAxis,
                                           toYAxis, toZAxis);
}
ZcGeMatrix3d ZcGeMatrix3d::planeToWorld(const ZcGeVector3d& normal) {
  return ZcGeMatrix3d().setToPlaneToWorld(normal);
}
ZcGeMatrix3d ZcGeMatrix3d::planeToWorld(const ZcGePlane& plane) {
  return ZcGeMatrix3d().setToPlaneToWorld(plane);
}
ZcGeMatrix3d ZcGeMatrix3d::worldToPlane(const ZcGeVector3d& normal) {
  return ZcGeMatrix3d().setToWorldToPlane(normal);
}
ZcGeMatrix3d ZcGeMatrix3d::worldToPlane(const ZcGePlane& plane) {
  return ZcGeMatrix3d().setToWorldToPlane(plane);
}
