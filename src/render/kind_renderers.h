#pragma once
// The twelve flower-kind renderers. Templates over the concrete sink type, so
// each sink gets its own inner loops (see GlSink).

#include <algorithm>
#include <cmath>

#include "geometry/geometry_store.h"
#include "render/gl_sink.h"
#include "render/ranges.h"
#include "scene/scene_state.h"

namespace qv {

namespace render_detail {

template <class S>
struct NodeEmitter {
  S& sink;
  const SpeciesView& v;
  int part;
  bool set_b;
  float alpha;

  std::size_t Index(int i, int j) const { return v.Index(part, i, j); }
  void Color(std::size_t n, float a) const {
    const int base = set_b ? kColorR2 : kColorR;
    sink.Color4f(static_cast<float>(v.channel[base][n]), static_cast<float>(v.channel[base + 1][n]),
                 static_cast<float>(v.channel[base + 2][n]), a);
  }
  void Vertex(std::size_t n, double dx = 0, double dy = 0, double dz = 0) const {
    sink.Vertex3f(static_cast<float>(v.channel[kPointX][n] + dx),
                  static_cast<float>(v.channel[kPointY][n] + dy),
                  static_cast<float>(v.channel[kPointZ][n] + dz));
  }
  // Species 2 lights its sparkle centres with a touch more blue, at the node.
  void RaisedCentre(std::size_t n) const {
    const int base = set_b ? kColorR2 : kColorR;
    sink.Color4f(static_cast<float>(v.channel[base][n]), static_cast<float>(v.channel[base + 1][n]),
                 static_cast<float>(v.channel[base + 2][n] + 0.05), alpha);
    Vertex(n);
  }

  void Point(int i, int j) const {
    const std::size_t n = Index(i, j);
    Color(n, alpha);
    Vertex(n);
  }
  void Sparkle(int i, int j, bool node_centre) const {
    const std::size_t n = Index(i, j);
    static constexpr double kTips[4][2][2] = {{{0, 0.1}, {0.1, 0}},
                                              {{0, -0.1}, {0.1, 0}},
                                              {{0, 0.1}, {-0.1, 0}},
                                              {{0, -0.1}, {-0.1, 0}}};
    for (const auto& tip : kTips) {
      if (node_centre) {
        RaisedCentre(n);
      } else {
        Color(n, alpha);
        Vertex(n, 0, 0, 0.05);
      }
      Color(n, 0);
      Vertex(n, tip[0][0], tip[0][1], 0);
      Vertex(n, tip[1][0], tip[1][1], 0);
    }
  }
  void Quad(int i, int j) const {
    const std::size_t corners[4] = {Index(i, j), Index(i, j + 1), Index(i + 1, j + 1),
                                    Index(i + 1, j)};
    for (std::size_t n : corners) {
      Color(n, alpha);
      Vertex(n);
    }
  }
  void FadingTriangle(int i, int j) const {
    const std::size_t a = Index(i, j);
    const std::size_t b = Index(i, j + 1);
    const std::size_t c = Index(i + 1, j);
    Color(a, alpha);
    Vertex(a);
    Color(b, 0);
    Vertex(b);
    Color(c, 0);
    Vertex(c);
  }
};

}  // namespace render_detail

// One whole flower of `species` (1..6); `second_variant` takes the petal
// colours from colour set B.
template <class S>
void DrawSpecies(S& sink, const SceneState& scene, const GeometryStore& store, int species,
                 bool second_variant) {
  const int mode = scene.PrimitiveMode;
  if (mode < kPointMode || mode > kFadingTriangleMode) return;
  const int M = ClampMeshDetail(scene.MeshDetail);
  const SpeciesView v = store.View(species);
  const SpeciesGroups groups = GroupsOf(species);

  sink.PushMatrix();
  // In double, where a hand-edited Size near the bottom of int cannot wrap;
  // every int - 20 is exact there, so in-range depths are unchanged.
  sink.Translatef(0, -5, static_cast<float>(static_cast<double>(scene.Size) - 20.0));
  sink.Rotatef(static_cast<float>(scene.CurrentSlotAngle + scene.TurnAngle), 0, 1, 0);
  sink.Rotatef(-25, 1, 0, 1);
  if (mode == kPointMode) sink.PointSize(1);
  static constexpr unsigned kPrimitive[] = {gl::kPoints, gl::kTriangles, gl::kQuads,
                                            gl::kTriangles};
  sink.Begin(kPrimitive[mode]);

  const auto alpha = static_cast<float>(scene.CurrentAlpha);
  for (int part = 0; part < v.parts; ++part) {
    const PartGroup group = groups.GroupOf(part);
    const DrawRange range = RangeFor(species, group, mode, M, part);
    const render_detail::NodeEmitter<S> out{sink, v, part,
                                            second_variant && group == PartGroup::kPetal, alpha};
    for (int i = range.first_row; i <= range.last_row; ++i) {
      for (int j = range.first_col; j <= range.last_col; ++j) {
        switch (mode) {
          case kPointMode: out.Point(i, j); break;
          case kSparkleMode: out.Sparkle(i, j, species == 2); break;
          case kQuadMode: out.Quad(i, j); break;
          default: out.FadingTriangle(i, j); break;
        }
      }
    }
  }

  sink.End();
  sink.PopMatrix();
}

// Kind k below 6 is species k + 1 in its first variant, kind k from 6 up is
// species k - 5 in its second variant.
template <class S> void DrawKind0(S& s, const SceneState& sc, const GeometryStore& g) { DrawSpecies(s, sc, g, 1, false); }
template <class S> void DrawKind1(S& s, const SceneState& sc, const GeometryStore& g) { DrawSpecies(s, sc, g, 2, false); }
template <class S> void DrawKind2(S& s, const SceneState& sc, const GeometryStore& g) { DrawSpecies(s, sc, g, 3, false); }
template <class S> void DrawKind3(S& s, const SceneState& sc, const GeometryStore& g) { DrawSpecies(s, sc, g, 4, false); }
template <class S> void DrawKind4(S& s, const SceneState& sc, const GeometryStore& g) { DrawSpecies(s, sc, g, 5, false); }
template <class S> void DrawKind5(S& s, const SceneState& sc, const GeometryStore& g) { DrawSpecies(s, sc, g, 6, false); }
template <class S> void DrawKind6(S& s, const SceneState& sc, const GeometryStore& g) { DrawSpecies(s, sc, g, 1, true); }
template <class S> void DrawKind7(S& s, const SceneState& sc, const GeometryStore& g) { DrawSpecies(s, sc, g, 2, true); }
template <class S> void DrawKind8(S& s, const SceneState& sc, const GeometryStore& g) { DrawSpecies(s, sc, g, 3, true); }
template <class S> void DrawKind9(S& s, const SceneState& sc, const GeometryStore& g) { DrawSpecies(s, sc, g, 4, true); }
template <class S> void DrawKind10(S& s, const SceneState& sc, const GeometryStore& g) { DrawSpecies(s, sc, g, 5, true); }
template <class S> void DrawKind11(S& s, const SceneState& sc, const GeometryStore& g) { DrawSpecies(s, sc, g, 6, true); }

template <class S>
void DrawKindWith(S& sink, int kind, const SceneState& scene, const GeometryStore& store) {
  using Renderer = void (*)(S&, const SceneState&, const GeometryStore&);
  static constexpr Renderer kRenderers[12] = {
      DrawKind0<S>, DrawKind1<S>, DrawKind2<S>, DrawKind3<S>, DrawKind4<S>,  DrawKind5<S>,
      DrawKind6<S>, DrawKind7<S>, DrawKind8<S>, DrawKind9<S>, DrawKind10<S>, DrawKind11<S>};
  if (kind < 0 || kind > 11) return;
  kRenderers[kind](sink, scene, store);
}

}  // namespace qv
