/* Prints the cursor the X server shows whenever it changes: the time (seconds
   since the epoch), the cursor's serial, size and name. watch_window.sh runs
   it beside the window to see when the hourglass comes and goes. */
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

static double Now(void) {
  struct timespec t;
  clock_gettime(CLOCK_REALTIME, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? atof(argv[1]) : 10;
  Display* display = XOpenDisplay(NULL);
  if (!display) return 1;
  unsigned long last = 0;
  const double start = Now();
  while (Now() - start < seconds) {
    XFixesCursorImage* cursor = XFixesGetCursorImage(display);
    if (cursor) {
      if (cursor->cursor_serial != last) {
        char* name = cursor->atom ? XGetAtomName(display, cursor->atom) : NULL;
        printf("%.3f serial=%lu %dx%d name=%s\n", Now(), cursor->cursor_serial, cursor->width,
               cursor->height, name ? name : "-");
        fflush(stdout);
        if (name) XFree(name);
        last = cursor->cursor_serial;
      }
      XFree(cursor);
    }
    usleep(2000);
  }
  XCloseDisplay(display);
  return 0;
}
