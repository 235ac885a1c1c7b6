#include "testing/recording_sink.h"

#include <cstdio>

#include "render/kind_renderers.h"

namespace qv {

template void DrawKindWith<RecordingSink>(RecordingSink&, int, const SceneState&,
                                          const GeometryStore&);
template void DrawKindWith<NullSink>(NullSink&, int, const SceneState&, const GeometryStore&);

void RecordingSink::Add(GlCall::Op op, std::initializer_list<double> f, unsigned e0, unsigned e1) {
  GlCall call{op, {e0, e1}, {}, {}};
  std::size_t i = 0;
  for (double v : f) call.f[i++] = v;
  calls.push_back(std::move(call));
}

void RecordingSink::DrawKind(int kind, const SceneState& scene, const GeometryStore& store) {
  DrawKindWith(*this, kind, scene, store);
}

void RecordingSink::ClearColor(float r, float g, float b, float a) {
  Add(GlCall::kClearColor, {r, g, b, a});
}
void RecordingSink::Viewport(int x, int y, int w, int h) {
  Add(GlCall::kViewport, {double(x), double(y), double(w), double(h)});
}
void RecordingSink::Perspective(double fovy, double aspect, double n, double f) {
  Add(GlCall::kPerspective, {fovy, aspect, n, f});
}
void RecordingSink::LookAt(double ex, double ey, double ez, double cx, double cy, double cz,
                           double ux, double uy, double uz) {
  Add(GlCall::kLookAt, {ex, ey, ez, cx, cy, cz, ux, uy, uz});
}
void RecordingSink::Materialfv(unsigned face, unsigned pname, const float* p) {
  Add(GlCall::kMaterialfv, {p[0], p[1], p[2], p[3]}, face, pname);
}
void RecordingSink::Materialf(unsigned face, unsigned pname, float v) {
  Add(GlCall::kMaterialf, {v}, face, pname);
}
void RecordingSink::Lightfv(unsigned light, unsigned pname, const float* p) {
  Add(GlCall::kLightfv, {p[0], p[1], p[2], p[3]}, light, pname);
}
unsigned RecordingSink::GenLists(int range) {
  const unsigned base = next_list_;
  next_list_ += static_cast<unsigned>(range);
  Add(GlCall::kGenLists, {double(range)}, base);
  return base;
}
void RecordingSink::DeleteLists(unsigned list, int range) {
  Add(GlCall::kDeleteLists, {double(range)}, list);
}
void RecordingSink::CallLists(int n, unsigned type, const void* lists) {
  Add(GlCall::kCallLists, {double(n)}, type);
  calls.back().text.assign(static_cast<const char*>(lists), static_cast<std::size_t>(n));
}

void NullSink::DrawKind(int kind, const SceneState& scene, const GeometryStore& store) {
  DrawKindWith(*this, kind, scene, store);
}

std::string FormatRendererCall(const GlCall& call) {
  char buf[160];
  const double* f = call.f;
  switch (call.op) {
    case GlCall::kPushMatrix:
      return "glPushMatrix";
    case GlCall::kPopMatrix:
      return "glPopMatrix";
    case GlCall::kEnd:
      return "glEnd";
    case GlCall::kTranslatef:
      std::snprintf(buf, sizeof buf, "glTranslatef %.9g %.9g %.9g", f[0], f[1], f[2]);
      return buf;
    case GlCall::kRotatef:
      std::snprintf(buf, sizeof buf, "glRotatef %.9g %.9g %.9g %.9g", f[0], f[1], f[2], f[3]);
      return buf;
    case GlCall::kPointSize:
      std::snprintf(buf, sizeof buf, "glPointSize %.9g", f[0]);
      return buf;
    case GlCall::kBegin:
      return call.e[0] == gl::kPoints  ? "glBegin GL_POINTS"
             : call.e[0] == gl::kQuads ? "glBegin GL_QUADS"
                                       : "glBegin GL_TRIANGLES";
    case GlCall::kColor4f:
      std::snprintf(buf, sizeof buf, "glColor4f %.9g %.9g %.9g %.9g", f[0], f[1], f[2], f[3]);
      return buf;
    case GlCall::kVertex3f:
      std::snprintf(buf, sizeof buf, "glVertex3f %.9g %.9g %.9g", f[0], f[1], f[2]);
      return buf;
    default:
      return {};
  }
}

}  // namespace qv
