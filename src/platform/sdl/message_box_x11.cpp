#include "platform/sdl/message_box_x11.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/sdl/stop_signals.h"

namespace qv {

namespace {

constexpr int kMargin = 16;
constexpr int kMarkSize = 32;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 24;
// The OK button's centre sits 28 pixels above the bottom edge.
constexpr int kButtonBottomGap = 16;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

struct Box {
  Display* d = nullptr;
  Window w = 0;
  GC gc = nullptr;
  XFontStruct* font = nullptr;
  std::vector<std::string> lines;
  int width = 0, height = 0;
  int button_x = 0, button_y = 0;
  bool pressed = false;

  bool InButton(int x, int y) const {
    return x >= button_x && x < button_x + kButtonWidth && y >= button_y &&
           y < button_y + kButtonHeight;
  }

  void Draw() {
    const unsigned long black = BlackPixel(d, DefaultScreen(d));
    const unsigned long white = WhitePixel(d, DefaultScreen(d));
    XSetForeground(d, gc, 0xD8D8D8 & (white | 0xFFFFFF));
    XFillRectangle(d, w, gc, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height));
    // The error mark: a red disc with a white cross.
    XSetForeground(d, gc, 0xC81E1E);
    XFillArc(d, w, gc, kMargin, kMargin, kMarkSize, kMarkSize, 0, 360 * 64);
    XSetForeground(d, gc, white);
    XSetLineAttributes(d, gc, 3, LineSolid, CapRound, JoinRound);
    const int a = kMargin + 10, b = kMargin + kMarkSize - 10;
    XDrawLine(d, w, gc, a, a, b, b);
    XDrawLine(d, w, gc, a, b, b, a);
    XSetLineAttributes(d, gc, 1, LineSolid, CapButt, JoinMiter);
    XSetForeground(d, gc, black);
    const int line_height = font->ascent + font->descent;
    int y = kMargin + font->ascent;
    for (const std::string& line : lines) {
      XDrawString(d, w, gc, kMargin * 2 + kMarkSize, y, line.c_str(),
                  static_cast<int>(line.size()));
      y += line_height;
    }
    XSetForeground(d, gc, pressed ? 0xB0B0B0 : 0xF0F0F0);
    XFillRectangle(d, w, gc, button_x, button_y, kButtonWidth, kButtonHeight);
    XSetForeground(d, gc, black);
    XDrawRectangle(d, w, gc, button_x, button_y, kButtonWidth - 1, kButtonHeight - 1);
    const char* ok = "OK";
    const int ok_width = XTextWidth(font, ok, 2);
    XDrawString(d, w, gc, button_x + (kButtonWidth - ok_width) / 2,
                button_y + (kButtonHeight + font->ascent - font->descent) / 2, ok, 2);
    XFlush(d);
  }
};

void SetTitle(Display* d, Window w, const char* caption) {
  XStoreName(d, w, caption);
  const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
  XChangeProperty(d, w, XInternAtom(d, "_NET_WM_NAME", False), utf8, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(caption),
                  static_cast<int>(std::strlen(caption)));
  const Atom type = XInternAtom(d, "_NET_WM_WINDOW_TYPE", False);
  const Atom dialog = XInternAtom(d, "_NET_WM_WINDOW_TYPE_DIALOG", False);
  XChangeProperty(d, w, type, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&dialog), 1);
}

// Where the box goes: centred on its owner when it has a visible one,
// otherwise on the screen.
void Centre(Display* d, unsigned long owner, int width, int height, int* x, int* y) {
  int cx = DisplayWidth(d, DefaultScreen(d)) / 2, cy = DisplayHeight(d, DefaultScreen(d)) / 2;
  XWindowAttributes a{};
  if (owner != 0 && XGetWindowAttributes(d, owner, &a) != 0 && a.map_state == IsViewable) {
    Window child = 0;
    int ox = 0, oy = 0;
    XTranslateCoordinates(d, owner, DefaultRootWindow(d), 0, 0, &ox, &oy, &child);
    cx = ox + a.width / 2;
    cy = oy + a.height / 2;
  }
  *x = std::max(0, cx - width / 2);
  *y = std::max(0, cy - height / 2);
}

int IgnoreXErrors(Display*, XErrorEvent*) {
  return 0;
}

}  // namespace

void ShowMessageBox(const char* caption, const std::string& text, unsigned long owner) {
  if (StopRequested()) return;
  Box box;
  box.d = XOpenDisplay(nullptr);
  if (box.d == nullptr) {
    std::fprintf(stderr, "quorvelian: (no message box: cannot open the display)\n");
    return;
  }
  Display* d = box.d;
  // An owner that has just gone is no reason to end; the errors of this
  // connection are looked at by nobody.
  XErrorHandler previous = XSetErrorHandler(IgnoreXErrors);
  box.font = XLoadQueryFont(d, "-misc-fixed-medium-r-normal--13-*-*-*-*-*-iso8859-1");
  if (box.font == nullptr) box.font = XLoadQueryFont(d, "fixed");
  if (box.font == nullptr) {
    std::fprintf(stderr, "quorvelian: (no message box: the X server has no core fonts)\n");
    XSetErrorHandler(previous);
    XCloseDisplay(d);
    return;
  }
  box.lines = Lines(text);
  int text_width = 0;
  for (const std::string& line : box.lines) {
    text_width =
        std::max(text_width, XTextWidth(box.font, line.c_str(), static_cast<int>(line.size())));
  }
  const int line_height = box.font->ascent + box.font->descent;
  const int text_height = std::max(kMarkSize, line_height * static_cast<int>(box.lines.size()));
  box.width = std::max(kMargin * 3 + kMarkSize + text_width, kButtonWidth + 2 * kMargin);
  box.height = kMargin + text_height + kMargin + kButtonHeight + kButtonBottomGap;
  box.button_x = (box.width - kButtonWidth) / 2;
  box.button_y = box.height - kButtonBottomGap - kButtonHeight;

  int x = 0, y = 0;
  Centre(d, owner, box.width, box.height, &x, &y);
  XSetWindowAttributes swa{};
  swa.event_mask =
      ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask;
  swa.background_pixel = 0xD8D8D8;
  box.w = XCreateWindow(d, DefaultRootWindow(d), x, y, static_cast<unsigned>(box.width),
                        static_cast<unsigned>(box.height), 0, CopyFromParent, InputOutput,
                        CopyFromParent, CWEventMask | CWBackPixel, &swa);
  SetTitle(d, box.w, caption);
  if (owner != 0) XSetTransientForHint(d, box.w, owner);
  XSizeHints hints{};
  hints.flags = PPosition | PMinSize | PMaxSize;
  hints.x = x;
  hints.y = y;
  hints.min_width = hints.max_width = box.width;
  hints.min_height = hints.max_height = box.height;
  XSetWMNormalHints(d, box.w, &hints);
  Atom delete_window = XInternAtom(d, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(d, box.w, &delete_window, 1);
  box.gc = XCreateGC(d, box.w, 0, nullptr);
  XSetFont(d, box.gc, box.font->fid);
  XMapRaised(d, box.w);
  XFlush(d);

  bool open = true;
  while (open && !StopRequested()) {
    while (open && XPending(d) > 0) {
      XEvent e;
      XNextEvent(d, &e);
      switch (e.type) {
        case MapNotify:
          // Without a window manager the keyboard would follow the pointer.
          XSetInputFocus(d, box.w, RevertToParent, CurrentTime);
          break;
        case Expose:
          if (e.xexpose.count == 0) box.Draw();
          break;
        case KeyPress: {
          const KeySym key = XLookupKeysym(&e.xkey, 0);
          if (key == XK_Return || key == XK_KP_Enter || key == XK_Escape || key == XK_space) {
            open = false;
          }
          break;
        }
        case ButtonPress:
          box.pressed = e.xbutton.button == Button1 && box.InButton(e.xbutton.x, e.xbutton.y);
          box.Draw();
          break;
        case ButtonRelease:
          if (box.pressed && box.InButton(e.xbutton.x, e.xbutton.y)) open = false;
          box.pressed = false;
          if (open) box.Draw();
          break;
        case ClientMessage:
          if (static_cast<Atom>(e.xclient.data.l[0]) == delete_window) open = false;
          break;
        case DestroyNotify:
          open = false;
          break;
        default:
          break;
      }
    }
    if (!open) break;
    pollfd fds[2] = {{ConnectionNumber(d), POLLIN, 0}, {WakeFd(), POLLIN, 0}};
    poll(fds, WakeFd() >= 0 ? 2 : 1, 200);
  }
  XFreeGC(d, box.gc);
  XDestroyWindow(d, box.w);
  XFreeFont(d, box.font);
  XSync(d, False);
  XSetErrorHandler(previous);
  XCloseDisplay(d);
}

}  // namespace qv
