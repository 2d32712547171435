#include "formula/FormulaGenerators.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstddef>

#include "frame/CoordinateRange.h"

namespace veltrace {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kDegree = kPi / 180.0;
// The logarithmic spiral's base is written with nine decimals, not e: its turns have always
// been drawn with it.
constexpr double kSpiralBase = 2.718281828;
// SURFTAB1 is a short; a larger value cannot come from the host, and would only ask for more
// points than any curve needs.
constexpr int kMaxSurftab1 = 32767;
// std::cos(kPi / 2) is 6e-17, not 0: raised to a small power (entry 68) that would move the
// quarter points visibly off the axes. Magnitudes below this are the rounding of a zero.
constexpr double kRoundedZero = 1e-15;

ZcGePoint3d polar(double radius, double angle) {
  return ZcGePoint3d(radius * std::cos(angle), radius * std::sin(angle), 0.0);
}

// The point at `radius` whose polar angle from +z is `alpha` and whose azimuth is `beta`.
ZcGePoint3d spherical(double radius, double alpha, double beta) {
  const double planar = radius * std::sin(alpha);
  return ZcGePoint3d(planar * std::cos(beta), planar * std::sin(beta), radius * std::cos(alpha));
}

// A radicand that is negative only by rounding is the zero it stands for; a truly negative
// one stays negative, so the sample has no real value and is left out.
double realRadicand(double value) { return value < 0.0 && value > -1e-9 ? 0.0 : value; }

double sign(double value) { return value > 0.0 ? 1.0 : (value < 0.0 ? -1.0 : 0.0); }

// Fills the one array of samples: reserved once for the whole count, unusable samples left out.
class Sampler {
 public:
  explicit Sampler(PointList& points) : points_(points) {}

  // `pointAt(i)` for i = 0 .. count-1.
  template <typename PointAt>
  void byIndex(int count, PointAt pointAt) {
    points_.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) keep(pointAt(i));
  }
  // `pointAt(s)` for s = i / (count-1): from 0 to 1, both ends included.
  template <typename PointAt>
  void bySpan(int count, PointAt pointAt) {
    assert(count >= 2 && "every catalogue range gives at least 6 samples");
    const double last = count - 1;
    byIndex(count, [&](int i) { return pointAt(i / last); });
  }
  // `pointAt(t)` for t = 2*pi*s.
  template <typename PointAt>
  void byTurn(int count, PointAt pointAt) {
    bySpan(count, [&](double s) { return pointAt(kTwoPi * s); });
  }

 private:
  void keep(const ZcGePoint3d& p) {
    if (withinCoordinateRange(p)) points_.push_back(p);
  }
  PointList& points_;
};

int clampInto(int value, const FormulaParamDef& slot) {
  return std::clamp(value, slot.minimum, slot.maximum);
}

// s^3 + s^2 + s: the growing radius of the cone-like curves.
double growth(double s) { return ((s + 1.0) * s + 1.0) * s; }

// Entries 26 and 29: a circle of radius B rolling outside one of radius A, the pen at C.
void epicycloid(Sampler& sampler, double a, double b, double c, int k) {
  const double q = a / b + 1.0;
  sampler.bySpan(35 * k, [&](double s) {
    const double t = kTwoPi * b * s;
    return ZcGePoint3d((a + b) * std::cos(t) - c * std::cos(q * t),
                       (a + b) * std::sin(t) - c * std::sin(q * t), 0.0);
  });
}

// Entries 9 and 44: a stretched tangent, stopped short of its poles.
void tangentCurve(Sampler& sampler, double a, int k) {
  sampler.bySpan(35 * k, [&](double s) {
    const double u = s - 0.5;
    return ZcGePoint3d(a * a * u, a * std::tan(0.99 * kPi * u), 0.0);
  });
}

// Entries 58 and 71: a spiral wound on a growing sphere.
void peach(Sampler& sampler, double r, int k) {
  sampler.bySpan(35 * k, [&](double s) { return spherical(r * growth(s), kTwoPi * s, 200.0 * kPi * s * s); });
}

// Entries 64 and 65: a circle of radius 5R waving B times up and down.
void ring(Sampler& sampler, double r, double b, int k) {
  sampler.byTurn(35 * k, [&](double t) {
    return ZcGePoint3d(5.0 * r * std::cos(t), 5.0 * r * std::sin(t), r * std::cos(b * t));
  });
}

// The spirals' Direction: 0 turns the other way.
double direction(int value) { return value != 0 ? 1.0 : -1.0; }

void sampleEntry(int number, const FormulaParameters& p, int surftab1, Sampler& sampler) {
  const double p1 = p.p1;
  const double p2 = p.p2;
  const double p3 = p.p3;
  const double p4 = p.p4;
  switch (number) {
    case 1: {  // heart; the last sample stops one step short of the first, the curve is closed
      const double w = p1;
      sampler.byIndex(35, [&](int i) {
        const double t = kTwoPi * i / 36.0;
        const double sine = std::sin(t);
        return ZcGePoint3d(
            w / 2.0 * sine * sine * sine,
            w / 32.0 *
                (13.0 * std::cos(t) - 5.0 * std::cos(2.0 * t) - 2.0 * std::cos(3.0 * t) - std::cos(4.0 * t)),
            0.0);
      });
      break;
    }
    case 2:
    case 3:
    case 4: {  // waves: rectified, plain, widening
      const int n = p.p1;
      const double h = p2;
      const int count = 36 * n;
      sampler.byIndex(count, [&](int i) {
        const double theta = kPi * n * i / (count - 1);
        const double x = number == 4 ? h * theta * theta / (kTwoPi * n) : h * theta;
        const double y = number == 2 ? h * std::abs(std::sin(theta)) : h * std::sin(theta);
        return ZcGePoint3d(x, y, 0.0);
      });
      break;
    }
    case 5: {  // logarithm; the first sample stands in for x = 0
      const double k = p1;
      sampler.byIndex(100, [&](int i) {
        const double x = i == 0 ? 1e-15 : (i / 10.0) * (i / 10.0);
        return ZcGePoint3d(x, k * std::log(x), 0.0);
      });
      break;
    }
    case 6: {  // hyperbola; u stops one step short of 10
      const double a = p1;
      const double b = p2;
      const int count = 36 * p.p3;
      sampler.byIndex(count, [&](int i) {
        const double u = 20.0 * i / count - 10.0;
        return ZcGePoint3d(a / b * std::sqrt(u * u + b * b), u, 0.0);
      });
      break;
    }
    case 7: {  // parabola
      const double a = p1;
      const double m = p2;
      if (surftab1 <= 0) break;
      sampler.bySpan(6 * std::min(surftab1, kMaxSurftab1), [&](double s) {
        const double u = 50.0 * s - 25.0;
        return ZcGePoint3d(m * u * u / (2.0 * a), m * u, 0.0);
      });
      break;
    }
    case 8: {  // disk spring
      const double r = p1;
      const double d = p2;
      const double loops = p3;
      const double wobble = std::pow(loops, 2.4);
      sampler.bySpan(180, [&](double s) {
        const double angle = kTwoPi * loops * s;
        return ZcGePoint3d(r * std::cos(angle), r * std::sin(angle),
                           std::cos(kTwoPi * wobble * s) + d * loops * s);
      });
      break;
    }
    case 9:
    case 44:
      tangentCurve(sampler, p1, p.p3);
      break;
    case 10:  // unit size whatever A and B
      sampler.byTurn(35 * p.p3, [&](double t) {
        const double sine = std::sin(t);
        const double wave = std::sin(15.0 * t);
        return ZcGePoint3d(sine * std::cos(wave), sine * std::sin(wave), std::abs(sine));
      });
      break;
    case 11:    // mushroom
    case 40: {  // conical hat
      const double r = p1;
      const double tilt = number == 11 ? kPi / 3.0 * std::log(60.0) : std::log(kPi / 3.0) * (kPi / 3.0);
      sampler.bySpan(35 * p.p2, [&](double s) {
        const ZcGePoint3d q = spherical(r * growth(s), tilt * s, 200.0 * kPi * s * s);
        return ZcGePoint3d(q.x, q.y, -q.z);
      });
      break;
    }
    case 12: {  // a hypocycloid with P2 cusps
      const double r = p1;
      const int b = p.p2 - 1;
      const int count = 36 * (b - 1);
      sampler.byIndex(count, [&](int i) {
        const double t = kTwoPi * i / (count - 1);
        return ZcGePoint3d(r / b * (b * std::cos(t) + std::cos(b * t)),
                           r / b * (b * std::sin(t) - std::sin(b * t)), 0.0);
      });
      break;
    }
    case 13: {  // involute of a circle
      const double loops = p1;
      const double d = direction(p.p2);
      const double r = p3;
      sampler.bySpan(36 * p.p1, [&](double s) {
        const double theta = kTwoPi * loops * d * s;
        return ZcGePoint3d(r * std::cos(theta) + r * theta * std::sin(theta),
                           r * std::sin(theta) - r * theta * std::cos(theta), 0.0);
      });
      break;
    }
    case 14: {  // Archimedes
      const double loops = p1;
      const double d = direction(p.p2);
      const double r = p3;
      sampler.bySpan(36 * p.p1, [&](double s) {
        const double theta = kTwoPi * loops * s;
        return ZcGePoint3d(d * r * theta * std::cos(theta), r * theta * std::sin(theta), 0.0);
      });
      break;
    }
    case 15: {  // logarithmic; grows past any drawing with many loops and a large Dist
      const double loops = p1;
      const double d = direction(p.p2);
      const double pitch = p3;
      const double r = p4;
      sampler.bySpan(36 * p.p1, [&](double s) {
        const double theta = kTwoPi * loops * s;
        const double rho = r * std::pow(kSpiralBase, theta * pitch / 1000.0);
        return ZcGePoint3d(d * rho * std::cos(theta), rho * std::sin(theta), 0.0);
      });
      break;
    }
    case 16:    // hyperbolic
    case 17: {  // interlocking
      const double loops = p1;
      const double d = direction(p.p2);
      const double r = p3;
      sampler.bySpan(36 * p.p1, [&](double s) {
        const double theta = kTwoPi * loops * s + 1.0;
        const double rho = number == 16 ? r / theta : r / std::sqrt(theta);
        return ZcGePoint3d(d * rho * std::cos(theta), rho * std::sin(theta), 0.0);
      });
      break;
    }
    case 18: {  // cardioid, or the kidney of TYPE 0
      const double a = p1;
      const bool cardioid = p.p2 == 1;
      sampler.byIndex(35, [&](int i) {
        const double t = kTwoPi * i / 34.0;
        return polar(cardioid ? 2.0 * a * (1.0 + std::cos(t)) : a * (1.0 + std::sin(t / 2.0)), t);
      });
      break;
    }
    case 19:
    case 20:
    case 21:
    case 22: {
      const double a = p1;
      const double b = p2;
      const double c = p3;
      sampler.byIndex(175, [&](int i) {
        const double t = kTwoPi * i / 174.0;
        const double cosine = std::cos(t);
        const double sine = std::sin(t);
        switch (number) {
          case 19:  // epicycloid of two arcs
            return ZcGePoint3d(a * std::cos(3.0 * t) + 3.0 * b * cosine,
                               a * std::sin(3.0 * t) + 3.0 * b * sine, 0.0);
          case 20:  // nephroid
            return ZcGePoint3d(a * (3.0 * cosine - std::cos(3.0 * t)), a * (3.0 * sine - std::sin(3.0 * t)),
                               0.0);
          case 21: {  // Talbot's curve
            const double ta = a / 10.0;
            const double tb = b / 10.0;
            const double spread = c * c * sine * sine;
            return ZcGePoint3d(20.0 * cosine * (ta * ta + spread) / ta,
                               20.0 * sine * (ta * ta - 2.0 * c + spread) / tb, 0.0);
          }
          default:  // four-leaved rose
            return polar(a * std::cos(2.0 * t), t);
        }
      });
      break;
    }
    case 23: {  // three-leaved rose: half a turn draws all three leaves
      const double a = p1;
      sampler.byIndex(175, [&](int i) {
        const double t = kPi * i / 174.0;
        return polar(a * std::cos(3.0 * t), t);
      });
      break;
    }
    case 24: {  // rose
      const double a = p1;
      const double b = p2;
      sampler.byTurn(35 * p.p3, [&](double t) { return polar(b * std::sin(a * t), t); });
      break;
    }
    case 25: {
      const double a = p1;
      const double b = p2;
      sampler.byIndex(315, [&](int i) {
        const double t = 10.0 * kPi * i / 314.0;
        return ZcGePoint3d(a * std::cos(t) + b * std::cos(0.8 * t), a * std::sin(t) - b * std::sin(0.8 * t),
                           0.0);
      });
      break;
    }
    case 26:
    case 29:
      epicycloid(sampler, p1, p2, p3, p.p4);
      break;
    case 27:    // hypocycloid
    case 28: {  // prolate or curtate hypotrochoid
      const double a = p1;
      const double b = p2;
      const double c = p3;
      const double q = number == 27 ? 1.0 - a / b : a / b - 1.0;
      const double ySign = number == 27 ? 1.0 : -1.0;
      sampler.bySpan(35 * p.p4, [&](double s) {
        const double t = kTwoPi * b * s;
        return ZcGePoint3d((a - b) * std::cos(t) + c * std::cos(q * t),
                           (a - b) * std::sin(t) + ySign * c * std::sin(q * t), 0.0);
      });
      break;
    }
    case 30: {  // winding round a sphere A times
      const double a = p1;
      const double r = p2;
      sampler.bySpan(35 * p.p3 * p.p1,
                     [&](double s) { return spherical(r, kTwoPi * s, 20.0 * kPi * a * s); });
      break;
    }
    case 31: {  // Fermat's spiral
      const double r = p1;
      sampler.bySpan(35 * p.p2, [&](double s) {
        const double theta = 5.0 * kPi * s;
        return polar(r * std::sqrt(theta), theta);
      });
      break;
    }
    case 32: {  // spherical helix; B 0 stops at two thirds of the way down
      const double r = p1;
      const double share = p.p2 != 0 ? 1.0 : 2.0 / 3.0;
      sampler.bySpan(35 * p.p3, [&](double s) {
        const double phi = kPi * s;
        return spherical(r, share * phi, 40.0 * phi);
      });
      break;
    }
    case 33: {  // the height is not scaled by R
      const double r = p1;
      sampler.byTurn(35 * p.p2, [&](double t) {
        const double wave = std::sin(6.0 * t);
        const ZcGePoint3d q = polar(r * (1.0 + wave), t);
        return ZcGePoint3d(q.x, q.y, 2.0 * wave);
      });
      break;
    }
    case 34:    // butterfly
    case 36: {  // nine petals
      const double r = p1;
      const double alphaTurns = number == 34 ? 8.0 : 180.0;
      const double betaTurns = number == 34 ? -16.0 : 20.0;
      sampler.bySpan(35 * p.p2,
                     [&](double s) { return spherical(r * s, alphaTurns * kPi * s, betaTurns * kPi * s); });
      break;
    }
    case 35: {  // sun
      const double r = p1;
      sampler.byTurn(35 * p.p2, [&](double t) { return polar(1.0 + r * std::cos(50.0 * t), t); });
      break;
    }
    case 37: {
      const double r = p1;
      sampler.bySpan(35 * p.p2, [&](double s) {
        const double phi = kTwoPi * s;
        const double w = 1.5 * r * std::cos(kTwoPi * phi) + r * std::sin(phi);
        return spherical(w, phi, phi * std::log(phi + 1.0));
      });
      break;
    }
    case 38:    // basket
    case 60:    // drum
    case 61: {  // peanut
      const double r = p1;
      sampler.bySpan(35 * p.p2, [&](double s) {
        switch (number) {
          case 38: {
            const ZcGePoint3d q = polar(r * (0.3 * std::sin(kTwoPi * s) + 5.0 + s), 60.0 * kPi * s);
            return ZcGePoint3d(q.x, q.y, 5.0 * r * s);
          }
          case 60: {
            const ZcGePoint3d q = polar(r * (3.3 * std::sin(kPi * s) + 5.0 + s), 20.0 * kPi * s);
            return ZcGePoint3d(q.x, q.y, 10.0 * r * s);
          }
          default: {
            const ZcGePoint3d q = polar(r * (6.0 * std::sin(kTwoPi * s) + s), 80.0 * kPi * s);
            return ZcGePoint3d(q.x, q.y, 20.0 * r * s);
          }
        }
      });
      break;
    }
    case 39: {  // vortex
      const double r = p1;
      const double tilt = std::log(kPi / 6.0) * (p.p2 != 0 ? kPi / 6.0 : kPi / 3.0);
      sampler.bySpan(35 * p.p3, [&](double s) { return spherical(400.0 * r * s, tilt * s, 40.0 * kPi * s); });
      break;
    }
    case 41: {  // folium; the polar angle is s itself, 0 to 1 radian
      const double r = p1;
      sampler.bySpan(35 * p.p2, [&](double s) {
        const double phi = kPi * s / 2.0;
        const double c = std::cos(phi);
        const double sn = std::sin(phi);
        const double rho = 3.0 * r * sn * c / (c * c * c + sn * sn * sn);
        return ZcGePoint3d(rho * std::sin(s), rho * std::cos(s), 0.0);
      });
      break;
    }
    case 42: {  // bell curve
      const double a = p1;
      const double b = p2;
      sampler.bySpan(35 * p.p3, [&](double s) {
        const double u = 4.5 * (s - 0.5);
        return ZcGePoint3d(a * u, b / 10.0 * a * std::exp(-u * u), 0.0);
      });
      break;
    }
    case 43: {  // witch
      const double a = p1;
      const double b = p2;
      sampler.bySpan(35 * p.p3, [&](double s) {
        const double theta = (160.0 * s - 80.0) * kDegree;
        const double c = std::cos(theta);
        return ZcGePoint3d(a * a * std::tan(theta), a * b * c * c, 0.0);
      });
      break;
    }
    case 45:
    case 46:
    case 47: {  // sinh, cosh, tanh
      const double a = p1;
      sampler.bySpan(35 * p.p2, [&](double s) {
        const double u = 6.0 * (s - 0.5);
        const double y = number == 45 ? std::sinh(u) : (number == 46 ? std::cosh(u) : std::tanh(u));
        return ZcGePoint3d(a * u, a * y, 0.0);
      });
      break;
    }
    case 48: {  // cissoid
      const double a = p1;
      sampler.bySpan(35 * p.p2, [&](double s) {
        const double theta = 150.0 * kDegree * (s - 0.5);
        return polar(2.0 * a * a * std::tan(theta) * std::sin(theta), theta);
      });
      break;
    }
    case 49: {  // Lissajous; C is a phase in radians
      const double a = p1;
      const double b = p2;
      const double c = p3;
      sampler.byTurn(35 * p.p4, [&](double t) {
        return ZcGePoint3d(10.0 * b * std::sin(a * t + c), b * b * std::sin(t), 0.0);
      });
      break;
    }
    case 50: {  // figure eight
      const double a = p1;
      const double b = p2;
      sampler.byTurn(35 * p.p3,
                     [&](double t) { return ZcGePoint3d(a * std::cos(t), b * std::sin(2.0 * t), 0.0); });
      break;
    }
    case 51: {
      const double a = p1;
      const double b = p2;
      sampler.bySpan(35 * p.p3, [&](double s) {
        const double u = 3.0 * s - 1.5;
        const double v = u * u - 1.0;
        return ZcGePoint3d(b / 10.0 * a * u, a * v * v * v, 0.0);
      });
      break;
    }
    case 52: {  // snake
      const double a2 = p1 * p1;
      const double b = p2;
      sampler.bySpan(35 * p.p3, [&](double s) {
        const double w = (s + 1.0) * s * kPi;
        return ZcGePoint3d(a2 * std::cos((s + 1.0) * kPi),
                           a2 * (std::sin(b * kPi * s) * (std::sin(w) + 1.5) + std::cos(w)), 0.0);
      });
      break;
    }
    case 53: {  // plum blossom
      const double a = p1;
      const double b = p2;
      const double c = p3;
      sampler.byTurn(35 * p.p4, [&](double t) {
        const double sine = std::sin(c * t / 2.0);
        return polar(a * (10.0 - b * sine * sine), t);
      });
      break;
    }
    case 54: {  // hand
      const double a = p1;
      sampler.bySpan(35 * p.p2, [&](double s) {
        return polar(a * (2.0 * std::cos(12.0 * kPi * s * s * s) + 5.0), kTwoPi * s + kPi);
      });
      break;
    }
    case 55:
    case 56:
    case 57: {  // six leaves: straight, curved, flower
      const double r = p1;
      const double base = number == 57 ? 5.0 : 10.0;
      sampler.byTurn(35 * p.p2, [&](double t) {
        const double sine3 = std::sin(3.0 * t);
        const double q = base - 9.0 * sine3 * sine3;
        const ZcGePoint3d flat = polar(r * q, t);
        const double lift = q * sine3;
        const double z =
            number == 55 ? -16.0 * r * sine3 * sine3 : (number == 56 ? -r * lift * lift : r * lift * lift);
        return ZcGePoint3d(flat.x, flat.y, z);
      });
      break;
    }
    case 58:
    case 71:
      peach(sampler, p1, p.p2);
      break;
    case 59: {  // longevity lock
      const double r = p1;
      const double sr = 0.8 * p2;
      const double tr = 1.2 * p3;
      sampler.bySpan(35 * p.p4, [&](double s) {
        const double alpha = 1.999 * kPi * s;
        const double beta = 12.0 * kPi * s;
        const double gamma = 32.0 * kPi * s;
        return ZcGePoint3d(r * (sr * std::cos(beta) + 10.0 * std::cos(alpha) + tr * std::cos(gamma)),
                           r * (sr * std::sin(beta) + 10.0 * std::sin(alpha) + tr * std::sin(gamma)), 0.0);
      });
      break;
    }
    case 62: {  // bow
      const double r = p1;
      const double b = p2;
      sampler.bySpan(35 * p.p3, [&](double s) {
        const double u = b * s;
        const double w = kTwoPi * u;
        return ZcGePoint3d(4.0 * r * u * std::sin(10.0 * w), 5.0 * r * u * std::cos(10.0 * w),
                           6.0 * r * u * std::sin(5.0 * w));
      });
      break;
    }
    case 63: {  // handlebar
      const double r0 = p1;
      const double r1 = p2;
      sampler.bySpan(35 * p.p3, [&](double s) {
        const double wave = 12.0 * kPi * s;
        return ZcGePoint3d(std::cos(kTwoPi * s) * (r1 * std::cos(wave) + r0), r1 * std::sin(wave), 0.0);
      });
      break;
    }
    case 64:
    case 65:
      ring(sampler, p1, p2, p.p3);
      break;
    case 66: {  // catenary
      const double r = p1;
      const double b = p2;
      sampler.bySpan(35 * p.p3, [&](double s) {
        const double u = r * (s - 0.5);
        return ZcGePoint3d(u, b * r / 4.0 * (std::cosh(u / r) - 1.0), 0.0);
      });
      break;
    }
    case 67: {  // bell
      const double r = p1;
      sampler.bySpan(35 * p.p2, [&](double s) {
        const double g = r * growth(s);
        const ZcGePoint3d q = polar(g, 100.0 * kPi * s * s);
        return ZcGePoint3d(q.x, q.y, -g * std::cos(kTwoPi * s));
      });
      break;
    }
    case 68: {  // Lamé's superellipse
      const double r = p1;
      const double e = 20.0 / p2;
      const auto power = [&](double value) {
        return std::abs(value) < kRoundedZero ? 0.0 : sign(value) * std::pow(std::abs(value), e);
      };
      sampler.byTurn(35 * p.p3, [&](double t) {
        return ZcGePoint3d(r * power(std::cos(t)), r * power(std::sin(t)), 0.0);
      });
      break;
    }
    case 69: {  // conchoid
      const double r = p1;
      const double m = p2;
      sampler.bySpan(35 * p.p3, [&](double s) {
        const double theta = (178.0 * s - 89.0) * kDegree;
        return polar((m * m * std::cos(2.0 * theta) + r * r) / (r * std::cos(theta)), theta);
      });
      break;
    }
    case 70: {  // Watt's curve; with A above 3 it has no real point near t = pi/2 (left out)
      const double a = p1;
      const double r = p2;
      sampler.byTurn(35 * p.p3, [&](double t) {
        const double c = std::cos(t);
        const double inner = std::sqrt(25.0 - a * a * c * c) + a * std::sin(t);
        return polar(r * std::sqrt(realRadicand(64.0 - inner * inner)), t);
      });
      break;
    }
    default:
      assert(false && "the caller checks the entry index");
      break;
  }
}

}  // namespace

FormulaParameters formulaDefaultParameters(int entryIndex) {
  if (entryIndex < 0 || entryIndex >= kFormulaCurveCount) return {};
  const auto& slots = formulaCatalogue(/*chinese=*/false)[entryIndex].params;
  return {slots[0].defaultValue, slots[1].defaultValue, slots[2].defaultValue, slots[3].defaultValue};
}

FormulaSamples formulaCurveSamples(int entryIndex, FormulaParameters parameters, int surftab1) {
  FormulaSamples samples;
  if (entryIndex < 0 || entryIndex >= kFormulaCurveCount) return samples;
  // The dialog keeps values in range; clamping keeps any other caller from asking for
  // absurd counts or dividing by zero.
  const auto& slots = formulaCatalogue(/*chinese=*/false)[entryIndex].params;
  parameters.p1 = clampInto(parameters.p1, slots[0]);
  parameters.p2 = clampInto(parameters.p2, slots[1]);
  parameters.p3 = clampInto(parameters.p3, slots[2]);
  parameters.p4 = clampInto(parameters.p4, slots[3]);
  const int number = entryIndex + 1;
  if (number == 1) {
    samples.colourIndex = 1;
    samples.closed = true;
  }
  Sampler sampler(samples.points);
  sampleEntry(number, parameters, surftab1, sampler);
  return samples;
}

}  // namespace veltrace
