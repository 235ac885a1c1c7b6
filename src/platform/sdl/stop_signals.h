#pragma once
// SIGTERM and SIGINT end every mode: XScreenSaver ends its modules with
// SIGTERM, a terminal with SIGINT. The handler only records the request and
// wakes whatever wait the process is in (the run loop or a message box),
// which then ends the program normally.

namespace qv {

// Installs the handlers; the second call does nothing.
void CatchStopSignals();
bool StopRequested();
// Readable once a stop was requested or WakeLoop was called; for poll().
int WakeFd();
// Wakes a poll() on WakeFd from any thread.
void WakeLoop();
// Empties the wake pipe (the request itself stays recorded).
void DrainWake();

}  // namespace qv
