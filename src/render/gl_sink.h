#pragma once
// The one narrow door through which the scene reaches OpenGL. The enumerants
// below carry OpenGL's own values, so a real sink passes them straight on.

#include <cstddef>

namespace qv {

struct SceneState;
struct GeometryStore;

namespace gl {
inline constexpr unsigned kPoints = 0x0000;
inline constexpr unsigned kTriangles = 0x0004;
inline constexpr unsigned kQuads = 0x0007;

inline constexpr unsigned kColorBufferBit = 0x00004000;
inline constexpr unsigned kDepthBufferBit = 0x00000100;
inline constexpr unsigned kListBit = 0x00020000;

inline constexpr unsigned kProjection = 0x1701;

inline constexpr unsigned kAlphaTest = 0x0BC0;
inline constexpr unsigned kDepthTest = 0x0B71;
inline constexpr unsigned kColorMaterial = 0x0B57;
inline constexpr unsigned kBlend = 0x0BE2;
inline constexpr unsigned kLighting = 0x0B50;
inline constexpr unsigned kLight0 = 0x4000;
inline constexpr unsigned kLight1 = 0x4001;

inline constexpr unsigned kSrcAlpha = 0x0302;
inline constexpr unsigned kOneMinusSrcAlpha = 0x0303;
inline constexpr unsigned kSmooth = 0x1D01;

inline constexpr unsigned kFront = 0x0404;
inline constexpr unsigned kBack = 0x0405;
inline constexpr unsigned kFrontAndBack = 0x0408;
inline constexpr unsigned kFill = 0x1B02;

inline constexpr unsigned kDiffuse = 0x1201;
inline constexpr unsigned kSpecular = 0x1202;
inline constexpr unsigned kPosition = 0x1203;
inline constexpr unsigned kShininess = 0x1601;

inline constexpr unsigned kUnsignedByte = 0x1401;
}  // namespace gl

// Every call the scene makes. Each concrete sink is declared final and
// implements DrawKind with DrawKindWith(*this, ...), so the renderers' inner
// loops are compiled against the concrete type and call it directly, with no
// virtual dispatch per vertex; everything else goes through the virtual table.
class GlSink {
 public:
  virtual ~GlSink() = default;

  // Renderer primitives (the stream of one flower).
  virtual void PushMatrix() = 0;
  virtual void PopMatrix() = 0;
  virtual void Translatef(float x, float y, float z) = 0;
  virtual void Rotatef(float angle, float x, float y, float z) = 0;
  virtual void PointSize(float size) = 0;
  virtual void Begin(unsigned mode) = 0;
  virtual void End() = 0;
  virtual void Color4f(float r, float g, float b, float a) = 0;
  virtual void Vertex3f(float x, float y, float z) = 0;

  // Draws flower kind 0..11 with the renderers instantiated for this sink.
  virtual void DrawKind(int kind, const SceneState& scene, const GeometryStore& store) = 0;

  // Frame and set-up calls.
  virtual void Clear(unsigned mask) = 0;
  virtual void ClearColor(float r, float g, float b, float a) = 0;
  virtual void Viewport(int x, int y, int width, int height) = 0;
  virtual void MatrixMode(unsigned mode) = 0;
  virtual void LoadIdentity() = 0;
  virtual void Perspective(double fovy, double aspect, double z_near, double z_far) = 0;
  virtual void LookAt(double eye_x, double eye_y, double eye_z, double center_x, double center_y,
                      double center_z, double up_x, double up_y, double up_z) = 0;
  virtual void Enable(unsigned cap) = 0;
  virtual void BlendFunc(unsigned src, unsigned dst) = 0;
  virtual void ShadeModel(unsigned mode) = 0;
  virtual void PolygonMode(unsigned face, unsigned mode) = 0;
  virtual void Materialfv(unsigned face, unsigned pname, const float* params) = 0;
  virtual void Materialf(unsigned face, unsigned pname, float param) = 0;
  virtual void Lightfv(unsigned light, unsigned pname, const float* params) = 0;
  virtual void RasterPos2f(float x, float y) = 0;
  virtual unsigned GenLists(int range) = 0;
  virtual void DeleteLists(unsigned list, int range) = 0;
  virtual void PushAttrib(unsigned mask) = 0;
  virtual void PopAttrib() = 0;
  virtual void ListBase(unsigned base) = 0;
  virtual void CallLists(int n, unsigned type, const void* lists) = 0;
};

// Calls the renderer of `kind` against the concrete sink type S.
template <class S>
void DrawKindWith(S& sink, int kind, const SceneState& scene, const GeometryStore& store);

}  // namespace qv
