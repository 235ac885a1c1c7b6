#pragma once
// The part of a platform's loop that is the same on every platform: which
// handler an event becomes, the order of creation, activation and closing,
// and the requests a front-end makes of its loop. Each platform's loop
// waits for its own events and hands them to one Driver.

#include <atomic>

#include "app/front_end.h"
#include "app/host.h"

namespace qv {

class Driver {
 public:
  explicit Driver(FrontEnd& front) : front_(front) {}
  Driver(const Driver&) = delete;
  Driver& operator=(const Driver&) = delete;

  FrontEnd& front() { return front_; }

  void Create();
  // Every activation of the window, the first one when it is shown.
  void Activate();
  // Platforms that only report keyboard focus: the window is activated
  // again when it regains the focus it lost.
  void FocusLost();
  void FocusGained();
  void Resize();
  void Tick();
  void Key(int key);
  void MouseMove();
  void Paint();
  // The close steps now, at most once in the life of the window (the
  // system's close, a stop signal, the host window gone); the loop ends.
  void Close();

  // Requests of the front-end, from any thread; acted on once the handler
  // that is running has returned.
  void RequestClose() { close_requested_.store(true); }
  void Terminate() { terminate_requested_.store(true); }
  // Acts on the requests that are pending; for requests made outside a
  // handler (another thread).
  void Settle();

  bool ended() const { return ended_; }
  bool closed() const { return closed_; }
  bool created() const { return created_; }

 private:
  template <class F>
  void Run(F handler);

  FrontEnd& front_;
  std::atomic<bool> close_requested_{false};
  std::atomic<bool> terminate_requested_{false};
  bool created_ = false;
  bool focus_lost_ = false;
  bool closed_ = false;
  bool ended_ = false;
  // A handler that leads to another (a box's own loop delivering a tick)
  // must not settle requests under the one still running.
  int depth_ = 0;
};

// A platform window's side of the requests: passed to the loop's Driver and
// the loop woken, from whichever thread asks.
class DrivenWindow : public HostWindow {
 public:
  void Bind(Driver& driver) { driver_ = &driver; }

  void RequestClose() override {
    if (driver_ != nullptr) driver_->RequestClose();
    Wake();
  }
  void Terminate() override {
    if (driver_ != nullptr) driver_->Terminate();
    Wake();
  }
  // Invalidating a window twice still gives one paint.
  void Invalidate() override {
    if (!paint_requested_.exchange(true)) Wake();
  }
  // A paint was asked for; clears the request.
  bool TakePaintRequest() { return paint_requested_.exchange(false); }

 protected:
  // Makes the loop look at the requests soon; called from any thread.
  virtual void Wake() = 0;

 private:
  Driver* driver_ = nullptr;
  std::atomic<bool> paint_requested_{false};
};

}  // namespace qv
