// One cup-shaped blossom with a rippled rim, a stem and two leaves.
#include "geometry/skeleton.h"

namespace qv {

using namespace skeleton;

void GenerateSpecies2(GeometryStore& store, int M, int F) {
  Species2Geometry& g = store.Species2;
  const ModelFrame frame;

  {
    // The cup runs one column past the full turn; the rim phase keeps growing
    // there, so the ripple does not close up on itself.
    const GridWalk cup{6 * M, 8 * M + 1, 0, kPi / (4 * M), kPi / (12 * M), kPi / 2};
    const auto out = WriterFor(g, frame, 0);
    double s = 0;
    WalkGrid(
        cup,
        [&](int r, int c, double t, double u) {
          const double q = cos(1.3 * t) + sin(1.3 * t);
          const double x = 3 * cos(u) * sin(t / 1.5) / 1.4 - 1.0 / 3;
          const double y = 3 * sin(u) * sin(t / 1.5) / 1.4;
          const double z = 3 * sin(2.27 * s) / 8 + 3 * cos(t * q / 1.2);
          out.Point(r, c, x, y, z);

          if (F == 1) {
            const double grey = sin(t / 5 + kPi / 6);
            out.ColorA(r, c, grey, grey, grey);
            out.ColorB(r, c, grey, grey, grey);
            return;
          }
          const double e1 = t / 5 + kPi / 5;
          const double e2 = t / 4 + kPi / 7;
          const double rb = Blend(sin(e1), F);
          out.ColorA(r, c, rb, Blend(sin(e2), F), rb);
          out.ColorB(r, c, sin(t / 5 + kPi / 3) + (1 - sin(e1)) / F,
                     sin(t / 7 + kPi / 5) + (1 - sin(e2)) / F,
                     sin(t / 3 + kPi / 15) + (1 - sin(e1)) / F);
        },
        [&](const GridStep& step) {
          s = s + 0.7 / M;
          if (step.row_end) s = 0;
        });
  }

  {
    const auto out = WriterFor(g, frame, 1);
    WalkStem(StemWalk{5, kPi / 40, 3.0 / 16}, [&](int r, int c, double w, double A, double h) {
      const double x = sin(A) * h / 7 + 3 * sin(kTubeAngle) * cos(w) - 1.0 / 3;
      const double y = 3 * sin(kTubeAngle) * sin(w);
      out.Point(r, c, x, y, h);
      if (F == 1) {
        // The grey of this stem does not follow the bend: one shade throughout.
        const double grey = sin(kTubeAngle / 5 + kPi / 6);
        out.ColorA(r, c, grey, grey, grey);
        return;
      }
      const double rb = Blend(sin(A / 25), F);
      out.ColorA(r, c, rb, Blend(cos(A / 10 + kPi / 3), F), rb);
    });
  }

  const GridWalk leaf{6 * M, M, -kPi / 8, kPi / (4 * M), kPi / (12 * M), kPi / 2};
  for (int part = 2; part <= 3; ++part) {
    const auto out = WriterFor(g, frame, part);
    WalkGrid(leaf, [&](int r, int c, double t, double u) {
      double x = 0;
      double y = 0;
      double z = 0;
      if (part == 2) {
        x = 3 * cos(t) * sin(t) * cos(u) / 2 + 0.6 - 3 * sin(t) / 1.4 - 1.0 / 3;
        y = 3 * cos(t) * sin(t) * sin(u) / 2;
        z = cos(2 * t) + 4.2;
      } else {
        const double th = u + kPi;
        x = 3 * sin(t) / 1.4 + 3 * cos(t) * sin(t) * cos(th) / 2 + 1 - 1.0 / 3;
        y = 3 * cos(t) * sin(t) * sin(th) / 2;
        z = cos(2 * t) + 6.6;
      }
      out.Point(r, c, x, y, z);

      const double e3 = t / 3 - u * u;
      const double e4 = t / 2 + 0.3 - u * u;
      if (F == 1) {
        const double grey = sin(e4);
        out.ColorA(r, c, grey, grey, grey);
        return;
      }
      const double rb = Blend(0.3 * sin(e3), F);
      out.ColorA(r, c, rb, Blend(0.7 * sin(e4), F), rb);
    });
  }
}

}  // namespace qv
