// Prints one 64-bit FNV-1a digest of every filled geometry cell for mesh
// details 1..5 and colour divisors 1..9. The same digest on two targets
// means they generate the same bits.

#include <cstdio>
#include <cstring>
#include <memory>

#include "geometry/geometry_store.h"

int main() {
  using namespace qv;
  auto store = std::make_unique<GeometryStore>();
  unsigned long long hash = 1469598103934665603ULL;
  long cells = 0;
  for (int M = kMinMeshDetail; M <= kMaxMeshDetail; ++M) {
    for (int F = kMinFrame; F <= kMaxFrame; ++F) {
      RegenerateAllSpecies(*store, M, F);
      for (int species = 1; species <= 6; ++species) {
        const SpeciesView v = store->View(species);
        for (int part = 0; part < v.parts; ++part) {
          const PartRange r = FilledRange(species, part, M);
          for (int row = 0; row <= r.last_row; ++row) {
            for (int col = 0; col <= r.last_col; ++col) {
              for (int c = 0; c < kChannelCount; ++c) {
                const double value = v.At(static_cast<Channel>(c), part, row, col);
                unsigned char bytes[sizeof value];
                std::memcpy(bytes, &value, sizeof value);
                for (unsigned char b : bytes) {
                  hash ^= b;
                  hash *= 1099511628211ULL;
                }
              }
              ++cells;
            }
          }
        }
      }
    }
  }
  std::printf("%ld %016llx\n", cells, hash);
  return 0;
}
