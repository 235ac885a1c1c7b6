#include "app/driver.h"

namespace qv {

template <class F>
void Driver::Run(F handler) {
  // Events that a window delivers while it is still being made, or after
  // its end, reach no handler.
  if (!created_ || ended_) return;
  ++depth_;
  handler();
  --depth_;
  if (depth_ == 0) Settle();
}

void Driver::Settle() {
  if (ended_ || depth_ > 0) return;
  if (terminate_requested_.load()) {
    ended_ = true;
    return;
  }
  if (close_requested_.load()) Close();
}

void Driver::Create() {
  if (created_) return;
  created_ = true;
  Run([this] { front_.FormCreate(); });
}

void Driver::Activate() {
  focus_lost_ = false;
  Run([this] { front_.FormActivate(); });
}

void Driver::FocusLost() {
  focus_lost_ = true;
}

void Driver::FocusGained() {
  if (focus_lost_) Activate();
}

void Driver::Resize() {
  Run([this] { front_.FormResize(); });
}

void Driver::Tick() {
  Run([this] { front_.TimerTimer(); });
}

void Driver::Key(int key) {
  Run([this, key] { front_.FormKeyDown(key); });
}

void Driver::MouseMove() {
  Run([this] { front_.FormMouseMove(); });
}

void Driver::Paint() {
  Run([this] { front_.FormPaint(); });
}

void Driver::Close() {
  if (closed_ || ended_) {
    ended_ = true;
    return;
  }
  closed_ = true;
  if (created_) {
    ++depth_;
    front_.FormClose();
    --depth_;
  }
  ended_ = true;
}

}  // namespace qv
