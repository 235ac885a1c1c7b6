#include "geometry/geometry_store.h"

#include <algorithm>
#include <iterator>

namespace qv {

int ClampMeshDetail(int mesh_detail) {
  return std::clamp(mesh_detail, kMinMeshDetail, kMaxMeshDetail);
}
int GeneratorFrame(int frame) { return frame == 0 ? 1 : frame; }

namespace {
template <int P, int C>
SpeciesView ViewOf(const SpeciesGeometry<P, C>& g) {
  SpeciesView v;
  v.parts = P;
  v.cols = C;
  const double* channels[kChannelCount] = {
      &g.PointX[0][0][0], &g.PointY[0][0][0],  &g.PointZ[0][0][0],  &g.ColorR[0][0][0],
      &g.ColorG[0][0][0], &g.ColorB[0][0][0],  &g.ColorR2[0][0][0], &g.ColorG2[0][0][0],
      &g.ColorB2[0][0][0]};
  std::copy(std::begin(channels), std::end(channels), v.channel);
  return v;
}
}  // namespace

SpeciesView GeometryStore::View(int species) const {
  switch (species) {
    case 1: return ViewOf(Species1);
    case 2: return ViewOf(Species2);
    case 3: return ViewOf(Species3);
    case 4: return ViewOf(Species4);
    case 5: return ViewOf(Species5);
    case 6: return ViewOf(Species6);
    default: return SpeciesView{};
  }
}

void RegenerateAllSpecies(GeometryStore& store, int mesh_detail, int frame) {
  const int M = ClampMeshDetail(mesh_detail);
  const int F = GeneratorFrame(frame);
  for (SpeciesGenerator generate : kSpeciesGenerators) generate(store, M, F);
}

int SpeciesPartCount(int species) {
  static constexpr int kParts[] = {0, 8, 4, 9, 9, 9, 11};
  return species >= 1 && species <= 6 ? kParts[species] : 0;
}

PartRange FilledRange(int species, int part, int M) {
  // Petal parts, stem part, leaf parts; species 6 has 4M + 1 rows.
  struct Layout {
    int petals;     // parts 0 .. petals - 1
    int petal_cols; // last petal column as a multiple of M, plus an offset
    int petal_off;
    int stem_cols;  // last stem column
    int leaf_cols;  // last leaf column as a multiple of M
    int rows;       // last row as a multiple of M
  };
  static constexpr Layout kLayouts[] = {
      {0, 0, 0, 0, 0, 0},  {4, 2, 0, 7, 1, 6}, {1, 8, 1, 5, 1, 6}, {6, 2, 0, 5, 2, 6},
      {6, 3, 0, 5, 2, 6},  {6, 2, 0, 5, 2, 6}, {8, 2, 0, 5, 2, 4}};
  if (species < 1 || species > 6 || part < 0 || part >= SpeciesPartCount(species)) {
    return PartRange{-1, -1, false};
  }
  const Layout& l = kLayouts[species];
  if (part < l.petals) return PartRange{l.rows * M, l.petal_cols * M + l.petal_off, true};
  if (part == l.petals) return PartRange{39, l.stem_cols, false};
  return PartRange{l.rows * M, l.leaf_cols * M, false};
}

}  // namespace qv
