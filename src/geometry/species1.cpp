// Four petals, a stem and three leaves.
#include "geometry/skeleton.h"

namespace qv {

using namespace skeleton;

void GenerateSpecies1(GeometryStore& store, int M, int F) {
  Species1Geometry& g = store.Species1;
  const ModelFrame frame;

  const GridWalk petal{6 * M, 2 * M, -kPi / 4, kPi / (4 * M), kPi / (12 * M), kPi / 2};
  for (int part = 0; part <= 3; ++part) {
    const auto out = WriterFor(g, frame, part);
    WalkGrid(petal, [&](int r, int c, double t, double u) {
      const double q = cos(1.1 * t) + sin(1.1 * t);
      double x = 0;
      double y = 0;
      switch (part) {
        case 0:
          x = 3 * cos(t) * sin(t / 2) * cos(u) / 1.4 - 3 * sin(t) * cos(u) / 1.2 - 1.0 / 3;
          y = 3 * cos(t) * sin(t) * sin(u) / 1.4;
          break;
        case 1: {
          const double th = u + kPi / 2;
          x = 3 * cos(t) * sin(t) * cos(th) / 1.4 - 1.0 / 3;
          y = 3 * cos(t) * sin(t / 2) * sin(th) / 1.4 - 3 * sin(t) * cos(u) / 1.2;
          break;
        }
        case 2: {
          const double th = u + kPi;
          x = 3 * sin(t) * cos(u) / 1.2 + 3 * cos(t) * sin(t / 2) * cos(th) / 1.4 - 1.0 / 3;
          y = 3 * cos(t) * sin(t) * sin(th) / 1.4;
          break;
        }
        default: {
          const double th = (u + kPi) + kPi / 2;
          x = 3 * cos(t) * sin(t) * cos(th) / 1.4 - 1.0 / 3;
          y = 3 * sin(t) * cos(u) / 1.2 + 3 * cos(t) * sin(t / 2) * sin(th) / 1.4;
          break;
        }
      }
      const double z = 3 * cos(t * q / 1.2);
      out.Point(r, c, x, y, z);

      const double w1 = t / 5 + kPi / 5 - u * u / 5;
      const double w2 = t / 9 + kPi / 7 - u * u / 5;
      const double w3 = t / 7 + kPi / 9 - u * u / 5;
      if (F == 1) {
        const double grey = sin(w1);
        out.ColorA(r, c, grey, grey, grey);
        out.ColorB(r, c, grey, grey, grey);
        return;
      }
      const double red = cos(u) + sin(w1) + (1 - sin(w1) + cos(u)) / F;
      out.ColorA(r, c, red, Blend(sin(w2), F), Blend(sin(w3), F));
      // Set B is set A with green and blue exchanged.
      out.ColorB(r, c, red, Blend(sin(w3), F), Blend(sin(w2), F));
    });
  }

  {
    const auto out = WriterFor(g, frame, 4);
    WalkStem(StemWalk{7, kPi / 80, 3.0 / 16}, [&](int r, int c, double w, double A, double h) {
      const double x = 3 * sin(2.2 * A) / 4 + 3 * sin(kTubeAngle) * cos(w) - 1.0 / 3;
      const double y = 3 * sin(kTubeAngle) * sin(w);
      out.Point(r, c, x, y, h);
      if (F == 1) {
        const double grey = cos(A / 4 + kPi / 3);
        out.ColorA(r, c, grey, grey, grey);
        return;
      }
      const double rb = Blend(0.1 * sin(A / 2), F);
      out.ColorA(r, c, rb, Blend(cos(A / 3 + 1), F), rb);
    });
  }

  const GridWalk leaf{6 * M, M, -kPi / 8, kPi / (4 * M), kPi / (10 * M), kPi / 2};
  for (int part = 5; part <= 7; ++part) {
    const auto out = WriterFor(g, frame, part);
    const double k = part == 5 ? 1.1 : 1.2;
    WalkGrid(leaf, [&](int r, int c, double t, double u) {
      const double q = cos(k * t) + sin(k * t);
      double x = 0;
      double y = 0;
      double z = 0;
      switch (part) {
        case 5: {
          const double th = u + 2 * kPi / 3;
          x = 3 * sin(t) / 4 + 3 * cos(t) * sin(t / 3) * cos(th) + 0.6 - 1.0 / 3;
          y = 3 * cos(t) * sin(t / 3) * sin(th) - sin(t);
          z = 3 * cos(t * q / 1.7) + 2.1;
          break;
        }
        case 6: {
          const double th = (u + 2 * kPi / 3) + 2 * kPi / 3;
          x = 3 * sin(t) / 4 + 3 * cos(t) * sin(t / 3) * cos(th) + 0.75 - 1.0 / 3;
          y = sin(t) + 3 * cos(t) * sin(t / 3) * sin(th);
          z = 3 * cos(t * q / 1.7) + 3.6;
          break;
        }
        default: {
          const double th = ((u + 2 * kPi / 3) + 2 * kPi / 3) + 2 * kPi / 3;
          x = 3 * cos(t) * sin(t / 3) * cos(th) + 0.5 - sin(t) - 1.0 / 3;
          y = 3 * cos(t) * sin(t / 3) * sin(th);
          z = 3 * cos(t * q / 1.7) + 5.1;
          break;
        }
      }
      out.Point(r, c, x, y, z);
      if (F == 1) {
        const double grey = sin(t / 4 + 0.3 - u * u);
        out.ColorA(r, c, grey, grey, grey);
        return;
      }
      const double rb = Blend(sin(t / 5 - u * u), F);
      out.ColorA(r, c, rb, Blend(sin(t / 5 + 0.3 - u * u), F), rb);
    });
  }
}

}  // namespace qv
