#pragma once
// Draws fixed flower kinds in the three slots, whatever the slots picked.
// The frame director re-picks a slot's kind inside its own step, so pinning
// the kinds in the scene between frames would not hold; substituting the
// kind where the director hands it to the sink does, and leaves the
// director's steps (and its random draws) exactly as in the saver.

#include <array>

#include "render/gl_sink.h"
#include "scene/scene_state.h"

namespace qv::render_tool {

class PinnedKindSink final : public GlSink {
 public:
  // kinds[0..2] for slots 1, 2, 3.
  PinnedKindSink(GlSink& inner, const std::array<int, 3>& kinds) : inner_(inner), kinds_(kinds) {}

  // The slot being drawn is known by its angle (240, 120, 0 for slots 1..3).
  void DrawKind(int kind, const SceneState& scene, const GeometryStore& store) override {
    for (int k = 0; k < 3; ++k) {
      if (scene.SlotAngle[k] == scene.CurrentSlotAngle) {
        kind = kinds_[k];
        break;
      }
    }
    inner_.DrawKind(kind, scene, store);
  }

  void PushMatrix() override { inner_.PushMatrix(); }
  void PopMatrix() override { inner_.PopMatrix(); }
  void Translatef(float x, float y, float z) override { inner_.Translatef(x, y, z); }
  void Rotatef(float a, float x, float y, float z) override { inner_.Rotatef(a, x, y, z); }
  void PointSize(float s) override { inner_.PointSize(s); }
  void Begin(unsigned mode) override { inner_.Begin(mode); }
  void End() override { inner_.End(); }
  void Color4f(float r, float g, float b, float a) override { inner_.Color4f(r, g, b, a); }
  void Vertex3f(float x, float y, float z) override { inner_.Vertex3f(x, y, z); }
  void Clear(unsigned mask) override { inner_.Clear(mask); }
  void ClearColor(float r, float g, float b, float a) override { inner_.ClearColor(r, g, b, a); }
  void Viewport(int x, int y, int w, int h) override { inner_.Viewport(x, y, w, h); }
  void MatrixMode(unsigned mode) override { inner_.MatrixMode(mode); }
  void LoadIdentity() override { inner_.LoadIdentity(); }
  void Perspective(double fovy, double aspect, double n, double f) override {
    inner_.Perspective(fovy, aspect, n, f);
  }
  void LookAt(double ex, double ey, double ez, double cx, double cy, double cz, double ux,
              double uy, double uz) override {
    inner_.LookAt(ex, ey, ez, cx, cy, cz, ux, uy, uz);
  }
  void Enable(unsigned cap) override { inner_.Enable(cap); }
  void BlendFunc(unsigned s, unsigned d) override { inner_.BlendFunc(s, d); }
  void ShadeModel(unsigned mode) override { inner_.ShadeModel(mode); }
  void PolygonMode(unsigned face, unsigned mode) override { inner_.PolygonMode(face, mode); }
  void Materialfv(unsigned face, unsigned pname, const float* p) override {
    inner_.Materialfv(face, pname, p);
  }
  void Materialf(unsigned face, unsigned pname, float v) override { inner_.Materialf(face, pname, v); }
  void Lightfv(unsigned light, unsigned pname, const float* p) override {
    inner_.Lightfv(light, pname, p);
  }
  void RasterPos2f(float x, float y) override { inner_.RasterPos2f(x, y); }
  unsigned GenLists(int range) override { return inner_.GenLists(range); }
  void DeleteLists(unsigned list, int range) override { inner_.DeleteLists(list, range); }
  void PushAttrib(unsigned mask) override { inner_.PushAttrib(mask); }
  void PopAttrib() override { inner_.PopAttrib(); }
  void ListBase(unsigned base) override { inner_.ListBase(base); }
  void CallLists(int n, unsigned type, const void* lists) override {
    inner_.CallLists(n, type, lists);
  }

 private:
  GlSink& inner_;
  std::array<int, 3> kinds_;
};

}  // namespace qv::render_tool
