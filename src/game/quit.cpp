#include "game/game.h"
#include "game/game_state.h"
#include "graphics/graphics.h"
#include "platform/platform.h"

namespace Game {

void quit() {
    // Several quit requests can meet in one frame (quit button and Escape);
    // the window handle is dead after the first.
    if (state.windowDestroyed) {
        return;
    }
    state.windowDestroyed = true;
    platform::current().windowing().destroyWindow(Graphics::getWindow());
}

}  // namespace Game
