// Six spiky petals in three opposite pairs of decreasing size, a leaning stem
// and two leaves.
#include "geometry/skeleton.h"

namespace qv {

using namespace skeleton;

void GenerateSpecies4(GeometryStore& store, int M, int F) {
  Species4Geometry& g = store.Species4;
  const ModelFrame frame;

  // Start angles written as the exact doubles wanted: the second lies one unit
  // in the last place beyond -kPi / 3, and every column of parts 2 to 5
  // inherits that last bit through the running sum.
  const double u0_large = -0.9817477042468103;
  const double u0_small = -1.0471975511965979;
  for (int part = 0; part <= 5; ++part) {
    const GridWalk petal{6 * M,         3 * M,          part <= 1 ? u0_large : u0_small,
                         kPi / (4 * M), kPi / (12 * M), kPi / 2};
    const auto out = WriterFor(g, frame, part);
    WalkGrid(petal, [&](int r, int c, double t, double u) {
      const double q = cos(1.1 * t) + sin(1.1 * t);
      // The 0.001 keeps the quotient finite in row 0, where the factor is 0.
      const double sp = sin(1.6 * t) + cos(1.6 * t) * sin(2 * t) / sin(1.6 * t + 0.001);
      double x = 0;
      double y = 0;
      double z = 0;
      switch (part) {
        case 0:
          x = 3 * sin(t) * cos(u) - 1.0 / 3;
          y = 3 * sin(t) * sin(sp * u);
          z = 3 * cos(t * q / 1.4);
          break;
        case 1:
          x = 3 * sin(t) * cos(10 * kPi / 11 + u) - 1.0 / 3;
          y = 3 * sin(t) * sin(sp * u + 10 * kPi / 11);
          z = 3 * cos(t * q / 1.4);
          break;
        case 2:
          x = 3 * sin(t / 1.6) * cos(sp * u + kPi / 2) - 1.0 / 3;
          y = 3 * sin(t / 1.6) * sin(kPi / 2 + u);
          z = 3 * cos(t * q / 1.2);
          break;
        case 3:
          x = 3 * sin(t / 1.6) * cos((sp * u + kPi) + kPi / 2) - 1.0 / 3;
          y = 3 * sin(t / 1.6) * sin((kPi + u) + kPi / 2);
          z = 3 * cos(t * q / 1.2);
          break;
        case 4:
          x = 3 * sin(t / 2.4) * cos(u) - 1.0 / 3;
          y = 3 * sin(t / 2.4) * sin(sp * u);
          z = 3 * cos(t * q / 1.1);
          break;
        default:
          x = 3 * sin(t / 2.4) * cos(kPi + u) - 1.0 / 3;
          y = 3 * sin(t / 2.4) * sin(sp * u + kPi);
          z = 3 * cos(t * q / 1.1);
          break;
      }
      out.Point(r, c, x, y, z);

      const double e1 = t / 2 + kPi / 10 - u * u / 3;
      if (F == 1) {
        const double grey = sin(e1);
        out.ColorA(r, c, grey, grey, grey);
        out.ColorB(r, c, grey, grey, grey);
        return;
      }
      const double e2 = t / 15 + kPi / 20 - u * u / 3;
      const double e3 = t / 10 + kPi / 10 - u * u / 3;
      const double e4 = t / 5 + kPi / 20 - u * u / 3;
      const double red = Blend(sin(e1), F);
      const double green = Blend(sin(e2), F);
      out.ColorA(r, c, red, green, Blend(sin(e3), F));
      // The largest petal keeps set A's green in set B as well.
      out.ColorB(r, c, red, part == 0 ? green : Blend(sin(e4), F), green);
    });
  }

  {
    const auto out = WriterFor(g, frame, 6);
    WalkStem(StemWalk{5, kPi / 640, 3.0 / 16}, [&](int r, int c, double w, double A, double h) {
      // h * tan A grows with both the bend and the depth: the foot leans out.
      const double x = sin(A) * h / cos(A) + 3 * sin(kTubeAngle) * cos(w) - 1.0 / 3;
      const double y = 3 * sin(kTubeAngle) * sin(w);
      out.Point(r, c, x, y, h);
      if (F == 1) {
        const double grey = 0.5 * cos(3 * A + 0.3);
        out.ColorA(r, c, grey, grey, grey);
        return;
      }
      const double rb = Blend(0.1 * cos(A), F);
      out.ColorA(r, c, rb, Blend(0.5 * cos(3 * A + 0.3), F), rb);
    });
  }

  // The leaves stop short of lying flat: their rows stop at 5 pi / 11.
  const double leaf_cap = 1.4279966607226333;
  const GridWalk leaf{6 * M, 2 * M, -kPi / 8, kPi / (4 * M), kPi / (12 * M), leaf_cap};
  for (int part = 7; part <= 8; ++part) {
    const auto out = WriterFor(g, frame, part);
    WalkGrid(leaf, [&](int r, int c, double t, double u) {
      const double q = cos(1.1 * t) + sin(1.1 * t);
      const double sp = sin(1.6 * t) + cos(1.6 * t) * sin(t) / sin(1.6 * t + 0.001);
      double x = 0;
      double y = 0;
      double z = 0;
      if (part == 7) {
        x = 3 * sin(t / 3) * cos(kPi + u) + 3.0 / 9 - 1.0 / 3;
        y = 3 * sin(t / 3) * sin(sp * u + kPi);
        z = 3 * cos(t * q / 2) + 0.7 * 3;
      } else {
        x = 3 * sin(t / 3) * cos(u) + 3 / 3.6 - 1.0 / 3;
        y = 3 * sin(t / 3) * sin(sp * u);
        z = 3 * cos(t * q / 2) + 3 * 1.5;
      }
      out.Point(r, c, x, y, z);

      const double e5 = t / 2 + 0.5 + u * u / 2;
      if (F == 1) {
        const double grey = 0.5 * sin(e5);
        out.ColorA(r, c, grey, grey, grey);
        return;
      }
      out.ColorA(r, c, Blend(0.2 * sin(t / 5), F), Blend(0.5 * sin(e5), F),
                 Blend(0.2 * sin(t / 2), F));
    });
  }
}

}  // namespace qv
