#pragma once
// The one interface through which a platform drives a front-end: the
// handlers of its window, named after their events, and the description of
// the window it wants. A front-end never runs a loop of its own.

namespace qv {

// One frame per tick of the saver's and the settings window's timer.
inline constexpr int kFrameIntervalMs = 31;

enum class WindowKind {
  // Borderless, top-most, taking the keyboard.
  kFullScreen,
  // A framed, resizable window that keeps its controls below the picture.
  kDialog,
  // A child of a host's window, or a small top-most pop-up without one;
  // painted on request only.
  kPreview,
};

struct WindowSpec {
  const char* caption;
  WindowKind kind;
  // Design place and outer size; FormCreate usually replaces them.
  int left, top, width, height;
  // 0: no timer, frames come from paint requests.
  int timer_interval_ms;
};

class FrontEnd {
 public:
  virtual ~FrontEnd() = default;
  virtual const WindowSpec& Spec() const = 0;

  virtual void FormCreate() = 0;
  virtual void FormActivate() = 0;
  virtual void FormResize() = 0;
  virtual void TimerTimer() = 0;
  virtual void FormKeyDown(int key) = 0;
  virtual void FormMouseMove() = 0;
  // The close steps: the front-end's own close, a close the system asks
  // for, a stop signal or the host window gone.
  virtual void FormClose() = 0;
  virtual void FormPaint() = 0;
};

}  // namespace qv
