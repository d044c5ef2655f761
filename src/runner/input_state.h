#pragma once
// The keyboard and mouse as game scripts see them during one frame: what is
// down, and what went down or up since the previous frame. Polled once per
// frame, so every script of a frame sees the same answers, and a key pressed
// and released between two polls still counts as pressed (and released) once.
#include <array>
#include <cstdint>

#include "platform/platform.h"

namespace runner {

struct KeyEdges {
    bool down = false;
    bool pressed = false;
    bool released = false;
};

// One key's state this frame from whether it was down at the previous poll and
// whether the platform says it is down now or went down since the previous query
// (GetAsyncKeyState's answer). Only that one answer is used: the message-queue
// key state of Windows lags behind it, and mixing the two would see one press
// twice. A press and release between two polls is down and pressed in one frame
// and released in the next.
KeyEdges keyEdges(bool wasDown, bool downOrPressedSince);

class InputState {
public:
    // Reads every named key and the cursor in the window's client pixels.
    void poll(platform::Input& input, platform::WindowHandle window);

    const KeyEdges& key(int virtualKey) const { return keys[virtualKey & 0xFF]; }
    platform::Point cursor() const { return cursorPosition; }

private:
    std::array<KeyEdges, 256> keys{};
    platform::Point cursorPosition;
};

}  // namespace runner
