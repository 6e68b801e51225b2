/* Waits until a window whose name begins with PREFIX is mapped on the X
   display and prints the time (seconds since the epoch). wine_start.sh starts
   it before the program: it is told of every top-level window the window
   manager maps, so it costs nothing while the program starts and adds no
   delay of its own (xdotool's --sync looks only every half second, and
   asking often takes processor time from the program being timed).
   Exits 1 after SECONDS (default 60) without such a window. */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <time.h>

static double Now(void) {
  struct timespec t;
  clock_gettime(CLOCK_REALTIME, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

/* True when window or a window below it (the window manager's frame holds
   the program's window) is named with prefix. */
static int Named(Display* display, Window window, const char* prefix, int depth) {
  char* name = NULL;
  int found = XFetchName(display, window, &name) && name &&
              strncmp(name, prefix, strlen(prefix)) == 0;
  if (name) XFree(name);
  if (found || depth == 0) return found;
  Window root, parent, *children = NULL;
  unsigned int count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
  for (unsigned int i = 0; i < count && !found; ++i) {
    found = Named(display, children[i], prefix, depth - 1);
  }
  if (children) XFree(children);
  return found;
}

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: map_probe PREFIX [SECONDS]\n");
    return 2;
  }
  const double limit = Now() + (argc > 2 ? atof(argv[2]) : 60);
  Display* display = XOpenDisplay(NULL);
  if (!display) return 1;
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);
  printf("ready\n");
  fflush(stdout);
  const int fd = ConnectionNumber(display);
  while (Now() < limit) {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && Named(display, event.xmap.window, argv[1], 3)) {
        printf("%.3f\n", Now());
        return 0;
      }
    }
    fd_set wait;
    FD_ZERO(&wait);
    FD_SET(fd, &wait);
    struct timeval tick = {0, 100000};
    select(fd + 1, &wait, NULL, NULL, &tick);
  }
  return 1;
}
