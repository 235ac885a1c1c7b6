#pragma once
// The error message box of the Linux saver, drawn with Xlib in this process:
// a stop signal closes it like its OK button, and no helper process or
// window of it can outlive the saver, whatever ends the saver.

#include <string>

namespace qv {

// Caption, the text, an error mark and an OK button; Return, Enter, Escape,
// space or a click on OK close it. Returns once it is closed or a stop was
// requested. `owner` (an X window, 0 for none) keeps the box above it and
// centred on it. When no box can be shown, says why on stderr.
void ShowMessageBox(const char* caption, const std::string& text, unsigned long owner);

}  // namespace qv
