#pragma once
// The walk shared by all six generators: model frame, grid walk, stem walk.

#include <cmath>

#include "geometry/geometry_store.h"

namespace qv::skeleton {

inline constexpr double kPi = 3.141592653589793;

// The generators' sine and cosine: the same bits on every target (the C
// libraries' own differ in the last place between Linux and Windows).
double sin(double x);
double cos(double x);

// Rotation that turns a raw point into the species' model frame, from the
// three fixed angles; with them it is the axis exchange X = -y, Y = 10 - z,
// Z = x up to rounding, but the stored numbers come from the full formulas.
struct ModelFrame {
  double m11, m12, m13, m21, m22, m23, m31, m32, m33;
  ModelFrame();
};

// Where one vertex goes. Colour set B is written only by petal parts.
template <class G>
struct Writer {
  G& g;
  const ModelFrame& m;
  int part;

  void Point(int r, int c, double x, double y, double z) const {
    g.PointX[part][r][c] = m.m11 * x + m.m12 * y + m.m13 * z;
    g.PointY[part][r][c] = m.m21 * x + m.m22 * y + m.m23 * z + 10;
    g.PointZ[part][r][c] = m.m31 * x + m.m32 * y + m.m33 * z;
  }
  void ColorA(int r, int c, double red, double green, double blue) const {
    g.ColorR[part][r][c] = red;
    g.ColorG[part][r][c] = green;
    g.ColorB[part][r][c] = blue;
  }
  void ColorB(int r, int c, double red, double green, double blue) const {
    g.ColorR2[part][r][c] = red;
    g.ColorG2[part][r][c] = green;
    g.ColorB2[part][r][c] = blue;
  }
};

template <class G>
Writer<G> WriterFor(G& g, const ModelFrame& m, int part) {
  return Writer<G>{g, m, part};
}

// The usual colour blend c + (1 - c)/F.
inline double Blend(double c, int F) { return c + (1 - c) / F; }

struct GridWalk {
  int last_row;   // R
  int last_col;   // C
  double u0;      // start column angle
  double du;      // column step
  double dt;      // row step
  double cap;     // T
};

// What happened after a vertex, for species that carry running sums of their
// own: whether the row just ended and whether the cap test held (t >= T).
struct GridStep {
  bool row_end;
  bool capped;
};

struct NoStep {
  template <class S>
  void operator()(const S&) const {}
};

// vertex(r, c, t, u) for every cell; step(GridStep) right after the walk's own
// updates of that vertex. t and u are running sums, never r * dt.
template <class VertexFn, class StepFn = NoStep>
void WalkGrid(const GridWalk& w, VertexFn&& vertex, StepFn&& step = StepFn{}) {
  double t = 0;
  double u = w.u0;
  for (int r = 0; r <= w.last_row; ++r) {
    for (int c = 0; c <= w.last_col; ++c) {
      vertex(r, c, t, u);
      u = u + w.du;
      bool row_end = c == w.last_col;
      if (row_end) {
        t = t + w.dt;
        u = w.u0;
      }
      bool capped = t >= w.cap;
      if (capped) t = w.cap;
      step(GridStep{row_end, capped});
    }
  }
}

struct StemWalk {
  int last_col;   // Cs
  double dA;      // bend step
  double dh;      // height step
  double h0 = 3;  // start height
};

inline constexpr int kStemRows = 40;
inline constexpr double kTubeAngle = 0.02;  // rho

struct StemStep {
  bool row_end;
};

// vertex(r, c, w, A, h) for the 40 rows of the stem.
template <class VertexFn, class StepFn = NoStep>
void WalkStem(const StemWalk& s, VertexFn&& vertex, StepFn&& step = StepFn{}) {
  double w = 0;
  double A = 0;
  double h = s.h0;
  for (int r = 0; r < kStemRows; ++r) {
    for (int c = 0; c <= s.last_col; ++c) {
      vertex(r, c, w, A, h);
      w = w + kPi / 4;
      bool row_end = c == s.last_col;
      if (row_end) {
        w = 0;
        A = A + s.dA;
        h = h + s.dh;
      }
      step(StemStep{row_end});
    }
  }
}

}  // namespace qv::skeleton
