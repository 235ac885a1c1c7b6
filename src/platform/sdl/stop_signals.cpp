#include "platform/sdl/stop_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>

namespace qv {

namespace {

volatile std::sig_atomic_t g_stop = 0;
int g_wake[2] = {-1, -1};

extern "C" void OnStopSignal(int) {
  g_stop = 1;
  WakeLoop();
}

}  // namespace

void CatchStopSignals() {
  if (g_wake[0] >= 0) return;
  if (pipe2(g_wake, O_CLOEXEC | O_NONBLOCK) != 0) g_wake[0] = g_wake[1] = -1;
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a wait in this thread wakes at once; waits in other
  // threads are woken through the pipe.
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  // A server that has gone shows as a failed write on its socket: Xlib then
  // reports the lost connection, which must not be cut short by SIGPIPE.
  signal(SIGPIPE, SIG_IGN);
}

bool StopRequested() {
  return g_stop != 0;
}

int WakeFd() {
  return g_wake[0];
}

void WakeLoop() {
  // write() is safe in a signal handler; a full pipe already wakes.
  if (g_wake[1] >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(g_wake[1], &byte, 1);
  }
}

void DrainWake() {
  if (g_wake[0] < 0) return;
  char buffer[64];
  while (read(g_wake[0], buffer, sizeof buffer) > 0) {
  }
}

}  // namespace qv
