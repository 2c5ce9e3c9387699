// first_frame: starts a program and reports how long it took until its
// window was on the screen, mapped and painted all over.
//
//   first_frame [--timeout-ms N] [--trace] PROGRAM [ARGS...]
//
// Runs on the X display in $DISPLAY, which should have no window manager,
// so that the program's own top-level window is a child of the root window.
// The X DAMAGE extension reports every rectangle drawn into a window. A
// window counts as painted once it is mapped and every one of its pixels has
// been drawn at least once since it was created: a window whose background
// is "none", as toolkits make them, shows nothing of its own until then.
//
// Prints one line: the milliseconds from just before the program was started
// to the DAMAGE report that completed the first painted window, then that
// window's size, and the program's resident memory and page faults at that
// moment. The program is then ended. Exit status 0 on a measurement, 1
// otherwise. --trace also lists every window event and drawn rectangle on
// standard error.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <signal.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Watched {
  Damage damage = 0;
  int width = 0;
  int height = 0;
  bool mapped = false;
  std::vector<unsigned char> drawn;  // one byte per pixel, 1 once drawn
  long undrawn = 0;

  void resize(int w, int h) {
    if (w == width && h == height) return;
    width = w;
    height = h;
    drawn.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    undrawn = static_cast<long>(w) * h;
  }
  void mark(int x, int y, int w, int h) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + w, width), y1 = std::min(y + h, height);
    for (int row = y0; row < y1; ++row) {
      unsigned char* p = &drawn[static_cast<size_t>(row) * width];
      for (int col = x0; col < x1; ++col) {
        undrawn -= p[col] == 0;
        p[col] = 1;
      }
    }
  }
  bool painted() const { return mapped && width > 0 && undrawn == 0; }
};

long residentKilobytes(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

// Page faults so far: minor and major, from /proc/PID/stat.
long pageFaults(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const size_t close = text.rfind(')');
  if (close == std::string::npos) return -1;
  // After the name: state ppid pgrp session tty_nr tpgid flags minflt cminflt majflt.
  std::istringstream fields(text.substr(close + 2));
  std::string field;
  long minor = 0, major = 0;
  for (int i = 1; i <= 10 && fields >> field; ++i) {
    if (i == 8) minor = std::strtol(field.c_str(), nullptr, 10);
    if (i == 10) major = std::strtol(field.c_str(), nullptr, 10);
  }
  return minor + major;
}

int xErrors(Display*, XErrorEvent*) { return 0; }  // a window may go away under us

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  long timeoutMs = 10000;
  bool trace = false;
  while (first < argc) {
    if (std::strcmp(argv[first], "--timeout-ms") == 0 && first + 1 < argc) {
      timeoutMs = std::strtol(argv[first + 1], nullptr, 10);
      first += 2;
    } else if (std::strcmp(argv[first], "--trace") == 0) {
      trace = true;
      ++first;
    } else {
      break;
    }
  }
  if (first >= argc) {
    std::fprintf(stderr, "usage: first_frame [--timeout-ms N] [--trace] PROGRAM [ARGS...]\n");
    return 1;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "first_frame: cannot open the display\n");
    return 1;
  }
  XSetErrorHandler(xErrors);
  int damageEvent = 0, damageError = 0;
  if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
    std::fprintf(stderr, "first_frame: the display has no DAMAGE extension\n");
    return 1;
  }
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);

  const Clock::time_point start = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    close(ConnectionNumber(display));
    execvp(argv[first], argv + first);
    std::perror("first_frame: exec");
    _exit(127);
  }

  std::map<Window, Watched> windows;
  const int fd = ConnectionNumber(display);
  const Clock::time_point deadline = start + std::chrono::milliseconds(timeoutMs);
  int status = 1;
  bool done = false;
  while (!done) {
    if (XPending(display) == 0) {
      const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
      if (left.count() <= 0) {
        std::fprintf(stderr, "first_frame: no painted window within %ld ms\n", timeoutMs);
        break;
      }
      if (waitpid(child, nullptr, WNOHANG) == child) {
        std::fprintf(stderr, "first_frame: the program ended before it showed a window\n");
        return 1;
      }
      fd_set readable;
      FD_ZERO(&readable);
      FD_SET(fd, &readable);
      timeval tv{0, static_cast<suseconds_t>(std::min<long>(left.count(), 100000))};
      select(fd + 1, &readable, nullptr, nullptr, &tv);
      continue;
    }
    XEvent event;
    XNextEvent(display, &event);
    const Clock::time_point now = Clock::now();
    const double ms = std::chrono::duration<double, std::milli>(now - start).count();
    if (event.type == CreateNotify) {
      // Watched from its creation, so that no drawing is missed.
      if (trace) {
        std::fprintf(stderr, "%8.2f create 0x%lx %dx%d\n", ms, event.xcreatewindow.window,
                     event.xcreatewindow.width, event.xcreatewindow.height);
      }
      Watched& w = windows[event.xcreatewindow.window];
      w.resize(event.xcreatewindow.width, event.xcreatewindow.height);
      w.damage = XDamageCreate(display, event.xcreatewindow.window, XDamageReportRawRectangles);
      XFlush(display);
    } else if (event.type == ConfigureNotify) {
      auto it = windows.find(event.xconfigure.window);
      if (it != windows.end()) it->second.resize(event.xconfigure.width, event.xconfigure.height);
    } else if (event.type == MapNotify) {
      if (trace) std::fprintf(stderr, "%8.2f map 0x%lx\n", ms, event.xmap.window);
      auto it = windows.find(event.xmap.window);
      if (it != windows.end()) it->second.mapped = true;
    } else if (event.type == UnmapNotify) {
      auto it = windows.find(event.xunmap.window);
      if (it != windows.end()) it->second.mapped = false;
    } else if (event.type == damageEvent + XDamageNotify) {
      const auto& d = reinterpret_cast<const XDamageNotifyEvent&>(event);
      if (trace) {
        std::fprintf(stderr, "%8.2f drawn 0x%lx %dx%d+%d+%d\n", ms, d.drawable, d.area.width, d.area.height,
                     d.area.x, d.area.y);
      }
      auto it = windows.find(d.drawable);
      if (it == windows.end()) continue;
      Watched& w = it->second;
      w.resize(d.geometry.width, d.geometry.height);
      w.mark(d.area.x, d.area.y, d.area.width, d.area.height);
      // Tiny helper windows (a selection owner, an input stub) do not count.
      if (w.painted() && w.width >= 64 && w.height >= 64) {
        std::printf("%.2f ms %dx%d rss=%ld kB faults=%ld\n", ms, w.width, w.height, residentKilobytes(child),
                    pageFaults(child));
        std::fflush(stdout);
        status = 0;
        done = true;
      }
    }
  }
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  XCloseDisplay(display);
  return status;
}
