#include "game/key_edges.h"

#include "platform/platform.h"

namespace Game {

KeyChange readKey(int virtualKey, bool& previous) {
    const bool pressed = platform::current().input().keyPressed(virtualKey);
    if (pressed == previous) {
        return KeyChange::NONE;
    }
    previous = pressed;
    return pressed ? KeyChange::PRESSED : KeyChange::RELEASED;
}

}  // namespace Game
