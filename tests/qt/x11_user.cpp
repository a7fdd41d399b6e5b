// A user at an X display, for the dialog program's test: waits for a window by
// its caption, presses keys in it through the XTEST extension and closes it as
// a window manager's close button does (WM_DELETE_WINDOW).
// Usage: x11_user CAPTION ACTION...; the actions work on the window of CAPTION
// until focus:CAPTION2 waits for another window and works on that one:
// key:NAME (an X key name such as Return, Escape or Tab), open:CAPTION and
// gone:CAPTION (whether a window of that caption is open), wait:MS, minimize
// and restore (as a window manager does them), close.
// Exit status 0 when every action succeeded.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>

namespace {

std::string captionOf(Display* display, Window window) {
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string caption;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data != nullptr) {
        caption.assign(reinterpret_cast<char*>(data), count);
    }
    if (data != nullptr) XFree(data);
    return caption;
}

// A mapped window with the caption anywhere under `root`, or None.
Window findWindow(Display* display, Window root, std::string_view caption) {
    Window parent = None, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) return None;
    Window found = None;
    for (unsigned i = 0; i < count && found == None; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, children[i], &attributes) &&
            attributes.map_state == IsViewable && captionOf(display, children[i]) == caption) {
            found = children[i];
        }
        if (found == None) found = findWindow(display, children[i], caption);
    }
    if (children != nullptr) XFree(children);
    return found;
}

void pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

Window waitForWindow(Display* display, std::string_view caption) {
    for (int tries = 0; tries < 200; ++tries) {
        Window window = findWindow(display, DefaultRootWindow(display), caption);
        if (window != None) return window;
        pause(50);
    }
    return None;
}

bool pressKey(Display* display, Window window, const char* name) {
    KeySym symbol = XStringToKeysym(name);
    KeyCode code = symbol == NoSymbol ? 0 : XKeysymToKeycode(display, symbol);
    if (code == 0) return false;
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XSync(display, False);
    return true;
}

// What a window manager does to minimize a window and to show it again: the
// window's WM_STATE becomes iconic (3) or normal (1) and the window is unmapped
// or mapped.
void setIconic(Display* display, Window window, bool iconic) {
    Atom wmState = XInternAtom(display, "WM_STATE", False);
    long state[2] = {iconic ? IconicState : NormalState, static_cast<long>(None)};
    XChangeProperty(display, window, wmState, wmState, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(state), 2);
    if (iconic) {
        XUnmapWindow(display, window);
    } else {
        XMapWindow(display, window);
    }
    XSync(display, False);
}

void closeWindow(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: x11_user CAPTION ACTION...\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "x11_user: cannot open the display\n");
        return 2;
    }
    Window window = waitForWindow(display, argv[1]);
    if (window == None) {
        std::fprintf(stderr, "x11_user: no window captioned \"%s\"\n", argv[1]);
        return 1;
    }
    pause(300);  // let the program settle its focus
    for (int i = 2; i < argc; ++i) {
        std::string_view action = argv[i];
        bool ok = true;
        if (action.starts_with("key:")) {
            ok = pressKey(display, window, argv[i] + 4);
            pause(200);
        } else if (action.starts_with("focus:")) {
            window = waitForWindow(display, action.substr(6));
            ok = window != None;
        } else if (action.starts_with("open:")) {
            ok = findWindow(display, DefaultRootWindow(display), action.substr(5)) != None;
        } else if (action.starts_with("gone:")) {
            ok = findWindow(display, DefaultRootWindow(display), action.substr(5)) == None;
        } else if (action.starts_with("wait:")) {
            pause(std::atoi(argv[i] + 5));
        } else if (action == "minimize" || action == "restore") {
            setIconic(display, window, action == "minimize");
            pause(300);
        } else if (action == "close") {
            closeWindow(display, window);
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "x11_user: %s failed\n", argv[i]);
            XCloseDisplay(display);
            return 1;
        }
    }
    XCloseDisplay(display);
    return 0;
}
