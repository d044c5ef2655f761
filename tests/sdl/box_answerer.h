#pragma once
// Answers a message box while the test waits in the call that shows it. The
// answering runs in a program of its own (box_answerer_main.cpp): SDL shows a box
// from a forked child, and a thread of the test busy in Xlib at that moment would
// leave the child stuck on a lock nobody releases.
//
// The helper presses the key once a box with the caption is mapped and has the
// focus. A box still open after the limit is closed, its owner cut off the X server
// and, failing that, the child showing it killed, so a test never waits for an
// answer nobody gives.
#include <sys/types.h>

#include <chrono>
#include <string>

namespace sdltest {

class BoxAnswerer {
public:
    BoxAnswerer(const std::string& caption, const std::string& key,
                std::chrono::milliseconds limit = std::chrono::seconds(15));
    ~BoxAnswerer();  // the helper never outlives its test
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    // Nobody answered within the limit, so the box was closed by force. Call it
    // once the call that showed the box has returned.
    bool forcedClosed();

private:
    pid_t helper = -1;
    int helperExit = -1;
};

// How the helper ends.
enum BoxAnswererExit { BOX_ANSWERED = 0, BOX_FORCED_CLOSED = 3, BOX_NO_DISPLAY = 4 };

}  // namespace sdltest
