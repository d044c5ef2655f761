// One step of the play screen: the turn in progress, the due drop, the keys, the
// fall timer, the frame, and the next pair once both pieces have stopped.
#include "game/game.h"
#include "game/game_state.h"
#include "game/key_edges.h"
#include "game/pair.h"
#include "game/quarter_turn.h"
#include "graphics/graphics.h"
#include "platform/platform.h"

namespace Game {

namespace {

constexpr float DROP_INTERVAL = 0.3f;  // seconds between drops

bool bothFalling() { return state.pivotFalling && state.secondFalling; }

}  // namespace

void clearBoard() { state.board.clearForNewGame(); }

void updatePlay(float dt) {
    State& s = state;
    if (s.rotating) {
        turnStep(dt);
    }
    if (s.fallDue) {
        dropPair();
    }
    // While a turn runs the pair stands still: no keys, no timer, no new pair.
    if (s.rotating) {
        return;
    }

    // Sideways moves only while the pair falls whole; the keys are not even
    // looked at otherwise, so a press made meanwhile moves the next pair.
    if (bothFalling() && readKey(platform::vk::LEFT, s.leftPrevious) == KeyChange::PRESSED) {
        moveLeft();
    }
    if (readKey(platform::vk::ESCAPE, s.escapePrevious) == KeyChange::PRESSED) {
        quit();
    }
    if (bothFalling() && readKey(platform::vk::RIGHT, s.rightPrevious) == KeyChange::PRESSED) {
        moveRight();
    }
    switch (readKey(platform::vk::UP, s.upPrevious)) {
        case KeyChange::PRESSED:
            tryStartTurn();
            break;
        case KeyChange::RELEASED:
            s.rotationLatch = false;
            break;
        case KeyChange::NONE:
            break;
    }

    s.stateTimer += dt;
    if (s.stateTimer >= DROP_INTERVAL && !s.rotating) {
        s.fallDue = true;
    }

    if (Graphics::beginFrame()) {
        drawPlayScreen();
        Graphics::endFrame();
    }

    if (!s.pivotFalling && !s.secondFalling) {
        nextPairOrGameOver();
    }
}

}  // namespace Game
