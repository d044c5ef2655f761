#include "x_driver.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <mutex>

namespace sdltest {

namespace {

std::vector<std::string> split(const std::string& chord) {
    std::vector<std::string> keys;
    std::size_t start = 0;
    while (true) {
        const std::size_t plus = chord.find('+', start);
        keys.push_back(chord.substr(start, plus - start));
        if (plus == std::string::npos) {
            return keys;
        }
        start = plus + 1;
    }
}

// The modifier names people write, as key symbols.
std::string keysymName(const std::string& key) {
    if (key == "alt") {
        return "Alt_L";
    }
    if (key == "ctrl") {
        return "Control_L";
    }
    if (key == "shift") {
        return "Shift_L";
    }
    return key;
}

// Windows the driver asks about may go away at any moment (a box closing, a test
// window destroyed): errors on the driver's own connections mean "not there" and
// must not end the program as Xlib's default handler would. Errors on any other
// connection (SDL's) go to the handler that was there before.
std::mutex driversLock;
std::vector<Display*> drivers;
XErrorHandler previousHandler = nullptr;

int ignoreDriverErrors(Display* display, XErrorEvent* error) {
    {
        std::lock_guard<std::mutex> lock(driversLock);
        if (std::find(drivers.begin(), drivers.end(), display) != drivers.end()) {
            return 0;
        }
    }
    return previousHandler != nullptr ? previousHandler(display, error) : 0;
}

// SDL sets handlers of its own as it goes, so this is put back before every
// question that may name a vanished window.
void installHandler() {
    XErrorHandler previous = XSetErrorHandler(&ignoreDriverErrors);
    if (previous != &ignoreDriverErrors) {
        previousHandler = previous;
    }
}

void addDriver(Display* display) {
    std::lock_guard<std::mutex> lock(driversLock);
    installHandler();
    drivers.push_back(display);
}

void removeDriver(Display* display) {
    std::lock_guard<std::mutex> lock(driversLock);
    drivers.erase(std::remove(drivers.begin(), drivers.end(), display), drivers.end());
}

}  // namespace

XDriver::XDriver() {
    display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return;
    }
    addDriver(display);
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
        removeDriver(display);
        XCloseDisplay(display);
        display = nullptr;
    }
}

XDriver::~XDriver() {
    if (display == nullptr) {
        return;
    }
    releaseAll();
    removeDriver(display);
    XCloseDisplay(display);
}

void XDriver::releaseAll() {
    if (display == nullptr) {
        return;
    }
    for (auto it = heldKeys.rbegin(); it != heldKeys.rend(); ++it) {
        XTestFakeKeyEvent(display, *it, False, CurrentTime);
    }
    for (unsigned button : heldButtons) {
        XTestFakeButtonEvent(display, button, False, CurrentTime);
    }
    heldKeys.clear();
    heldButtons.clear();
    sync();
}

void XDriver::sync() {
    {
        std::lock_guard<std::mutex> lock(driversLock);
        installHandler();
    }
    XSync(display, False);
}

unsigned XDriver::keycode(const std::string& key) {
    const KeySym symbol = XStringToKeysym(keysymName(key).c_str());
    return symbol == NoSymbol ? 0 : XKeysymToKeycode(display, symbol);
}

XEvent XDriver::clientMessage(Window window, const char* type, long first) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, type, False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = first;
    event.xclient.data.l[1] = CurrentTime;
    return event;
}

void XDriver::activate(Window window) {
    // From a pager (2): the window manager obeys without question.
    XEvent event = clientMessage(window, "_NET_ACTIVE_WINDOW", 2);
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    sync();
}

bool XDriver::viewable(Window window) {
    sync();
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
}

bool XDriver::focused(Window window) {
    sync();
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    // The focus may rest on a window inside the one asked about.
    while (focus != None && focus != PointerRoot) {
        if (focus == window) {
            return true;
        }
        Window root = None, parent = None;
        Window* children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display, focus, &root, &parent, &children, &count) == 0) {
            return false;
        }
        if (children != nullptr) {
            XFree(children);
        }
        if (parent == root) {
            return false;
        }
        focus = parent;
    }
    return false;
}

bool XDriver::pointerOver(Window window, int x, int y) {
    sync();
    Window root = None, child = None;
    int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
    unsigned mask = 0;
    if (!XQueryPointer(display, window, &root, &child, &rootX, &rootY, &windowX, &windowY, &mask)) {
        return false;
    }
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0) {
        return false;
    }
    const bool inside =
        windowX >= 0 && windowY >= 0 && windowX < attributes.width && windowY < attributes.height;
    if (x < 0) {
        return inside;
    }
    return inside && windowX == x && windowY == y;
}

bool XDriver::framed(Window window) {
    sync();
    Window root = None, parent = None;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) {
        return false;
    }
    if (children != nullptr) {
        XFree(children);
    }
    return parent != root;
}

std::pair<int, int> XDriver::size(Window window) {
    sync();
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0) {
        return {0, 0};
    }
    return {attributes.width, attributes.height};
}

std::uint32_t XDriver::screenPixel(int x, int y) {
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return 0xFFFFFFFFu;
    }
    const auto pixel = static_cast<std::uint32_t>(XGetPixel(image, 0, 0) & 0xFFFFFF);
    XDestroyImage(image);
    return pixel;
}

void XDriver::press(const std::string& key) {
    const unsigned code = keycode(key);
    if (code == 0) {
        return;
    }
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    heldKeys.push_back(code);
    sync();
}

void XDriver::release(const std::string& key) {
    const unsigned code = keycode(key);
    if (code == 0) {
        return;
    }
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    heldKeys.erase(std::remove(heldKeys.begin(), heldKeys.end(), code), heldKeys.end());
    sync();
}

void XDriver::tap(const std::string& keys) {
    const std::vector<std::string> chord = split(keys);
    for (const std::string& key : chord) {
        press(key);
    }
    for (auto it = chord.rbegin(); it != chord.rend(); ++it) {
        release(*it);
    }
}

void XDriver::movePointer(Window window, int x, int y) {
    int rootX = x, rootY = y;
    if (window != None) {
        Window child = None;
        XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &rootX, &rootY,
                              &child);
    }
    XTestFakeMotionEvent(display, DefaultScreen(display), rootX, rootY, CurrentTime);
    sync();
}

void XDriver::pressButton(unsigned button) {
    XTestFakeButtonEvent(display, button, True, CurrentTime);
    heldButtons.push_back(button);
    sync();
}

void XDriver::releaseButton(unsigned button) {
    XTestFakeButtonEvent(display, button, False, CurrentTime);
    heldButtons.erase(std::remove(heldButtons.begin(), heldButtons.end(), button),
                      heldButtons.end());
    sync();
}

std::vector<std::string> XDriver::keysHeldDown() {
    char keys[32];
    XQueryKeymap(display, keys);
    std::vector<std::string> names;
    for (unsigned code = 8; code < 256; ++code) {
        if ((keys[code / 8] & (1 << (code % 8))) == 0) {
            continue;
        }
        const char* name = XKeysymToString(XkbKeycodeToKeysym(display, code, 0, 0));
        names.push_back(name != nullptr ? name : std::to_string(code));
    }
    return names;
}

Window XDriver::findTitled(const std::string& title) {
    sync();
    const Atom clientList = XInternAtom(display, "_NET_CLIENT_LIST", False);
    const Atom nameAtom = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, DefaultRootWindow(display), clientList, 0, 1024, False,
                           XA_WINDOW, &type, &format, &count, &after, &data) != Success ||
        data == nullptr) {
        return None;
    }
    Window found = None;
    const auto* windows = reinterpret_cast<Window*>(data);
    for (unsigned long i = 0; i < count && found == None; ++i) {
        unsigned char* name = nullptr;
        unsigned long length = 0;
        if (XGetWindowProperty(display, windows[i], nameAtom, 0, 1024, False, utf8, &type, &format,
                               &length, &after, &name) == Success &&
            name != nullptr) {
            if (title == std::string(reinterpret_cast<char*>(name), length)) {
                found = windows[i];
            }
            XFree(name);
        }
    }
    XFree(data);
    return found;
}

void XDriver::askToClose(Window window) {
    const auto deleteWindow = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XEvent event = clientMessage(window, "WM_PROTOCOLS", deleteWindow);
    XSendEvent(display, window, False, NoEventMask, &event);
    sync();
}

void XDriver::disconnectOwner(Window window) {
    XKillClient(display, window);
    sync();
}

}  // namespace sdltest
