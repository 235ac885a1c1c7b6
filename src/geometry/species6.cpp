// A flat, wide flower of eight fringed petals (four large ones a quarter turn
// apart, four smaller between them), a winding stem and two leaves. Unlike the
// other species it is offset by + 5/7 in y rather than by - 1/3 in x.
#include "geometry/skeleton.h"

namespace qv {

using namespace skeleton;

namespace {
// The flower is flat: its rows stop at a quarter turn, well before the
// others' pi/2, and there are only 4M + 1 of them.
GridWalk Species6Grid(int M) {
  return GridWalk{4 * M, 2 * M, -kPi / 8, kPi / (8 * M), kPi / (12 * M), kPi / 4};
}

// The spread factor; eps keeps it finite in row 0 and differs between parts.
double Spread(double t, double eps) {
  return sin(2.6 * t) + cos(2.6 * t) * sin(2 * t) / sin(2.6 * t + eps);
}
}  // namespace

void GenerateSpecies6(GeometryStore& store, int M, int F) {
  Species6Geometry& g = store.Species6;
  const ModelFrame frame;
  const GridWalk grid = Species6Grid(M);

  for (int part = 0; part <= 7; ++part) {
    const auto out = WriterFor(g, frame, part);
    const double eps = (part <= 1 || part == 7) ? 0.01 : 0.001;
    WalkGrid(grid, [&](int r, int c, double t, double u) {
      const double c2 = cos(2 * u);
      const double sp = Spread(t, eps);
      double x = 0;
      double y = 0;
      if (part <= 3) {
        double a = (u * c2 * sp) / 1.2;
        switch (part) {
          case 0:
            break;
          case 1:
            a = a + kPi / 2;
            break;
          case 2:
            a = a + kPi;
            break;
          default:
            a = (a + kPi) + kPi / 2;
            break;
        }
        x = 3 * sin(t) * cos(a);
        y = 3 * sin(t) * sin(a) + 5.0 / 7;
      } else {
        // The small petals take the spread angle in one coordinate only, and
        // not always the same one; that irregularity is what frays them.
        const double len = 3 * sin(t / 1.6);
        switch (part) {
          case 4:
            x = len * cos(u * c2 * sp + kPi / 4);
            y = len * sin(kPi / 4 + u) / 1.2 + 5.0 / 7;
            break;
          case 5:
            x = len * cos((kPi / 2 + u) + kPi / 4);
            y = len * sin((u * c2 * sp + kPi / 2) + kPi / 4) / 1.2 + 5.0 / 7;
            break;
          case 6:
            x = len * cos((u * c2 * sp + kPi) + kPi / 4);
            y = len * sin((kPi + u) + kPi / 4) / 1.2 + 5.0 / 7;
            break;
          default:
            x = len * cos(((u * sp + kPi) + kPi / 2) + kPi / 4) * c2;
            y = len * sin(((kPi + u) + kPi / 2) + kPi / 4) / 1.2 + 5.0 / 7;
            break;
        }
      }
      const double z = 3 * cos(t * c2);
      out.Point(r, c, x, y, z);

      if (F == 1) {
        const double grey = sin(t / 3 + 0.5 - u * u);
        out.ColorA(r, c, grey, grey, grey);
        out.ColorB(r, c, grey, grey, grey);
        return;
      }
      const double e1 = t / 3 + 0.3 - u * u / 2;
      const double e2 = 0.3 - u * u / 5;
      const double e3 = t / 3 + 0.5 - u * u / 2;
      out.ColorA(r, c, Blend(sin(e1), F), Blend(sin(e2), F), Blend(sin(e3), F));
      out.ColorB(r, c, sin(t / 2 + 0.5 - u * u) + (1 - sin(e1)) / F,
                 sin(0.1 - u * u) + (1 - sin(e2)) / F,
                 sin(t / 7 + 0.25 - u * u) + (1 - sin(e3)) / F);
    });
  }

  {
    const auto out = WriterFor(g, frame, 8);
    const double rho = 0.016;  // a thinner tube than the other stems
    double s = 0;
    WalkStem(
        StemWalk{5, kPi / 840, 3.0 / 17},
        [&](int r, int c, double w, double A, double h) {
          const double x = sin(s) * (cos(s) * sin(A) * h / cos(A)) + 3 * sin(rho) * cos(w);
          const double y = 3 * sin(rho) * sin(w) + 5.0 / 7;
          out.Point(r, c, x, y, h);
          if (F == 1) {
            const double grey = 0.5 * cos(s / 2 + 0.3);
            out.ColorA(r, c, grey, grey, grey);
            return;
          }
          const double rb = Blend(0.1 * cos(s / 3), F);
          out.ColorA(r, c, rb, Blend(0.5 * cos(s / 2 + 0.3), F), rb);
        },
        [&](const StemStep&) { s = s + kPi / 420; });
  }

  for (int part = 9; part <= 10; ++part) {
    const auto out = WriterFor(g, frame, part);
    WalkGrid(grid, [&](int r, int c, double t, double u) {
      const double c2 = cos(2 * u);
      const double sp = Spread(t, 0.001);
      double x = 0;
      double y = 0;
      double z = 0;
      if (part == 9) {
        x = (3 * sin(t) * cos(((u * sp + kPi) + kPi / 2) + kPi / 4) * c2 + 3.0 / 10) / 2.4;
        y = 3 * sin(((kPi + u) + kPi / 2) + kPi / 4) * sin(t / 1.6) / 2.8 + 5.0 / 7;
        z = 3 * cos(t * c2) + 0.6 * 3;
      } else {
        x = (3 * sin(t) * cos(u * sp + kPi) * c2 - 3.0 / 6) / 2.4 + (5.0 / 7) / 1.4;
        y = 3 * sin(kPi + u) * sin(t / 1.6) / 2.4 + 5.0 / 7;
        z = 3 * cos(t * c2) + 1.5 * 3;
      }
      out.Point(r, c, x, y, z);

      const double e5 = t / 3 + 0.3 - u * u;
      if (F == 1) {
        const double grey = sin(e5);
        out.ColorA(r, c, grey, grey, grey);
        return;
      }
      const double e4 = t / 5 - u * u;
      const double rb = Blend(sin(e4), F);
      out.ColorA(r, c, rb, Blend(sin(e5), F), rb);
    });
  }
}

}  // namespace qv
