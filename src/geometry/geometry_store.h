#pragma once
#include <cstddef>

namespace qv {

inline constexpr int kGeometryRows = 40;
inline constexpr int kMinMeshDetail = 1;
inline constexpr int kMaxMeshDetail = 5;
inline constexpr int kMinFrame = 1;
inline constexpr int kMaxFrame = 9;

// Values read back from a store are taken as they stand by the scene, but the
// grids only fit the arrays (and the angle steps and colour blend only stay
// finite) for these ranges, so generators and renderers see clamped copies.
int ClampMeshDetail(int mesh_detail);
int ClampFrame(int frame);

// The nine arrays of one species, in their fixed order. Element (part, row,
// column) lies at part * 40 * C + row * C + column.
enum Channel : int {
  kPointX,
  kPointY,
  kPointZ,
  kColorR,
  kColorG,
  kColorB,
  kColorR2,
  kColorG2,
  kColorB2,
  kChannelCount
};

template <int Parts, int Cols>
struct SpeciesGeometry {
  static constexpr int kParts = Parts;
  static constexpr int kRows = kGeometryRows;
  static constexpr int kCols = Cols;
  static constexpr std::size_t kSize = static_cast<std::size_t>(Parts) * kRows * Cols;

  double PointX[Parts][kRows][Cols];
  double PointY[Parts][kRows][Cols];
  double PointZ[Parts][kRows][Cols];
  double ColorR[Parts][kRows][Cols];
  double ColorG[Parts][kRows][Cols];
  double ColorB[Parts][kRows][Cols];
  double ColorR2[Parts][kRows][Cols];
  double ColorG2[Parts][kRows][Cols];
  double ColorB2[Parts][kRows][Cols];
};

// Read-only view of one species' block, independent of its dimensions.
struct SpeciesView {
  int parts = 0;
  int cols = 0;
  const double* channel[kChannelCount] = {};

  std::size_t Index(int part, int row, int col) const {
    return (static_cast<std::size_t>(part) * kGeometryRows + static_cast<std::size_t>(row)) *
               static_cast<std::size_t>(cols) +
           static_cast<std::size_t>(col);
  }
  double At(Channel c, int part, int row, int col) const {
    return channel[c][Index(part, row, col)];
  }
};

using Species1Geometry = SpeciesGeometry<8, 13>;
using Species2Geometry = SpeciesGeometry<4, 51>;
using Species3Geometry = SpeciesGeometry<9, 13>;
using Species4Geometry = SpeciesGeometry<9, 25>;
using Species5Geometry = SpeciesGeometry<9, 13>;
using Species6Geometry = SpeciesGeometry<11, 13>;

// All six blocks. About 2.6 MB: make one per process (zero-initialised) and
// pass it by reference.
struct GeometryStore {
  Species1Geometry Species1;
  Species2Geometry Species2;
  Species3Geometry Species3;
  Species4Geometry Species4;
  Species5Geometry Species5;
  Species6Geometry Species6;

  // species 1..6
  SpeciesView View(int species) const;
};

// Each generator overwrites the filled ranges of its own block for mesh
// detail M and colour divisor F (both already in range).
void GenerateSpecies1(GeometryStore& store, int M, int F);
void GenerateSpecies2(GeometryStore& store, int M, int F);
void GenerateSpecies3(GeometryStore& store, int M, int F);
void GenerateSpecies4(GeometryStore& store, int M, int F);
void GenerateSpecies5(GeometryStore& store, int M, int F);
void GenerateSpecies6(GeometryStore& store, int M, int F);

// Species 1 to 6 in order, with M and F clamped to their ranges first.
void RegenerateAllSpecies(GeometryStore& store, int mesh_detail, int frame);

// Filled ranges of a part for mesh detail M (last row, last column;
// inclusive), as the generators write them. Used by the dumps and tests.
struct PartRange {
  int last_row;
  int last_col;
  bool has_set_b;  // petal parts carry colour set B
};
int SpeciesPartCount(int species);
PartRange FilledRange(int species, int part, int M);

}  // namespace qv
