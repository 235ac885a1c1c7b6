#pragma once
// Row and column ranges of every species' part groups in each primitive mode.

namespace qv {

inline constexpr int kPointMode = 0;
inline constexpr int kSparkleMode = 1;
inline constexpr int kQuadMode = 2;
inline constexpr int kFadingTriangleMode = 3;

enum class PartGroup { kPetal, kStem, kLeaf };

struct SpeciesGroups {
  int petal_parts;  // parts 0 .. petal_parts - 1; the stem follows, then leaves
  PartGroup GroupOf(int part) const {
    if (part < petal_parts) return PartGroup::kPetal;
    return part == petal_parts ? PartGroup::kStem : PartGroup::kLeaf;
  }
};
SpeciesGroups GroupsOf(int species);

// Inclusive; in quad and fading-triangle modes the lower corners of cells.
struct DrawRange {
  int first_row, last_row, first_col, last_col;
};

// The range of the group, held inside what the generator fills for M: a
// point or sparkle never lies beyond the last filled row or column, and a
// cell corner never on it (a cell also reads the row and column after it).
DrawRange RangeFor(int species, PartGroup group, int mode, int M, int part);

}  // namespace qv
