#pragma once
// The process's hold on SDL: events and the timer start at once (they need no
// display), video only when something needs a window, a renderer or a display mode,
// so that a program without a window can use the clock and the queue headless.

namespace platform::sdl {

class Session {
public:
    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Starts SDL's video subsystem on first use. False when no real display can be
    // reached: SDL would otherwise fall back to its invisible offscreen driver.
    bool video();
    bool videoStarted() const { return startedVideo; }

private:
    bool startedVideo = false;
    bool videoFailed = false;
};

}  // namespace platform::sdl
