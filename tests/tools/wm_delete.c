/* Asks an X window to close as a window manager does when its close box is
 * clicked: a WM_PROTOCOLS client message carrying WM_DELETE_WINDOW. Unlike
 * destroying the window or a signal, this runs the program's own close.
 * scripts/prove-package.sh uses it where no window manager runs.
 *
 *   wm_delete WINDOW_ID
 */
#include <X11/Xlib.h>

#include <stdio.h>
#include <stdlib.h>

int main(int argc, char **argv) {
    if (argc != 2) {
        fputs("usage: wm_delete WINDOW_ID\n", stderr);
        return 2;
    }
    Display *display = XOpenDisplay(NULL);
    if (!display) {
        fputs("wm_delete: cannot open the display\n", stderr);
        return 1;
    }
    XEvent event = {0};
    event.xclient.type = ClientMessage;
    event.xclient.window = (Window)strtoul(argv[1], NULL, 0);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    event.xclient.data.l[1] = CurrentTime;
    if (!XSendEvent(display, event.xclient.window, False, NoEventMask, &event)) {
        fputs("wm_delete: the message could not be sent\n", stderr);
        return 1;
    }
    XCloseDisplay(display);
    return 0;
}
