// A user at an X display, for the dialog program's test: finds the program's
// window by its class name, presses keys in it through the XTEST extension, minimizes and
// restores it as a window manager does, and closes it as a window manager's
// close button does (WM_DELETE_WINDOW).
// Usage: x11_user PROGRAM ACTION...; an action is key:NAME (an X key name such
// as Return or Escape), minimize, restore, open (the window is still shown) or
// close. Exit status 0 when every action succeeded.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <thread>

namespace {

std::string classOf(Display* display, Window window) {
    XClassHint hint{};
    if (!XGetClassHint(display, window, &hint)) return {};
    std::string name = hint.res_name != nullptr ? hint.res_name : "";
    XFree(hint.res_name);
    XFree(hint.res_class);
    return name;
}

// A mapped window of the program anywhere under `root`, or None.
Window findWindow(Display* display, Window root, std::string_view program) {
    Window parent = None, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) return None;
    Window found = None;
    for (unsigned i = 0; i < count && found == None; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, children[i], &attributes) &&
            attributes.map_state == IsViewable && classOf(display, children[i]) == program) {
            found = children[i];
        }
        if (found == None) found = findWindow(display, children[i], program);
    }
    if (children != nullptr) XFree(children);
    return found;
}

void pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool act(Display* display, Window window, std::string_view program, std::string_view action) {
    if (action.starts_with("key:")) {
        const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(std::string(action.substr(4)).c_str()));
        if (code == 0) return false;
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        XTestFakeKeyEvent(display, code, True, CurrentTime);
        XTestFakeKeyEvent(display, code, False, CurrentTime);
    } else if (action == "minimize" || action == "restore") {
        // The window's WM_STATE becomes iconic or normal, and the window is unmapped or mapped.
        const Atom wmState = XInternAtom(display, "WM_STATE", False);
        long state[2] = {action == "minimize" ? IconicState : NormalState, static_cast<long>(None)};
        XChangeProperty(display, window, wmState, wmState, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(state), 2);
        if (action == "minimize") XUnmapWindow(display, window); else XMapWindow(display, window);
    } else if (action == "open") {
        return findWindow(display, DefaultRootWindow(display), program) == window;
    } else if (action == "close") {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, window, False, NoEventMask, &event);
    } else {
        return false;
    }
    XSync(display, False);
    pause(300);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Display* display = argc > 2 ? XOpenDisplay(nullptr) : nullptr;
    if (display == nullptr) {
        std::fprintf(stderr, "usage: x11_user PROGRAM ACTION..., on an X display\n");
        return 2;
    }
    Window window = None;
    for (int tries = 0; tries < 200 && window == None; ++tries, pause(50))
        window = findWindow(display, DefaultRootWindow(display), argv[1]);
    pause(300);  // let the program settle its focus
    for (int i = 2; i < argc; ++i) {
        if (window == None || !act(display, window, argv[1], argv[i])) {
            std::fprintf(stderr, "x11_user: %s failed\n", argv[i]);
            return 1;
        }
    }
    XCloseDisplay(display);
    return 0;
}
