#pragma once
// The sink bound to the current OpenGL context of the calling thread.

#include "render/gl_sink.h"

namespace qv {

// Draws a string of display lists (glCallLists on character codes) in fewer
// driver calls than one list per code, drawing the same pixels.
class ListStringDrawer {
 public:
  virtual ~ListStringDrawer() = default;
  // Draws codes[0 .. n - 1] through the current list base as glCallLists
  // would; false when it cannot, and nothing was drawn.
  virtual bool CallString(int n, const unsigned char* codes) = 0;
  // Lists first .. first + range - 1 of the current context are deleted.
  virtual void ListsDeleted(unsigned first, int range) = 0;
};

class OpenGlSink final : public GlSink {
 public:
  // Null (the default): every list of a CallLists is called by itself.
  void SetStringDrawer(ListStringDrawer* drawer) { strings_ = drawer; }

  void PushMatrix() override;
  void PopMatrix() override;
  void Translatef(float x, float y, float z) override;
  void Rotatef(float angle, float x, float y, float z) override;
  void PointSize(float size) override;
  void Begin(unsigned mode) override;
  void End() override;
  void Color4f(float r, float g, float b, float a) override;
  void Vertex3f(float x, float y, float z) override;
  void DrawKind(int kind, const SceneState& scene, const GeometryStore& store) override;

  void Clear(unsigned mask) override;
  void ClearColor(float r, float g, float b, float a) override;
  void Viewport(int x, int y, int width, int height) override;
  void MatrixMode(unsigned mode) override;
  void LoadIdentity() override;
  void Perspective(double fovy, double aspect, double z_near, double z_far) override;
  void LookAt(double ex, double ey, double ez, double cx, double cy, double cz, double ux,
              double uy, double uz) override;
  void Enable(unsigned cap) override;
  void BlendFunc(unsigned src, unsigned dst) override;
  void ShadeModel(unsigned mode) override;
  void PolygonMode(unsigned face, unsigned mode) override;
  void Materialfv(unsigned face, unsigned pname, const float* params) override;
  void Materialf(unsigned face, unsigned pname, float param) override;
  void Lightfv(unsigned light, unsigned pname, const float* params) override;
  void RasterPos2f(float x, float y) override;
  unsigned GenLists(int range) override;
  void DeleteLists(unsigned list, int range) override;
  void PushAttrib(unsigned mask) override;
  void PopAttrib() override;
  void ListBase(unsigned base) override;
  void CallLists(int n, unsigned type, const void* lists) override;

 private:
  ListStringDrawer* strings_ = nullptr;
};

}  // namespace qv
