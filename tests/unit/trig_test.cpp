#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "geometry/skeleton.h"

namespace qv {
namespace {

// Distance in units in the last place between two doubles of the same sign.
std::int64_t Ulps(double a, double b) {
  std::int64_t ia, ib;
  std::memcpy(&ia, &a, sizeof a);
  std::memcpy(&ib, &b, sizeof b);
  if (ia < 0) ia = std::numeric_limits<std::int64_t>::min() - ia;
  if (ib < 0) ib = std::numeric_limits<std::int64_t>::min() - ib;
  return ia > ib ? ia - ib : ib - ia;
}

// The host library's sine and cosine are accurate to well under an ulp on
// this range; ours may differ from them by rounding only.
TEST(Trig, AgreesWithTheHostLibraryWithinTwoUlps) {
  for (int i = -200000; i <= 200000; ++i) {
    const double x = i * 0.000173;  // -34.6 .. 34.6, the generators' range and more
    const double s = skeleton::sin(x), c = skeleton::cos(x);
    if (std::fabs(std::sin(x)) > 1e-300) {
      ASSERT_LE(Ulps(s, std::sin(x)), 2) << x;
    }
    ASSERT_LE(Ulps(c, std::cos(x)), 2) << x;
  }
}

TEST(Trig, ExactPointsAndNonFiniteInput) {
  EXPECT_EQ(skeleton::sin(0.0), 0.0);
  EXPECT_EQ(skeleton::cos(0.0), 1.0);
  EXPECT_EQ(skeleton::sin(skeleton::kPi / 2), 1.0);
  EXPECT_NEAR(skeleton::cos(skeleton::kPi), -1.0, 1e-16);
  EXPECT_NEAR(skeleton::sin(skeleton::kPi), 1.2246467991473532e-16, 1e-30);
  EXPECT_TRUE(std::isnan(skeleton::sin(INFINITY)));
  EXPECT_TRUE(std::isnan(skeleton::cos(NAN)));
}

}  // namespace
}  // namespace qv
