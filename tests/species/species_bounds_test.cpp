// Each generator writes exactly its filled ranges: nothing outside them, not
// in its own block nor in another species' block, at every mesh detail.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "geometry/geometry_store.h"

namespace {

using qv::Channel;
using qv::GeometryStore;

// A quiet NaN with a payload no arithmetic produces.
constexpr std::uint64_t kGuardBits = 0x7ff8dead5eedbeefULL;

double Guard() {
  double d;
  std::memcpy(&d, &kGuardBits, sizeof d);
  return d;
}

bool IsGuard(double d) {
  std::uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  return bits == kGuardBits;
}

std::unique_ptr<GeometryStore> GuardedStore() {
  auto store = std::make_unique<GeometryStore>();
  double* begin = reinterpret_cast<double*>(store.get());
  std::fill(begin, begin + sizeof(GeometryStore) / sizeof(double), Guard());
  return store;
}

void Generate(GeometryStore& store, int species, int M, int F) {
  qv::kSpeciesGenerators[species - 1](store, M, F);
}

bool InRange(int species, int part, int r, int c, Channel ch, int M) {
  const qv::PartRange range = qv::FilledRange(species, part, M);
  if (ch >= qv::kColorR2 && !range.has_set_b) return false;
  return r <= range.last_row && c <= range.last_col;
}

TEST(SpeciesBounds, FilledRangesMatchTheLayout) {
  // Grid sizes as the flower description lists them (rows x columns).
  struct Size {
    int species, part, M, rows, cols;
  };
  const Size sizes[] = {
      {1, 0, 1, 7, 3},   {1, 5, 1, 7, 2},   {2, 0, 1, 7, 10},  {1, 3, 5, 31, 11},
      {2, 0, 5, 31, 42}, {4, 5, 5, 31, 16}, {4, 7, 5, 31, 11}, {6, 7, 5, 21, 11},
      {6, 10, 1, 5, 3},  {3, 8, 1, 7, 3},   {5, 6, 4, 40, 6},  {1, 4, 2, 40, 8},
  };
  for (const Size& s : sizes) {
    const qv::PartRange range = qv::FilledRange(s.species, s.part, s.M);
    EXPECT_EQ(range.last_row + 1, s.rows) << s.species << " part " << s.part << " M=" << s.M;
    EXPECT_EQ(range.last_col + 1, s.cols) << s.species << " part " << s.part << " M=" << s.M;
  }
}

class SpeciesBounds : public ::testing::TestWithParam<int> {};

TEST_P(SpeciesBounds, WritesExactlyItsFilledRanges) {
  const int species = GetParam();
  for (int M = 1; M <= 5; ++M) {
    auto store = GuardedStore();
    Generate(*store, species, M, 7);
    for (int other = 1; other <= 6; ++other) {
      const qv::SpeciesView view = store->View(other);
      int written = 0, stray = 0, unfinished = 0;
      for (int ch = 0; ch < qv::kChannelCount; ++ch) {
        for (int part = 0; part < view.parts; ++part) {
          for (int r = 0; r < qv::kGeometryRows; ++r) {
            for (int c = 0; c < view.cols; ++c) {
              const auto channel = static_cast<Channel>(ch);
              const double v = view.At(channel, part, r, c);
              const bool wanted = other == species && InRange(other, part, r, c, channel, M);
              if (wanted && !std::isfinite(v)) ++unfinished;
              if (!wanted && !IsGuard(v)) ++stray;
              if (wanted) ++written;
            }
          }
        }
      }
      EXPECT_EQ(unfinished, 0) << "species " << species << " M=" << M << " left cells unwritten";
      EXPECT_EQ(stray, 0) << "species " << species << " M=" << M << " wrote into species " << other
                          << " outside its ranges";
      if (other == species) {
        EXPECT_GT(written, 0);
      }
    }
  }
}

TEST_P(SpeciesBounds, LoweringTheDetailKeepsStaleCells) {
  const int species = GetParam();
  auto store = GuardedStore();
  Generate(*store, species, 5, 3);
  const qv::SpeciesView view = store->View(species);
  std::vector<double> before;
  for (int ch = 0; ch < qv::kChannelCount; ++ch) {
    for (std::size_t i = 0; i < view.Index(view.parts, 0, 0); ++i) {
      before.push_back(view.channel[ch][i]);
    }
  }
  Generate(*store, species, 2, 3);
  std::size_t k = 0;
  int changed_outside = 0;
  for (int ch = 0; ch < qv::kChannelCount; ++ch) {
    for (int part = 0; part < view.parts; ++part) {
      for (int r = 0; r < qv::kGeometryRows; ++r) {
        for (int c = 0; c < view.cols; ++c, ++k) {
          const auto channel = static_cast<Channel>(ch);
          if (InRange(species, part, r, c, channel, 2)) continue;
          if (std::memcmp(&before[k], &view.channel[ch][view.Index(part, r, c)], 8) != 0) {
            ++changed_outside;
          }
        }
      }
    }
  }
  EXPECT_EQ(changed_outside, 0);
}

INSTANTIATE_TEST_SUITE_P(AllSpecies, SpeciesBounds, ::testing::Range(1, 7));

}  // namespace
