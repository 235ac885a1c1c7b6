// Six petals (three larger, three smaller between them), a stem and two leaves.
#include "geometry/skeleton.h"

namespace qv {

using namespace skeleton;

void GenerateSpecies3(GeometryStore& store, int M, int F) {
  Species3Geometry& g = store.Species3;
  const ModelFrame frame;

  const GridWalk petal{6 * M, 2 * M, -kPi / 4, kPi / (4 * M), kPi / (12 * M), kPi / 2};
  for (int part = 0; part <= 5; ++part) {
    const auto out = WriterFor(g, frame, part);
    WalkGrid(petal, [&](int r, int c, double t, double u) {
      const double q = cos(t) + sin(t);
      // The cos u terms push each petal off its own direction theta; they use
      // the column angle itself, which is what gives the petals their tilt.
      double x = 0;
      double y = 0;
      switch (part) {
        case 0: {
          const double th = u;
          x = 3 * cos(t) * sin(t) * cos(th) / 1.4 - 3 * sin(t) * cos(u) - 1.0 / 3;
          y = 3 * cos(t) * sin(t) * sin(th) / 1.4;
          break;
        }
        case 1: {
          const double th = u + 2 * kPi / 3;
          x = 3 * sin(t) * cos(u) / 2 + 3 * cos(t) * sin(t) * cos(th) / 1.4 - 1.0 / 3;
          y = 3 * cos(t) * sin(t) * sin(th) / 1.4 - 3 * sin(t) * cos(u);
          break;
        }
        case 2: {
          const double th = u + 4 * kPi / 3;
          x = 3 * sin(t) * cos(u) / 2 + 3 * cos(t) * sin(t) * cos(th) / 1.4 - 1.0 / 3;
          y = 3 * sin(t) * cos(u) + 3 * cos(t) * sin(t) * sin(th) / 1.4;
          break;
        }
        case 3: {
          const double th = u + kPi / 3;
          x = 3 * cos(t) * sin(t / 1.5) * cos(th) / 1.4 - sin(t) * cos(u) - 1.0 / 3;
          y = 3 * cos(t) * sin(t / 1.5) * sin(th) / 1.4 - 3 * sin(t) * cos(u) / 1.8;
          break;
        }
        case 4: {
          const double th = (u + 2 * kPi / 3) + kPi / 3;
          x = 3 * sin(t) * cos(u) / 1.5 + 3 * cos(t) * sin(t / 1.5) * cos(th) / 1.4 - 1.0 / 3;
          y = 3 * cos(t) * sin(t / 1.5) * sin(th) / 1.4;
          break;
        }
        default: {
          const double th = (u + 4 * kPi / 3) + kPi / 3;
          x = 3 * cos(t) * sin(t / 1.5) * cos(th) / 1.4 - 3 * sin(t) * cos(u) / 2.7 - 1.0 / 3;
          y = 3 * sin(t) * cos(u) / 2.7 + 3 * cos(t) * sin(t / 1.5) * sin(th) / 1.4;
          break;
        }
      }
      // The larger petals stand a little flatter than the smaller ones.
      const double z = part <= 2 ? 3 * cos(t * q / 1.3) : 3 * cos(t * q / 1.2);
      out.Point(r, c, x, y, z);

      if (F == 1) {
        const double grey = sin(t / 2 + 0.3 - u * u / 2);
        out.ColorA(r, c, grey, grey, grey);
        out.ColorB(r, c, grey, grey, grey);
        return;
      }
      const double e1 = t / 2 + 0.15 - u * u / 2;
      const double e2 = t / 15 + 0.1 - u * u;
      const double e3 = t / 7 + 0.2 - u * u / 2;
      const double green = Blend(sin(e2), F);
      out.ColorA(r, c, Blend(sin(e1), F), green, Blend(sin(e3), F));
      out.ColorB(r, c, sin(t / 2 + 0.15 - u * u / 3) + (1 - sin(e1)) / F,
                 sin(t / 3 + 0.2 - u * u / 3) + (1 - sin(e3)) / F, green);
    });
  }

  {
    const auto out = WriterFor(g, frame, 6);
    WalkStem(StemWalk{5, kPi / 40, 3.0 / 16}, [&](int r, int c, double w, double A, double h) {
      const double x = sin(A) * h / 7 + 3 * sin(kTubeAngle) * cos(w) - 1.0 / 3;
      const double y = 3 * sin(kTubeAngle) * sin(w);
      out.Point(r, c, x, y, h);
      if (F == 1) {
        const double grey = cos(A / 7 + kPi / 3);
        out.ColorA(r, c, grey, grey, grey);
        return;
      }
      out.ColorA(r, c, Blend(sin(A / 25), F), Blend(cos(A / 10 + kPi / 3), F),
                 Blend(cos(A / 25 + 5 * kPi / 11), F));
    });
  }

  // Half the petals' column step: the leaves are narrow.
  const GridWalk leaf{6 * M, 2 * M, -kPi / 8, kPi / (8 * M), kPi / (12 * M), kPi / 2};
  for (int part = 7; part <= 8; ++part) {
    const auto out = WriterFor(g, frame, part);
    WalkGrid(leaf, [&](int r, int c, double t, double u) {
      const double q = cos(1.1 * t) + sin(1.1 * t);
      double x = 0;
      double y = 0;
      double z = 0;
      if (part == 7) {
        x = 3 * cos(t) * sin(t) * cos(u) + 0.6 - 3 * sin(t) - 1.0 / 3;
        y = 3 * cos(t) * sin(t / 2) * sin(u);
        z = 3 * cos(t * q / 1.1) / 2 - sin(u * u / 2) + 3.75;
      } else {
        const double th = u + kPi;
        x = 3 * sin(t) / 1.2 + 3 * cos(t) * sin(t) * cos(th) + 3 / 2.75 - 1.0 / 3;
        y = 3 * cos(t) * sin(t / 2) * sin(th);
        z = 3 * cos(t * q / 1.1) / 2 - sin(u * u / 2) + 6;
      }
      out.Point(r, c, x, y, z);

      if (F == 1) {
        const double grey = sin(t / 3 + 0.3 - u * u);
        out.ColorA(r, c, grey, grey, grey);
        return;
      }
      const double e4 = t / 7 + t / 15 - 1.5 * (u * u);
      const double e5 = t / 4 + 0.2 - u * u;
      const double rb = Blend(sin(e4), F);
      out.ColorA(r, c, rb, Blend(sin(e5), F), rb);
    });
  }
}

}  // namespace qv
