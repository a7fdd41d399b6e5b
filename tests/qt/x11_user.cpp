// A user at an X display without a window manager, for the dialog program's
// test: waits for the program's window (by its class name), presses Escape and
// Enter in it through the XTEST extension, then closes it as a window manager's
// close button does (WM_DELETE_WINDOW). Usage: x11_user PROGRAM
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstring>
#include <initializer_list>
#include <unistd.h>

namespace {

// A mapped top-level window of the program, or None.
Window findWindow(Display* display, const char* program) {
    Window root = DefaultRootWindow(display), parent = None, *children = nullptr;
    unsigned count = 0;
    Window found = None;
    XQueryTree(display, root, &root, &parent, &children, &count);
    for (unsigned i = 0; i < count && found == None; ++i) {
        XWindowAttributes attributes;
        XClassHint hint{};
        if (XGetWindowAttributes(display, children[i], &attributes) &&
            attributes.map_state == IsViewable && XGetClassHint(display, children[i], &hint)) {
            if (std::strcmp(hint.res_name, program) == 0) found = children[i];
            XFree(hint.res_name);
            XFree(hint.res_class);
        }
    }
    if (children != nullptr) XFree(children);
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    Display* display = argc == 2 ? XOpenDisplay(nullptr) : nullptr;
    if (display == nullptr) return 2;
    Window window = None;
    for (int tries = 0; tries < 200 && window == None; ++tries, usleep(50000))
        window = findWindow(display, argv[1]);
    if (window == None) return 1;
    usleep(300000);  // let the program settle its focus
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    for (KeySym key : {XK_Escape, XK_Return}) {
        XTestFakeKeyEvent(display, XKeysymToKeycode(display, key), True, CurrentTime);
        XTestFakeKeyEvent(display, XKeysymToKeycode(display, key), False, CurrentTime);
    }
    XSync(display, False);
    usleep(500000);
    if (findWindow(display, argv[1]) != window) return 1;  // the keys closed it
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, window, False, NoEventMask, &event);
    XCloseDisplay(display);
    return 0;
}
