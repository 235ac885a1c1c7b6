#include "render/ranges.h"

#include <algorithm>
#include <cmath>

#include "geometry/geometry_store.h"

namespace qv {

namespace {

// last = m * M + off
struct Bound {
  int first, m, off;
};
struct ModeRange {
  Bound row, col;
};
struct GroupTable {
  ModeRange mode[4];  // point, sparkle, quad, fading triangles
};
struct SpeciesTable {
  GroupTable petal, stem, leaf;
};

constexpr Bound B(int first, int m, int off) { return Bound{first, m, off}; }
// A grid group of 6M + 1 (or 4M + 1) rows: nodes to the last row, cells one short.
constexpr GroupTable Grid(int rows_m, Bound point_col, Bound sparkle_col, Bound quad_col,
                          Bound tri_col) {
  return GroupTable{{{B(0, rows_m, 0), point_col},
                     {B(0, rows_m, -1), sparkle_col},
                     {B(0, rows_m, -1), quad_col},
                     {B(0, rows_m, -1), tri_col}}};
}
constexpr GroupTable Stem(int point_last_col, int cell_last_col, int sparkle_first_row = 0,
                          int quad_first_row = 0, int tri_first_row = 0) {
  return GroupTable{{{B(0, 0, 39), B(0, 0, point_last_col)},
                     {B(sparkle_first_row, 0, 38), B(0, 0, cell_last_col)},
                     {B(quad_first_row, 0, 38), B(0, 0, cell_last_col)},
                     {B(tri_first_row, 0, 38), B(0, 0, cell_last_col)}}};
}

constexpr SpeciesTable kTables[6] = {
    // Species 1 (leaf quad rows are computed, see RangeFor).
    {Grid(6, B(0, 2, 0), B(0, 2, -1), B(0, 2, -1), B(0, 2, -1)), Stem(7, 6),
     Grid(6, B(0, 1, 0), B(0, 1, -1), B(0, 1, -1), B(0, 1, -1))},
    // Species 2: the cup's quads reach its extra column 8M + 1.
    {Grid(6, B(0, 8, 0), B(0, 8, -1), B(0, 8, 0), B(0, 8, -1)), Stem(4, 4, 2, 1, 2),
     Grid(6, B(0, 1, 0), B(0, 1, -1), B(0, 1, -1), B(0, 1, -1))},
    // Species 3
    {Grid(6, B(0, 2, 0), B(0, 2, -1), B(0, 2, -1), B(0, 2, -1)), Stem(5, 4),
     Grid(6, B(0, 1, 2), B(0, 1, 1), B(0, 2, -1), B(0, 1, 1))},
    // Species 4
    {Grid(6, B(0, 3, 0), B(0, 3, -1), B(0, 3, -1), B(0, 3, -1)), Stem(5, 4),
     Grid(6, B(0, 1, 2), B(0, 1, 1), B(0, 1, 1), B(0, 1, 1))},
    // Species 5
    {Grid(6, B(0, 2, 0), B(0, 2, -1), B(0, 2, -1), B(0, 2, -1)), Stem(5, 4),
     Grid(6, B(0, 2, 0), B(0, 2, -1), B(0, 2, -1), B(0, 2, -1))},
    // Species 6: 4M + 1 rows.
    {Grid(4, B(0, 2, 0), B(0, 2, -1), B(0, 2, -1), B(0, 2, -1)), Stem(5, 4),
     Grid(4, B(0, 2, 0), B(0, 2, -1), B(0, 2, -1), B(0, 2, -1))},
};

int Last(const Bound& b, int M) { return b.m * M + b.off; }

}  // namespace

SpeciesGroups GroupsOf(int species) {
  static constexpr int kPetals[] = {0, 4, 1, 6, 6, 6, 8};
  return SpeciesGroups{species >= 1 && species <= 6 ? kPetals[species] : 0};
}

DrawRange RangeFor(int species, PartGroup group, int mode, int M, int part) {
  if (species < 1 || species > 6 || mode < 0 || mode > 3) return DrawRange{0, -1, 0, -1};
  const SpeciesTable& table = kTables[species - 1];
  const GroupTable& g = group == PartGroup::kPetal  ? table.petal
                        : group == PartGroup::kStem ? table.stem
                                                    : table.leaf;
  const ModeRange& r = g.mode[mode];
  DrawRange out{r.row.first, Last(r.row, M), r.col.first, Last(r.col, M)};
  if (species == 1 && group == PartGroup::kLeaf && mode == kQuadMode) {
    // Formed in floating point, rounded to nearest with ties to even.
    out.last_row = static_cast<int>(std::nearbyint(12.0 * M / 2.5 - 1));
  }
  const PartRange filled = FilledRange(species, part, M);
  const int reach = mode == kQuadMode || mode == kFadingTriangleMode ? 1 : 0;
  out.last_row = std::min(out.last_row, filled.last_row - reach);
  out.last_col = std::min(out.last_col, filled.last_col - reach);
  return out;
}

}  // namespace qv
