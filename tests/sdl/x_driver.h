#pragma once
// Drives the test's X server the way a person at its keyboard and mouse would,
// through the XTEST extension on a connection of its own. Every step is sent and
// synchronised before it returns, and every wait is bounded, so nothing acts
// after its test has ended and no key is left held down for the next test.
#include <X11/Xlib.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace sdltest {

class XDriver {
public:
    XDriver();
    ~XDriver();  // releases whatever is still held
    XDriver(const XDriver&) = delete;
    XDriver& operator=(const XDriver&) = delete;

    bool connected() const { return display != nullptr; }

    // Asks the window manager to activate the window.
    void activate(Window window);
    bool viewable(Window window);
    // The window, or one inside it, has the keyboard focus.
    bool focused(Window window);
    // The pointer is over the window, at (x, y) of it when those are given.
    bool pointerOver(Window window, int x = -1, int y = -1);

    // A window manager has put the window into a frame of its own.
    bool framed(Window window);
    // The window's size as the X server has it: {0, 0} for no such window.
    std::pair<int, int> size(Window window);
    // The colour (0xRRGGBB) shown on the screen at (x, y).
    std::uint32_t screenPixel(int x, int y);

    // Key presses by key symbol name ("Left", "Return", "alt+F4").
    void tap(const std::string& keys);
    void press(const std::string& key);
    void release(const std::string& key);
    // Moves the pointer to (x, y) of the window, or of the screen for None.
    void movePointer(Window window, int x, int y);
    void pressButton(unsigned button);
    void releaseButton(unsigned button);

    // Lets go of every key and button this driver holds down.
    void releaseAll();
    // Keys the server holds down; empty unless something lost a release.
    std::vector<std::string> keysHeldDown();

    // A client window whose title (_NET_WM_NAME) is `title`, or None.
    Window findTitled(const std::string& title);
    // Asks the window to close, as a window manager's close button does.
    void askToClose(Window window);
    // Cuts the window's owner off the server: the last resort for a stuck client.
    void disconnectOwner(Window window);

private:
    unsigned keycode(const std::string& key);
    // A 32-bit client message of the type about the window, its first datum given.
    XEvent clientMessage(Window window, const char* type, long first);
    void sync();

    Display* display = nullptr;
    std::vector<unsigned> heldKeys;
    std::vector<unsigned> heldButtons;
};

// Polls `condition` every 20 ms until it holds or `limit` has passed.
template <typename Condition>
bool waitFor(Condition condition, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        struct timespec pause {
            0, 20'000'000
        };
        nanosleep(&pause, nullptr);
    }
    return true;
}

}  // namespace sdltest
