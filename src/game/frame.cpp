#include "game/game.h"
#include "game/game_state.h"

namespace Game {

void frame(float dt) {
    // Each flag is read when its turn comes, so a screen switched on by an
    // earlier one runs in this same call.
    if (state.introActive) {
        updateIntro(dt);
    }
    if (state.menuActive) {
        updateMenu(dt);
    }
    if (state.playActive) {
        updatePlay(dt);
    }
}

}  // namespace Game
