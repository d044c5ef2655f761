#include "runner/input_state.h"

#include "runner/key_names.h"

namespace runner {

KeyEdges keyEdges(bool wasDown, bool downNow, bool pressedSince) {
    KeyEdges edges;
    edges.down = downNow;
    // Up now but seen going down: a tap inside one frame, pressed and released.
    const bool tapped = !downNow && pressedSince && !wasDown;
    edges.pressed = (downNow && !wasDown) || tapped;
    edges.released = (wasDown && !downNow) || tapped;
    return edges;
}

void InputState::poll(platform::Input& input, platform::WindowHandle window) {
    for (const int virtualKey : namedVirtualKeys()) {
        // Asked first: the "pressed since" latch must be cleared every frame.
        const bool pressedSince = input.keyPressed(virtualKey);
        const bool downNow = input.keyDown(virtualKey);
        KeyEdges& slot = keys[virtualKey & 0xFF];
        slot = keyEdges(slot.down, downNow, pressedSince);
    }
    cursorPosition = input.cursorPosition(window);
}

}  // namespace runner
