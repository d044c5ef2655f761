#include "runner/input_state.h"

#include "runner/key_names.h"

namespace runner {

KeyEdges keyEdges(bool wasDown, bool downOrPressedSince) {
    KeyEdges edges;
    edges.down = downOrPressedSince;
    edges.pressed = downOrPressedSince && !wasDown;
    edges.released = wasDown && !downOrPressedSince;
    return edges;
}

void InputState::poll(platform::Input& input, platform::WindowHandle window) {
    for (const int virtualKey : namedVirtualKeys()) {
        KeyEdges& slot = keys[virtualKey & 0xFF];
        slot = keyEdges(slot.down, input.keyPressed(virtualKey));
    }
    cursorPosition = input.cursorPosition(window);
}

}  // namespace runner
