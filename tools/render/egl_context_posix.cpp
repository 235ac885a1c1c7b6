#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "egl_context.h"
#include "gl/opengl_headers.h"

namespace qv::render_tool {

struct OffscreenContext::Impl {
  EGLDisplay display = EGL_NO_DISPLAY;
  EGLSurface surface = EGL_NO_SURFACE;
  EGLContext context = EGL_NO_CONTEXT;
};

namespace {

[[noreturn]] void Fail(const std::string& step) {
  char code[32];
  std::snprintf(code, sizeof code, " (EGL error 0x%04x)", static_cast<unsigned>(eglGetError()));
  throw std::runtime_error("offscreen OpenGL: " + step + code);
}

bool HasExtension(const char* list, const char* name) {
  if (list == nullptr) return false;
  const std::size_t n = std::strlen(name);
  for (const char* p = std::strstr(list, name); p != nullptr; p = std::strstr(p + n, name)) {
    if ((p == list || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0')) return true;
  }
  return false;
}

EGLDisplay OpenDisplay() {
  // Surfaceless needs no X server and no render node permissions beyond
  // what llvmpipe asks for, which is what CI has.
  const char* client = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  if (HasExtension(client, "EGL_MESA_platform_surfaceless")) {
    auto get_platform_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (get_platform_display != nullptr) {
      EGLDisplay d = get_platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
      if (d != EGL_NO_DISPLAY && eglInitialize(d, nullptr, nullptr)) return d;
    }
  }
  EGLDisplay d = eglGetDisplay(EGL_DEFAULT_DISPLAY);
  if (d == EGL_NO_DISPLAY || !eglInitialize(d, nullptr, nullptr)) Fail("no EGL display");
  return d;
}

}  // namespace

OffscreenContext::OffscreenContext(int width, int height)
    : impl_(std::make_unique<Impl>()), width_(width), height_(height) {
  Impl& s = *impl_;
  s.display = OpenDisplay();
  if (!eglBindAPI(EGL_OPENGL_API)) Fail("desktop OpenGL not offered");

  const EGLint config_attribs[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT,
                                   EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                   EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8,
                                   EGL_ALPHA_SIZE, 8, EGL_DEPTH_SIZE, 24, EGL_NONE};
  EGLConfig config = nullptr;
  EGLint count = 0;
  if (!eglChooseConfig(s.display, config_attribs, &config, 1, &count) || count < 1) {
    Fail("no RGBA pbuffer configuration with a depth buffer");
  }
  const EGLint surface_attribs[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
  s.surface = eglCreatePbufferSurface(s.display, config, surface_attribs);
  if (s.surface == EGL_NO_SURFACE) Fail("cannot create a " + std::to_string(width) + "x" +
                                        std::to_string(height) + " pbuffer");
  // The scene is OpenGL 1.1 immediate mode: ask for the compatibility profile.
  const EGLint context_attribs[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                    EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
  s.context = eglCreateContext(s.display, config, EGL_NO_CONTEXT, context_attribs);
  if (s.context == EGL_NO_CONTEXT) Fail("cannot create a compatibility-profile context");
  if (!eglMakeCurrent(s.display, s.surface, s.surface, s.context)) Fail("cannot make the context current");
}

OffscreenContext::~OffscreenContext() {
  Impl& s = *impl_;
  eglMakeCurrent(s.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (s.context != EGL_NO_CONTEXT) eglDestroyContext(s.display, s.context);
  if (s.surface != EGL_NO_SURFACE) eglDestroySurface(s.display, s.surface);
  eglTerminate(s.display);
}

std::vector<unsigned char> OffscreenContext::ReadPixels() const {
  const auto row = static_cast<std::size_t>(width_) * 4;
  std::vector<unsigned char> bottom_up(row * static_cast<std::size_t>(height_));
  glFinish();
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, bottom_up.data());
  std::vector<unsigned char> top_down(bottom_up.size());
  for (int y = 0; y < height_; ++y) {
    std::memcpy(&top_down[static_cast<std::size_t>(y) * row],
                &bottom_up[static_cast<std::size_t>(height_ - 1 - y) * row], row);
  }
  return top_down;
}

}  // namespace qv::render_tool
