// A stand-in for the programs that lend the saver a window: a screen-saver
// daemon's window or a control panel's preview area. It makes one plain
// window, prints its id, and then obeys commands on stdin so that a test can
// look at what the saver drew, resize the window or destroy it.
//
//   x-host-window WIDTH HEIGHT [X Y]
//   stdin:  pixels X Y W H   -> "pixels LIT TOTAL" (non-black pixels of the
//                               window's contents, children included)
//           child            -> "child ID NAME" of the first child, or "child none"
//           resize W H       -> "ok" once the server has it
//           destroy          -> "ok" once the window is gone
//           quit
//
// Pixels are read from the root window over the area, so what a child of
// ours drew (with its own visual) is counted too.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

namespace {

int IgnoreErrors(Display*, XErrorEvent*) {
  return 0;
}

long CountLit(Display* d, Window w, int x, int y, int width, int height, long* total) {
  *total = 0;
  int rx = 0, ry = 0;
  Window child = 0;
  XTranslateCoordinates(d, w, DefaultRootWindow(d), x, y, &rx, &ry, &child);
  XImage* image = XGetImage(d, DefaultRootWindow(d), rx, ry, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (image == nullptr) return -1;
  long lit = 0;
  for (int j = 0; j < height; ++j) {
    for (int i = 0; i < width; ++i) {
      if ((XGetPixel(image, i, j) & 0xFFFFFFul) != 0) ++lit;
      ++*total;
    }
  }
  XDestroyImage(image);
  return lit;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s WIDTH HEIGHT [X Y]\n", argv[0]);
    return 2;
  }
  const int width = std::atoi(argv[1]);
  const int height = std::atoi(argv[2]);
  const int left = argc > 4 ? std::atoi(argv[3]) : 0;
  const int top = argc > 4 ? std::atoi(argv[4]) : 0;
  Display* d = XOpenDisplay(nullptr);
  if (d == nullptr) {
    std::fprintf(stderr, "x-host-window: no display\n");
    return 1;
  }
  XSetErrorHandler(IgnoreErrors);
  const int screen = DefaultScreen(d);
  Window w = XCreateSimpleWindow(d, RootWindow(d, screen), left, top, static_cast<unsigned>(width),
                                 static_cast<unsigned>(height), 0, BlackPixel(d, screen),
                                 BlackPixel(d, screen));
  XStoreName(d, w, "x-host-window");
  // Without a window manager the position asked for is the position kept.
  XSizeHints hints{};
  hints.flags = PPosition | USPosition;
  hints.x = left;
  hints.y = top;
  XSetWMNormalHints(d, w, &hints);
  XSelectInput(d, w, StructureNotifyMask);
  XMapWindow(d, w);
  for (;;) {
    XEvent e;
    XNextEvent(d, &e);
    if (e.type == MapNotify) break;
  }
  std::cout << "0x" << std::hex << w << std::dec << std::endl;

  bool alive = true;
  std::string line;
  while (std::getline(std::cin, line)) {
    std::istringstream in(line);
    std::string command;
    in >> command;
    if (command == "pixels") {
      int x = 0, y = 0, pw = 0, ph = 0;
      in >> x >> y >> pw >> ph;
      long total = 0;
      const long lit = alive ? CountLit(d, w, x, y, pw, ph, &total) : -1;
      std::cout << "pixels " << lit << ' ' << total << std::endl;
    } else if (command == "child") {
      Window root = 0, parent = 0, *children = nullptr;
      unsigned count = 0;
      std::string answer = "child none";
      if (alive && XQueryTree(d, w, &root, &parent, &children, &count) && count > 0) {
        char* name = nullptr;
        XFetchName(d, children[0], &name);
        std::ostringstream out;
        out << "child 0x" << std::hex << children[0] << ' ' << (name ? name : "");
        answer = out.str();
        if (name) XFree(name);
      }
      if (children) XFree(children);
      std::cout << answer << std::endl;
    } else if (command == "resize") {
      unsigned rw = 0, rh = 0;
      in >> rw >> rh;
      XResizeWindow(d, w, rw, rh);
      XSync(d, False);
      std::cout << "ok" << std::endl;
    } else if (command == "destroy") {
      XDestroyWindow(d, w);
      XSync(d, False);
      alive = false;
      std::cout << "ok" << std::endl;
    } else if (command == "quit") {
      break;
    }
  }
  XCloseDisplay(d);
  return 0;
}
