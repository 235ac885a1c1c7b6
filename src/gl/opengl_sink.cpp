#include "gl/opengl_sink.h"

#include "gl/opengl_headers.h"
#include "render/kind_renderers.h"

namespace qv {

// The renderers' inner loops, compiled against this sink: each primitive
// below is one direct GL call.
template void DrawKindWith<OpenGlSink>(OpenGlSink&, int, const SceneState&, const GeometryStore&);

void OpenGlSink::PushMatrix() { glPushMatrix(); }
void OpenGlSink::PopMatrix() { glPopMatrix(); }
void OpenGlSink::Translatef(float x, float y, float z) { glTranslatef(x, y, z); }
void OpenGlSink::Rotatef(float a, float x, float y, float z) { glRotatef(a, x, y, z); }
void OpenGlSink::PointSize(float size) { glPointSize(size); }
void OpenGlSink::Begin(unsigned mode) { glBegin(mode); }
void OpenGlSink::End() { glEnd(); }
void OpenGlSink::Color4f(float r, float g, float b, float a) { glColor4f(r, g, b, a); }
void OpenGlSink::Vertex3f(float x, float y, float z) { glVertex3f(x, y, z); }
void OpenGlSink::DrawKind(int kind, const SceneState& scene, const GeometryStore& store) {
  DrawKindWith(*this, kind, scene, store);
}

void OpenGlSink::Clear(unsigned mask) {
  // Nothing here uses a stencil buffer, but a window's visual may bring one
  // packed with the depth buffer (XScreenSaver's window, say). Clearing the
  // depth alone then makes the driver keep the stencil bits of every pixel;
  // clearing both is one plain fill, and no pixel drawn changes.
  if ((mask & GL_DEPTH_BUFFER_BIT) != 0) {
    GLint stencil_bits = 0;
    glGetIntegerv(GL_STENCIL_BITS, &stencil_bits);
    if (stencil_bits > 0) mask |= GL_STENCIL_BUFFER_BIT;
  }
  glClear(mask);
}
void OpenGlSink::ClearColor(float r, float g, float b, float a) { glClearColor(r, g, b, a); }
void OpenGlSink::Viewport(int x, int y, int w, int h) { glViewport(x, y, w, h); }
void OpenGlSink::MatrixMode(unsigned mode) { glMatrixMode(mode); }
void OpenGlSink::LoadIdentity() { glLoadIdentity(); }
void OpenGlSink::Perspective(double fovy, double aspect, double n, double f) {
  gluPerspective(fovy, aspect, n, f);
}
void OpenGlSink::LookAt(double ex, double ey, double ez, double cx, double cy, double cz,
                        double ux, double uy, double uz) {
  gluLookAt(ex, ey, ez, cx, cy, cz, ux, uy, uz);
}
void OpenGlSink::Enable(unsigned cap) { glEnable(cap); }
void OpenGlSink::BlendFunc(unsigned s, unsigned d) { glBlendFunc(s, d); }
void OpenGlSink::ShadeModel(unsigned mode) { glShadeModel(mode); }
void OpenGlSink::PolygonMode(unsigned face, unsigned mode) { glPolygonMode(face, mode); }
void OpenGlSink::Materialfv(unsigned face, unsigned pname, const float* p) {
  glMaterialfv(face, pname, p);
}
void OpenGlSink::Materialf(unsigned face, unsigned pname, float v) { glMaterialf(face, pname, v); }
void OpenGlSink::Lightfv(unsigned light, unsigned pname, const float* p) {
  glLightfv(light, pname, p);
}
void OpenGlSink::RasterPos2f(float x, float y) { glRasterPos2f(x, y); }
unsigned OpenGlSink::GenLists(int range) { return glGenLists(range); }
void OpenGlSink::DeleteLists(unsigned list, int range) {
  if (strings_ != nullptr) strings_->ListsDeleted(list, range);
  glDeleteLists(list, range);
}
void OpenGlSink::PushAttrib(unsigned mask) { glPushAttrib(mask); }
void OpenGlSink::PopAttrib() { glPopAttrib(); }
void OpenGlSink::ListBase(unsigned base) { glListBase(base); }
void OpenGlSink::CallLists(int n, unsigned type, const void* lists) {
  if (strings_ != nullptr && type == GL_UNSIGNED_BYTE && n > 0 && lists != nullptr &&
      strings_->CallString(n, static_cast<const unsigned char*>(lists))) {
    return;
  }
  glCallLists(n, type, lists);
}

}  // namespace qv
