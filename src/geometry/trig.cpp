// Sine and cosine of our own: the C libraries of the targets differ in the
// last place, and the geometry must come out bit for bit the same everywhere.
// Every step is a plain IEEE double operation (no contraction), so any
// conforming target computes the same bits.

#include <cmath>

#include "geometry/skeleton.h"

namespace qv::skeleton {

namespace {

// pi/2 in three parts; the first two have 33 significant bits, so k * part is
// exact for every |k| < 2^20.
constexpr double kHalfPi1 = 1.5707963267341256;
constexpr double kHalfPi2 = 6.077100506303966e-11;
constexpr double kHalfPi3 = 2.0222662487959506e-21;
constexpr double kTwoOverPi = 0.6366197723675814;

// Taylor series on [-pi/4, pi/4]; the first omitted terms are below 1e-19.
double SinKernel(double r) {
  const double r2 = r * r;
  const double p =
      -1.0 / 6 +
      r2 * (1.0 / 120 +
            r2 * (-1.0 / 5040 +
                  r2 * (1.0 / 362880 +
                        r2 * (-1.0 / 39916800 +
                              r2 * (1.0 / 6227020800 +
                                    r2 * (-1.0 / 1307674368000 + r2 * (1.0 / 355687428096000)))))));
  return r + r * r2 * p;
}

double CosKernel(double r) {
  const double r2 = r * r;
  const double p =
      1.0 / 24 +
      r2 * (-1.0 / 720 +
            r2 * (1.0 / 40320 +
                  r2 * (-1.0 / 3628800 +
                        r2 * (1.0 / 479001600 +
                              r2 * (-1.0 / 87178291200 +
                                    r2 * (1.0 / 20922789888000 + r2 * (-1.0 / 6402373705728000)))))));
  return 1 - r2 * 0.5 + r2 * r2 * p;
}

// x = k * pi/2 + r with |r| <= pi/4 (nearly); returns k mod 4.
int Reduce(double x, double& r) {
  const double k = std::floor(x * kTwoOverPi + 0.5);
  r = ((x - k * kHalfPi1) - k * kHalfPi2) - k * kHalfPi3;
  return static_cast<int>(static_cast<long long>(std::fmod(k, 4.0)) & 3);
}

}  // namespace

double sin(double x) {
  if (!std::isfinite(x)) return x - x;
  double r = 0;
  switch (Reduce(x, r)) {
    case 0: return SinKernel(r);
    case 1: return CosKernel(r);
    case 2: return -SinKernel(r);
    default: return -CosKernel(r);
  }
}

double cos(double x) {
  if (!std::isfinite(x)) return x - x;
  double r = 0;
  switch (Reduce(x, r)) {
    case 0: return CosKernel(r);
    case 1: return -SinKernel(r);
    case 2: return -CosKernel(r);
    default: return SinKernel(r);
  }
}

}  // namespace qv::skeleton
