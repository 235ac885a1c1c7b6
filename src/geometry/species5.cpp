// A star of six wavy petals 60 degrees apart, a winding stem and two leaves.
#include "geometry/skeleton.h"

namespace qv {

using namespace skeleton;

void GenerateSpecies5(GeometryStore& store, int M, int F) {
  Species5Geometry& g = store.Species5;
  const ModelFrame frame;

  const GridWalk petal{6 * M, 2 * M, -kPi / 8, kPi / (8 * M), kPi / (12 * M), kPi / 2};
  for (int part = 0; part <= 5; ++part) {
    const auto out = WriterFor(g, frame, part);
    WalkGrid(petal, [&](int r, int c, double t, double u) {
      const double p = cos(t) + sin(t);
      const double sp = sin(2 * t) + cos(1.5 * t) * sin(2 * t) / sin(1.2 * t + 0.001);
      double a = cos(t / 1.2) * (1.5 * u) * sp;
      // Directions are added step by step, so parts 4 and 5 round like
      // (a + pi) + pi/3, not like a + 4 pi/3.
      switch (part) {
        case 0:
          break;
        case 1:
          a = a + kPi / 3;
          break;
        case 2:
          a = a + 2 * kPi / 3;
          break;
        case 3:
          a = a + kPi;
          break;
        case 4:
          a = (a + kPi) + kPi / 3;
          break;
        default:
          a = (a + kPi) + 2 * kPi / 3;
          break;
      }
      // cos t * u / 2 makes one side of each petal longer than the other.
      const double b = cos(t) * u / 2 + (3 - p);
      const double x = cos(t / 2) * sin(t) * cos(a) * b - 1.0 / 3;
      const double y = cos(t / 2) * sin(a) * sin(t) * b;
      const double z = 3 * cos(t * p / 1.2);
      out.Point(r, c, x, y, z);

      const double e1 = t / 2 + 0.3 - 2 * u * u;
      if (F == 1) {
        const double grey = sin(e1);
        out.ColorA(r, c, grey, grey, grey);
        out.ColorB(r, c, grey, grey, grey);
        return;
      }
      const double e2 = t / 9 + 0.1 - 2 * u * u;
      const double e3 = t / 15 + 0.3 - 2 * u * u;
      const double e4 = t / 5 + 0.3 - 2 * u * u;
      const double red = Blend(sin(e1), F);
      const double green = Blend(sin(e2), F);
      out.ColorA(r, c, red, green, Blend(sin(e3), F));
      // Set B's green mixes two angles on purpose: its term and its fade differ.
      out.ColorB(r, c, red, sin(e4) + (1 - sin(e3)) / F, green);
    });
  }

  {
    const auto out = WriterFor(g, frame, 6);
    // The winding phase runs over the whole stem, across row ends.
    double s = 0;
    WalkStem(
        StemWalk{5, kPi / 840, 3.0 / 18},
        [&](int r, int c, double w, double A, double h) {
          const double x =
              cos(s) * (sin(s) * sin(A) * h / cos(A)) + 3 * sin(kTubeAngle) * cos(w) - 1.0 / 3;
          const double y = 3 * sin(kTubeAngle) * sin(w);
          out.Point(r, c, x, y, h);
          if (F == 1) {
            const double grey = 0.5 * cos(s / 2 + 0.1);
            out.ColorA(r, c, grey, grey, grey);
            return;
          }
          const double rb = Blend(0.1 * cos(s), F);
          out.ColorA(r, c, rb, Blend(0.5 * cos(s / 2 + 0.1), F), rb);
        },
        [&](const StemStep&) { s = s + kPi / 340; });
  }

  const GridWalk leaf{6 * M, 2 * M, -kPi / 8, kPi / (8 * M), kPi / (12 * M), kPi / 2};
  for (int part = 7; part <= 8; ++part) {
    const auto out = WriterFor(g, frame, part);
    // The curl phase grows row by row and drops back to 0 once the leaf has
    // reached its cap, so the edge rows lie flat.
    double s = 0;
    WalkGrid(
        leaf,
        [&](int r, int c, double t, double u) {
          double x = 0;
          double y = 0;
          double z = 0;
          if (part == 7) {
            x = cos(s) * sin(2 * t) * 3 * cos(kPi / 2 + u) / 2.5 - 0.2;
            y = sin(t) / cos(t / 4) + 3 * sin(kPi / 2 + u) * sin(t / 50);
            z = 3 * cos(s) * cos(t) + 1.2 * 3;
          } else {
            x = cos(s) * sin(2 * t) * 3 * cos((kPi + u) + kPi / 2) / 2.7 + 3.0 / 10 - 0.6;
            y = 3 * sin((kPi + u) + kPi / 2) * sin(t / 3) / 5 - 1.2 * sin(t) / cos(t / 4);
            z = 3 * cos(s) * cos(t) + 1.6 * 3;
          }
          out.Point(r, c, x, y, z);

          const double e6 = t / 3 + 0.3 - 2 * u * u;
          if (F == 1) {
            const double grey = sin(e6);
            out.ColorA(r, c, grey, grey, grey);
            return;
          }
          const double e5 = t / 5 - 2 * u * u;
          const double rb = Blend(sin(e5), F);
          out.ColorA(r, c, rb, Blend(sin(e6), F), rb);
        },
        [&](const GridStep& step) {
          if (step.row_end) s = s + kPi / 60;
          if (step.capped) s = 0;
        });
  }
}

}  // namespace qv
