#pragma once
// Sinks without a graphics library: one that records every call (tests and
// the call dumps) and one that only counts (benchmarks).

#include <string>
#include <vector>

#include "render/gl_sink.h"

namespace qv {

struct GlCall {
  enum Op {
    kPushMatrix,
    kPopMatrix,
    kTranslatef,
    kRotatef,
    kPointSize,
    kBegin,
    kEnd,
    kColor4f,
    kVertex3f,
    kClear,
    kClearColor,
    kViewport,
    kMatrixMode,
    kLoadIdentity,
    kPerspective,
    kLookAt,
    kEnable,
    kBlendFunc,
    kShadeModel,
    kPolygonMode,
    kMaterialfv,
    kMaterialf,
    kLightfv,
    kRasterPos2f,
    kGenLists,
    kDeleteLists,
    kPushAttrib,
    kPopAttrib,
    kListBase,
    kCallLists
  };
  Op op;
  unsigned e[2] = {0, 0};  // enumerants, list names
  double f[9] = {};        // numbers as handed over (floats widened exactly)
  std::string text;        // CallLists bytes
};

class RecordingSink final : public GlSink {
 public:
  std::vector<GlCall> calls;

  void PushMatrix() override { Add(GlCall::kPushMatrix); }
  void PopMatrix() override { Add(GlCall::kPopMatrix); }
  void Translatef(float x, float y, float z) override { Add(GlCall::kTranslatef, {x, y, z}); }
  void Rotatef(float a, float x, float y, float z) override { Add(GlCall::kRotatef, {a, x, y, z}); }
  void PointSize(float s) override { Add(GlCall::kPointSize, {s}); }
  void Begin(unsigned mode) override { Add(GlCall::kBegin, {}, mode); }
  void End() override { Add(GlCall::kEnd); }
  void Color4f(float r, float g, float b, float a) override { Add(GlCall::kColor4f, {r, g, b, a}); }
  void Vertex3f(float x, float y, float z) override { Add(GlCall::kVertex3f, {x, y, z}); }
  void DrawKind(int kind, const SceneState& scene, const GeometryStore& store) override;

  void Clear(unsigned mask) override { Add(GlCall::kClear, {}, mask); }
  void ClearColor(float r, float g, float b, float a) override;
  void Viewport(int x, int y, int w, int h) override;
  void MatrixMode(unsigned mode) override { Add(GlCall::kMatrixMode, {}, mode); }
  void LoadIdentity() override { Add(GlCall::kLoadIdentity); }
  void Perspective(double fovy, double aspect, double n, double f) override;
  void LookAt(double ex, double ey, double ez, double cx, double cy, double cz, double ux,
              double uy, double uz) override;
  void Enable(unsigned cap) override { Add(GlCall::kEnable, {}, cap); }
  void BlendFunc(unsigned s, unsigned d) override { Add(GlCall::kBlendFunc, {}, s, d); }
  void ShadeModel(unsigned mode) override { Add(GlCall::kShadeModel, {}, mode); }
  void PolygonMode(unsigned face, unsigned mode) override {
    Add(GlCall::kPolygonMode, {}, face, mode);
  }
  void Materialfv(unsigned face, unsigned pname, const float* p) override;
  void Materialf(unsigned face, unsigned pname, float v) override;
  void Lightfv(unsigned light, unsigned pname, const float* p) override;
  void RasterPos2f(float x, float y) override { Add(GlCall::kRasterPos2f, {x, y}); }
  unsigned GenLists(int range) override;
  void DeleteLists(unsigned list, int range) override;
  void PushAttrib(unsigned mask) override { Add(GlCall::kPushAttrib, {}, mask); }
  void PopAttrib() override { Add(GlCall::kPopAttrib); }
  void ListBase(unsigned base) override { Add(GlCall::kListBase, {}, base); }
  void CallLists(int n, unsigned type, const void* lists) override;

 private:
  void Add(GlCall::Op op, std::initializer_list<double> f = {}, unsigned e0 = 0, unsigned e1 = 0);
  unsigned next_list_ = 1;
};

// One renderer call as the call dump prints it ("glVertex3f x y z", numbers
// with %.9g); empty for calls that are not renderer primitives.
std::string FormatRendererCall(const GlCall& call);

// Counts what a frame would send, and nothing else.
class NullSink final : public GlSink {
 public:
  unsigned long long vertices = 0;
  unsigned long long calls = 0;

  void PushMatrix() override { ++calls; }
  void PopMatrix() override { ++calls; }
  void Translatef(float, float, float) override { ++calls; }
  void Rotatef(float, float, float, float) override { ++calls; }
  void PointSize(float) override { ++calls; }
  void Begin(unsigned) override { ++calls; }
  void End() override { ++calls; }
  void Color4f(float r, float g, float b, float a) override {
    calls += 1 + (r + g + b + a > 1e30f);
  }
  void Vertex3f(float x, float y, float z) override { vertices += 1 + (x + y + z > 1e30f); }
  void DrawKind(int kind, const SceneState& scene, const GeometryStore& store) override;
  void Clear(unsigned) override { ++calls; }
  void ClearColor(float, float, float, float) override { ++calls; }
  void Viewport(int, int, int, int) override { ++calls; }
  void MatrixMode(unsigned) override { ++calls; }
  void LoadIdentity() override { ++calls; }
  void Perspective(double, double, double, double) override { ++calls; }
  void LookAt(double, double, double, double, double, double, double, double, double) override {
    ++calls;
  }
  void Enable(unsigned) override { ++calls; }
  void BlendFunc(unsigned, unsigned) override { ++calls; }
  void ShadeModel(unsigned) override { ++calls; }
  void PolygonMode(unsigned, unsigned) override { ++calls; }
  void Materialfv(unsigned, unsigned, const float*) override { ++calls; }
  void Materialf(unsigned, unsigned, float) override { ++calls; }
  void Lightfv(unsigned, unsigned, const float*) override { ++calls; }
  void RasterPos2f(float, float) override { ++calls; }
  unsigned GenLists(int) override { return 1; }
  void DeleteLists(unsigned, int) override { ++calls; }
  void PushAttrib(unsigned) override { ++calls; }
  void PopAttrib() override { ++calls; }
  void ListBase(unsigned) override { ++calls; }
  void CallLists(int, unsigned, const void*) override { ++calls; }
};

}  // namespace qv
