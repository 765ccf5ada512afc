// Asks a top-level window, by name, to close as a window manager does (WM_DELETE_WINDOW).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {
Window findNamed(Display* display, Window window, const char* name) {
    char* windowName = nullptr;
    if (XFetchName(display, window, &windowName) && windowName != nullptr) {
        const bool same = std::strcmp(windowName, name) == 0;
        XFree(windowName);
        if (same) return window;
    }
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && found == 0; ++i) found = findNamed(display, children[i], name);
        if (children != nullptr) XFree(children);
    }
    return found;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) { std::fprintf(stderr, "usage: %s WINDOW-NAME\n", argv[0]); return 2; }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) { std::fprintf(stderr, "x_close_window: no display\n"); return 1; }
    Window window = 0;
    // A minute at least, for a show starting on a loaded machine.
    for (int tries = 0; tries < 1200 && window == 0; ++tries) {
        window = findNamed(display, DefaultRootWindow(display), argv[1]);
        if (window == 0) usleep(50000);
    }
    if (window == 0) { std::fprintf(stderr, "x_close_window: no window named %s\n", argv[1]); return 1; }
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XCloseDisplay(display);
    return 0;
}
