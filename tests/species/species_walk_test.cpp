// The walks behind the stored grids: where rows stop at their cap, where
// row 0 collapses, how the stems descend and how the extra running phases
// accumulate, and the grey and colour-set rules.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "geometry/geometry_store.h"
#include "geometry/skeleton.h"

namespace {

using qv::Channel;
using qv::GeometryStore;
using qv::SpeciesView;

constexpr double kPi = 3.141592653589793;

void Generate(GeometryStore& store, int species, int M, int F) {
  qv::kSpeciesGenerators[species - 1](store, M, F);
}

int StemPart(int species) {
  for (int part = 0;; ++part) {
    if (qv::FilledRange(species, part, 1).last_row == 39) return part;
  }
}

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// Rows that sit exactly at the cap, by stepping t as the walk does: the sum
// of r steps of pi/(12M) lands one unit in the last place short of pi/2 for
// M = 1, 3, 4, so those grids have no capped row at all, and a few rows that
// "should" reach the cap by r * dt stay just below it. Worked out
// independently with python3 (t = t + dt; if t >= T: t = T).
struct CapCase {
  const char* name;
  int rows_per_M;
  int steps_per_quarter;  // dt = pi / (steps_per_quarter * M)
  double cap;
  std::vector<int> rows[6];  // index M
};

const CapCase kCapCases[] = {
    {"tenth steps to pi/2 (species 1 leaves)",
     6,
     10,
     kPi / 2,
     {{}, {5, 6}, {10, 11, 12}, {16, 17, 18}, {20, 21, 22, 23, 24}, {25, 26, 27, 28, 29, 30}}},
    {"twelfth steps to pi/2", 6, 12, kPi / 2, {{}, {}, {12}, {}, {}, {30}}},
    {"twelfth steps to 5pi/11 (species 4 leaves)",
     6,
     12,
     1.4279966607226333,
     {{}, {6}, {11, 12}, {17, 18}, {22, 23, 24}, {28, 29, 30}}},
    {"twelfth steps to pi/4 (species 6)",
     4,
     12,
     kPi / 4,
     {{}, {3, 4}, {7, 8}, {9, 10, 11, 12}, {12, 13, 14, 15, 16}, {16, 17, 18, 19, 20}}},
};

TEST(GridWalk, RowsAtTheCapFollowTheAccumulatedSum) {
  for (const CapCase& k : kCapCases) {
    for (int M = 1; M <= 5; ++M) {
      const qv::skeleton::GridWalk walk{
          k.rows_per_M * M, 2, 0, 0.1, kPi / (k.steps_per_quarter * M), k.cap};
      std::vector<int> capped;
      qv::skeleton::WalkGrid(walk, [&](int r, int c, double t, double) {
        if (c == 0 && t == k.cap) capped.push_back(r);
        EXPECT_LE(t, k.cap);
      });
      EXPECT_EQ(capped, k.rows[M]) << k.name << " M=" << M;
    }
  }
}

// Which cap case each grid part of each species walks with.
struct GridPart {
  int species, first, last, cap_case;
};
const GridPart kGridParts[] = {
    {1, 0, 3, 1}, {1, 5, 7, 0}, {2, 0, 0, 1}, {2, 2, 3, 1}, {3, 0, 5, 1}, {3, 7, 8, 1},
    {4, 0, 5, 1}, {4, 7, 8, 2}, {5, 0, 5, 1}, {5, 7, 8, 1}, {6, 0, 7, 3}, {6, 9, 10, 3},
};

TEST(GridWalk, CappedRowsRepeatTheEdgeRowInTheStore) {
  auto store = std::make_unique<GeometryStore>();
  for (int M = 1; M <= 5; ++M) {
    for (int species = 1; species <= 6; ++species) Generate(*store, species, M, 7);
    for (const GridPart& gp : kGridParts) {
      const SpeciesView view = store->View(gp.species);
      const std::vector<int>& rows = kCapCases[gp.cap_case].rows[M];
      for (int part = gp.first; part <= gp.last; ++part) {
        const qv::PartRange range = qv::FilledRange(gp.species, part, M);
        for (int r : rows) {
          for (int c = 0; c <= range.last_col; ++c) {
            for (int ch = 0; ch < qv::kChannelCount; ++ch) {
              const auto channel = static_cast<Channel>(ch);
              ASSERT_TRUE(
                  SameBits(view.At(channel, part, r, c), view.At(channel, part, range.last_row, c)))
                  << "species " << gp.species << " part " << part << " M=" << M << " row " << r
                  << " col " << c << " channel " << ch;
            }
          }
        }
      }
    }
  }
}

TEST(Species, RowZeroCollapsesToTheFlowerCentre) {
  auto store = std::make_unique<GeometryStore>();
  for (int M = 1; M <= 5; ++M) {
    for (int species = 1; species <= 6; ++species) {
      Generate(*store, species, M, 7);
      const SpeciesView view = store->View(species);
      for (int part = 0; qv::FilledRange(species, part, M).has_set_b; ++part) {
        const int last_col = qv::FilledRange(species, part, M).last_col;
        for (int c = 0; c <= last_col; ++c) {
          // Raw (-1/3, 0, 3) maps to (0, 7, -1/3); species 6 starts from raw
          // (0, 5/7, 3) instead, and species 2's rim term lifts each column by
          // 3 sin(2.27 s)/8 with s = 0.7 c / M.
          double X = 0, Y = 7, Z = -1.0 / 3;
          if (species == 6) {
            X = -5.0 / 7;
            Z = 0;
          }
          if (species == 2) Y = 7 - 3 * std::sin(2.27 * (0.7 * c / M)) / 8;
          EXPECT_NEAR(view.At(qv::kPointX, part, 0, c), X, 1e-14) << species << " " << part;
          EXPECT_NEAR(view.At(qv::kPointY, part, 0, c), Y, 1e-12) << species << " " << part;
          EXPECT_NEAR(view.At(qv::kPointZ, part, 0, c), Z, 1e-14) << species << " " << part;
        }
      }
    }
  }
}

TEST(Species, StemsDescendFromSevenByTheirHeightStep) {
  // Raw height h = 3 + r * dh becomes PointY = 10 - h; the tube radius and
  // the bend only move x and y, which barely reach PointY.
  const double dh[7] = {0, 3.0 / 16, 3.0 / 16, 3.0 / 16, 3.0 / 16, 3.0 / 18, 3.0 / 17};
  auto store = std::make_unique<GeometryStore>();
  for (int species = 1; species <= 6; ++species) {
    Generate(*store, species, 3, 7);
    const SpeciesView view = store->View(species);
    const int part = StemPart(species);
    const int last_col = qv::FilledRange(species, part, 3).last_col;
    for (int r = 0; r < 40; ++r) {
      for (int c = 0; c <= last_col; ++c) {
        EXPECT_NEAR(view.At(qv::kPointY, part, r, c), 10 - (3 + r * dh[species]), 1e-12)
            << "species " << species << " row " << r;
      }
    }
  }
}

TEST(Species, StemPhasesRunOnAcrossRowEnds) {
  // Species 5 and 6 carry a phase s over the whole stem, (6r + c) steps of
  // pi/340 and pi/420; the red channel shows it as 0.1 cos(s) and 0.1 cos(s/3)
  // faded by 1/F.
  auto store = std::make_unique<GeometryStore>();
  qv::GenerateSpecies5(*store, 2, 4);
  qv::GenerateSpecies6(*store, 2, 4);
  for (int r = 0; r < 40; ++r) {
    for (int c = 0; c <= 5; ++c) {
      const double s5 = (6 * r + c) * kPi / 340;
      const double s6 = (6 * r + c) * kPi / 420;
      const double red5 = 0.1 * std::cos(s5), red6 = 0.1 * std::cos(s6 / 3);
      EXPECT_NEAR(store->Species5.ColorR[6][r][c], red5 + (1 - red5) / 4, 1e-12) << r << c;
      EXPECT_NEAR(store->Species6.ColorR[8][r][c], red6 + (1 - red6) / 4, 1e-12) << r << c;
    }
  }
}

TEST(Species, LeafPhaseOfSpecies5GrowsPerRowAndDropsAtTheCap) {
  // Part 7's height is 3 cos(s) cos(t) + 3.6 with s = r pi/60 below the cap,
  // whatever M; at the cap s is 0 but cos t vanishes there anyway, so those
  // rows only need to sit at the raw height 3.6.
  auto store = std::make_unique<GeometryStore>();
  for (int M = 1; M <= 5; ++M) {
    qv::GenerateSpecies5(*store, M, 7);
    for (int r = 0; r <= 6 * M; ++r) {
      const double t = r * kPi / (12 * M);
      const double s = r * kPi / 60;
      for (int c = 0; c <= 2 * M; ++c) {
        EXPECT_NEAR(store->Species5.PointY[7][r][c], 10 - (3 * std::cos(s) * std::cos(t) + 3.6),
                    1e-12)
            << "M=" << M << " row " << r;
      }
    }
  }
}

TEST(Species, GreyWhenFrameIsOne) {
  auto store = std::make_unique<GeometryStore>();
  for (int M = 1; M <= 5; ++M) {
    for (int species = 1; species <= 6; ++species) {
      Generate(*store, species, M, 1);
      const SpeciesView view = store->View(species);
      for (int part = 0; part < qv::SpeciesPartCount(species); ++part) {
        const qv::PartRange range = qv::FilledRange(species, part, M);
        for (int r = 0; r <= range.last_row; ++r) {
          for (int c = 0; c <= range.last_col; ++c) {
            const double red = view.At(qv::kColorR, part, r, c);
            EXPECT_EQ(view.At(qv::kColorG, part, r, c), red);
            EXPECT_EQ(view.At(qv::kColorB, part, r, c), red);
            if (!range.has_set_b) continue;
            EXPECT_EQ(view.At(qv::kColorR2, part, r, c), red);
            EXPECT_EQ(view.At(qv::kColorG2, part, r, c), red);
            EXPECT_EQ(view.At(qv::kColorB2, part, r, c), red);
          }
        }
      }
    }
  }
  // Species 2's stem grey does not follow the bend: sin(0.02/5 + pi/6) for
  // every vertex, worked out independently with python3.
  for (int r = 0; r < 40; ++r) {
    for (int c = 0; c <= 5; ++c) {
      EXPECT_NEAR(store->Species2.ColorG[1][r][c], 0.50346009238287415, 1e-15);
    }
  }
}

TEST(Species, SecondColourSets) {
  auto store = std::make_unique<GeometryStore>();
  qv::GenerateSpecies4(*store, 5, 6);
  const auto& g = store->Species4;
  // Set B shares red with set A and takes set A's green as its blue in every
  // petal; only the largest petal keeps set A's green as its green too.
  for (int part = 0; part <= 5; ++part) {
    int green_differs = 0;
    for (int r = 0; r <= 30; ++r) {
      for (int c = 0; c <= 15; ++c) {
        EXPECT_EQ(g.ColorR2[part][r][c], g.ColorR[part][r][c]);
        EXPECT_EQ(g.ColorB2[part][r][c], g.ColorG[part][r][c]);
        // In row 0 (t = 0) the two green angles coincide.
        if (r > 0 && g.ColorG2[part][r][c] != g.ColorG[part][r][c]) ++green_differs;
      }
    }
    if (part == 0) {
      EXPECT_EQ(green_differs, 0);
    } else {
      EXPECT_EQ(green_differs, 30 * 16) << "part " << part;
    }
  }
}

}  // namespace

namespace {

TEST(Species1, MeshDetailOneSitsAtTheNominalAngles) {
  // Vertices evaluated at the prose's angles rather than the accumulated
  // ones: petals at t = r pi/12 and u = -pi/4 + c pi/4, leaves at t = pi/2
  // (rows 5 and 6) and u = -pi/8 + c pi/4. Worked out independently with the
  // formulas of the flower description (python3).
  struct Vertex {
    int part, row, col;
    double X, Y, Z;
  };
  const Vertex expected[] = {
      {0, 6, 2, -2.2143629304045732e-16, 8.6075159603376807, -2.1011002862997028},
      {1, 1, 0, 0.26649379641071846, 7.1096050688887527, 0.045473870873745222},
      {2, 3, 0, -0.75761440841415817, 8.1891036360383467, 0.50664870341835588},
      {3, 4, 1, -1.629349223746811, 8.780464795733689, -0.33333333333333359},
      {5, 5, 0, 1, 5.7422555233306234, 1.0166666666666659},
      {6, 6, 1, -0.99999999999999978, 3.9126041178551958, 1.1666666666666656},
      {7, 5, 1, -8.617585300442013e-17, 2.4126041178551958, -0.8333333333333347},
  };
  auto store = std::make_unique<GeometryStore>();
  qv::GenerateSpecies1(*store, 1, 7);
  const auto& g = store->Species1;
  for (const Vertex& v : expected) {
    EXPECT_NEAR(g.PointX[v.part][v.row][v.col], v.X, 1e-12) << v.part << " " << v.row;
    EXPECT_NEAR(g.PointY[v.part][v.row][v.col], v.Y, 1e-12) << v.part << " " << v.row;
    EXPECT_NEAR(g.PointZ[v.part][v.row][v.col], v.Z, 1e-12) << v.part << " " << v.row;
  }
  // Rows 5 and 6 of every leaf are the same edge row.
  for (int part = 5; part <= 7; ++part) {
    for (int c = 0; c <= 1; ++c) {
      EXPECT_EQ(g.PointY[part][5][c], g.PointY[part][6][c]);
      EXPECT_NE(g.PointY[part][4][c], g.PointY[part][5][c]);
    }
  }
}

}  // namespace
