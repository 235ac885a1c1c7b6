// `geometry` as other tools read it: the header, one line per filled cell in
// ascending (species, part, row, column) order, numbers that read back to the
// same doubles.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "tool_process.h"

namespace qv::render_tool_test {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr const char* kHeader = "species,part,row,col,x,y,z,r,g,b,r2,g2,b2";

struct ExpectedPart {
  int rows, cols;
  bool petal;
};

// The store's filled ranges, written out from the table of the geometry
// store (rows x columns per part, counted from 1), not taken from the code.
std::vector<ExpectedPart> ExpectedLayout(int species, int M) {
  std::vector<ExpectedPart> parts;
  auto add = [&parts](int count, int rows, int cols, bool petal) {
    for (int i = 0; i < count; ++i) parts.push_back({rows, cols, petal});
  };
  const int grid = species == 6 ? 4 * M + 1 : 6 * M + 1;
  switch (species) {
    case 1:
      add(4, grid, 2 * M + 1, true);
      add(1, 40, 8, false);
      add(3, grid, M + 1, false);
      break;
    case 2:
      add(1, grid, 8 * M + 2, true);
      add(1, 40, 6, false);
      add(2, grid, M + 1, false);
      break;
    case 3:
    case 5:
      add(6, grid, 2 * M + 1, true);
      add(1, 40, 6, false);
      add(2, grid, 2 * M + 1, false);
      break;
    case 4:
      add(6, grid, 3 * M + 1, true);
      add(1, 40, 6, false);
      add(2, grid, 2 * M + 1, false);
      break;
    case 6:
      add(8, grid, 2 * M + 1, true);
      add(1, 40, 6, false);
      add(2, grid, 2 * M + 1, false);
      break;
  }
  return parts;
}

struct Cell {
  int species, part, row, col;
  double v[9];  // x y z r g b r2 g2 b2
};

struct Dump {
  std::vector<Cell> cells;
  std::map<std::tuple<int, int, int, int>, std::size_t> index;
  const Cell& At(int species, int part, int row, int col) const {
    return cells.at(index.at({species, part, row, col}));
  }
};

// Parses and checks the text format on the way: thirteen fields, integer
// keys, and every number exactly what %.17g prints for the double it reads
// back as (so no digit was lost or added).
Dump ParseDump(const std::string& text) {
  Dump dump;
  const std::vector<std::string> lines = SplitLines(text);
  EXPECT_FALSE(lines.empty());
  if (lines.empty()) return dump;
  EXPECT_EQ(lines[0], kHeader);
  EXPECT_EQ(text.back(), '\n');
  for (std::size_t n = 1; n < lines.size(); ++n) {
    const std::vector<std::string> f = Split(lines[n], ',');
    if (f.size() != 13) {
      ADD_FAILURE() << "line " << n << " has " << f.size() << " fields: " << lines[n];
      continue;
    }
    Cell c{};
    int* keys[4] = {&c.species, &c.part, &c.row, &c.col};
    for (int k = 0; k < 4; ++k) {
      char* end = nullptr;
      *keys[k] = static_cast<int>(std::strtol(f[k].c_str(), &end, 10));
      EXPECT_TRUE(!f[k].empty() && *end == '\0') << lines[n];
    }
    for (int k = 0; k < 9; ++k) {
      const std::string& field = f[4 + k];
      char* end = nullptr;
      c.v[k] = std::strtod(field.c_str(), &end);
      char again[40];
      std::snprintf(again, sizeof again, "%.17g", c.v[k]);
      if (field.empty() || *end != '\0' || field != again || !std::isfinite(c.v[k])) {
        ADD_FAILURE() << "field " << 4 + k << " '" << field << "' of line " << n;
      }
    }
    dump.index[{c.species, c.part, c.row, c.col}] = dump.cells.size();
    dump.cells.push_back(c);
  }
  return dump;
}

Dump Geometry(int M, int F) {
  const ToolResult r =
      RunTool({"geometry", "--mesh-detail", std::to_string(M), "--color", std::to_string(F)});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  return ParseDump(r.out);
}

// Walks the dump against the expected layout: the same cells, in the same
// order, nothing missing and nothing extra.
void ExpectLayout(const Dump& dump, int M, std::map<int, std::size_t>* per_species) {
  std::size_t n = 0;
  for (int species = 1; species <= 6; ++species) {
    std::size_t count = 0;
    const std::vector<ExpectedPart> layout = ExpectedLayout(species, M);
    for (int part = 0; part < static_cast<int>(layout.size()); ++part) {
      for (int row = 0; row < layout[part].rows; ++row) {
        for (int col = 0; col < layout[part].cols; ++col, ++n, ++count) {
          ASSERT_LT(n, dump.cells.size()) << "dump ends before species " << species << " part "
                                          << part << " row " << row << " col " << col;
          const Cell& c = dump.cells[n];
          ASSERT_TRUE(c.species == species && c.part == part && c.row == row && c.col == col)
              << "cell " << n << " is " << c.species << "," << c.part << "," << c.row << ","
              << c.col << "; expected " << species << "," << part << "," << row << "," << col;
        }
      }
    }
    (*per_species)[species] = count;
  }
  EXPECT_EQ(n, dump.cells.size()) << "cells beyond the filled ranges";
}

TEST(GeometryDump, ListsExactlyTheFilledCellsAtEveryMeshDetail) {
  // Totals by hand for M = 1 (species 1: 4*7*3 + 40*8 + 3*7*2 = 446;
  // 2: 70 + 240 + 28; 3 and 5: 126 + 240 + 42; 4: 168 + 240 + 42;
  // 6: 120 + 240 + 30), as a check on the layout table itself.
  const std::map<int, std::size_t> m1 = {{1, 446}, {2, 338}, {3, 408},
                                         {4, 450}, {5, 408}, {6, 390}};
  for (int M = 1; M <= 5; ++M) {
    SCOPED_TRACE("mesh detail " + std::to_string(M));
    const Dump dump = Geometry(M, 7);
    std::map<int, std::size_t> counts;
    ExpectLayout(dump, M, &counts);
    if (M == 1) {
      EXPECT_EQ(counts, m1);
    }
  }
}

TEST(GeometryDump, SetBIsZeroOffThePetalsAndIsAnotherColouringOnThem) {
  const Dump dump = Geometry(2, 7);
  for (const Cell& c : dump.cells) {
    const std::vector<ExpectedPart> layout = ExpectedLayout(c.species, 2);
    ASSERT_LT(c.part, static_cast<int>(layout.size()));
    if (!layout[c.part].petal) {
      EXPECT_TRUE(c.v[6] == 0 && c.v[7] == 0 && c.v[8] == 0)
          << "set B on species " << c.species << " part " << c.part;
    }
  }
  // Species 1 petals: set B is set A with green and blue exchanged. A dump
  // that mixed up its columns would break this.
  for (int part = 0; part < 4; ++part) {
    for (int row = 0; row <= 12; ++row) {
      for (int col = 0; col <= 4; ++col) {
        const Cell& c = dump.At(1, part, row, col);
        EXPECT_EQ(c.v[6], c.v[3]);
        EXPECT_EQ(c.v[7], c.v[5]);
        EXPECT_EQ(c.v[8], c.v[4]);
      }
    }
  }
}

TEST(GeometryDump, ColumnsCarryPositionsAndColoursWorkedOutByHand) {
  const Dump dump = Geometry(1, 7);
  // Row 0 of a species 1 petal is the flower's centre, raw (-1/3, 0, 3),
  // that is x = 0, y = 10 - 3, z = -1/3.
  for (int part = 0; part < 4; ++part) {
    const Cell& c = dump.At(1, part, 0, 1);
    EXPECT_NEAR(c.v[0], 0, 1e-15);
    EXPECT_NEAR(c.v[1], 7, 1e-14);
    EXPECT_NEAR(c.v[2], -1.0 / 3, 1e-14);
  }
  // Stem rows go down from y = 7 in steps of 3/16.
  for (int row = 0; row < 40; ++row) {
    EXPECT_NEAR(dump.At(1, 4, row, 3).v[1], 7 - 3.0 * row / 16, 1e-12) << "row " << row;
  }
  // Petal node (0, 0): t = 0, u = -pi/4, w1 = pi/5 - u^2/5, F = 7.
  const double u = -kPi / 4;
  const double w1 = kPi / 5 - u * u / 5;
  const double w2 = kPi / 7 - u * u / 5;
  const double red = std::cos(u) + std::sin(w1) + (1 - std::sin(w1) + std::cos(u)) / 7;
  const double green = std::sin(w2) + (1 - std::sin(w2)) / 7;
  const Cell& c = dump.At(1, 0, 0, 0);
  EXPECT_NEAR(c.v[3], red, 1e-14);
  EXPECT_NEAR(c.v[4], green, 1e-14);
}

TEST(GeometryDump, ColourOneIsGreyEverywhere) {
  for (int M : {1, 3, 5}) {
    SCOPED_TRACE("mesh detail " + std::to_string(M));
    const Dump dump = Geometry(M, 1);
    std::map<int, std::size_t> counts;
    ExpectLayout(dump, M, &counts);
    for (const Cell& c : dump.cells) {
      const bool petal = ExpectedLayout(c.species, M)[c.part].petal;
      ASSERT_TRUE(c.v[3] == c.v[4] && c.v[4] == c.v[5])
          << c.species << "," << c.part << "," << c.row << "," << c.col;
      if (petal) {
        // One grey term per vertex for both colourings.
        ASSERT_TRUE(c.v[6] == c.v[3] && c.v[7] == c.v[3] && c.v[8] == c.v[3])
            << c.species << "," << c.part << "," << c.row << "," << c.col;
      }
    }
    // Species 2's stem takes one constant shade, sin(rho/5 + pi/6), rho = 0.02.
    const double stem_grey = std::sin(0.02 / 5 + kPi / 6);
    for (int row = 0; row < 40; ++row) {
      for (int col = 0; col < 6; ++col) {
        EXPECT_NEAR(dump.At(2, 1, row, col).v[3], stem_grey, 1e-15);
      }
    }
  }
  // And the rule is not met by accident at other colour values.
  const Dump coloured = Geometry(1, 7);
  int unequal = 0;
  for (const Cell& c : coloured.cells) unequal += c.v[3] != c.v[4];
  EXPECT_GT(unequal, 1000);
}

TEST(GeometryDump, OutOfRangeSettingsAreHeldAwayFromTheArraysAndTheDivision) {
  // As a hand-edited settings file could hold: a mesh detail of 0 would divide
  // by zero and a large one overrun the arrays, so it is held to 1..5; a colour
  // divisor of 0 would divide by zero and is held to 1.
  const ToolResult low = RunTool({"geometry", "--mesh-detail", "0", "--color", "0"});
  const ToolResult one = RunTool({"geometry", "--mesh-detail", "1", "--color", "1"});
  ASSERT_EQ(low.exit_code, 0) << low.err;
  EXPECT_EQ(low.out, one.out);
  const ToolResult high = RunTool({"geometry", "--mesh-detail", "40", "--color", "9"});
  const ToolResult five = RunTool({"geometry", "--mesh-detail", "5", "--color", "9"});
  ASSERT_EQ(high.exit_code, 0) << high.err;
  EXPECT_EQ(high.out, five.out);
}

TEST(GeometryDump, ColourDivisorOutsideTheSliderIsUsedAsStored) {
  // Every colour component has the form d + e / F (mostly c + (1 - c) / F).
  // Two in-range divisors fix d and e for each component; a stored 12 or -3
  // must then give exactly that form at 12 and -3, not the value of 9 or 1.
  const Dump two = Geometry(2, 2);
  const Dump four = Geometry(2, 4);
  const Dump twelve = Geometry(2, 12);
  const Dump negative = Geometry(2, -3);
  ASSERT_EQ(twelve.cells.size(), two.cells.size());
  ASSERT_EQ(negative.cells.size(), two.cells.size());
  int coloured = 0;
  for (std::size_t i = 0; i < two.cells.size(); ++i) {
    const Cell& a = two.cells[i];
    for (int ch = 0; ch < 3; ++ch) {
      ASSERT_EQ(twelve.cells[i].v[ch], a.v[ch]) << "points never depend on the colour";
    }
    for (int ch = 3; ch < 9; ++ch) {
      const double e = (a.v[ch] - four.cells[i].v[ch]) / (1.0 / 2 - 1.0 / 4);
      const double d = a.v[ch] - e / 2;
      coloured += e != 0;
      EXPECT_NEAR(twelve.cells[i].v[ch], d + e / 12, 1e-12)
          << "species " << a.species << " part " << a.part << " (" << a.row << ", " << a.col
          << ") channel " << ch;
      EXPECT_NEAR(negative.cells[i].v[ch], d + e / -3, 1e-12)
          << "species " << a.species << " part " << a.part << " (" << a.row << ", " << a.col
          << ") channel " << ch;
    }
  }
  EXPECT_GT(coloured, 10000);
}

TEST(GeometryDump, EveryColourDivisorListsTheSameCells) {
  for (int F = 1; F <= 9; ++F) {
    SCOPED_TRACE("colour " + std::to_string(F));
    const Dump dump = Geometry(1, F);
    std::map<int, std::size_t> counts;
    ExpectLayout(dump, 1, &counts);
  }
}

}  // namespace
}  // namespace qv::render_tool_test
