#pragma once
// Everything the game remembers between frames, held in one statically
// initialised instance (`Game::state`): screen flags and timers, the menu, the
// board and the falling pair, and the quarter turn in progress.
#include <cstdint>

#include "game/board.h"
#include "game/game.h"
#include "platform/d3d_types.h"

namespace Game {

enum class ButtonAction { NONE, START_GAME, QUIT };

struct MenuButton {
    std::int32_t x = 0;
    std::int32_t y = 0;
    float width = 0.0f;
    float height = 0.0f;
    float alpha = 0.0f;
    float delay = 0.0f;  // drawn once the menu's stateTimer has reached it
    Texture* Textures::*normal = nullptr;
    Texture* Textures::*hover = nullptr;
    ButtonAction action = ButtonAction::NONE;
};

constexpr int MENU_BUTTON_COUNT = 5;

// Where the second piece sits relative to its anchor: the values of
// `State::orientation`, in the order a quarter turn steps through them.
namespace Orientation {
constexpr std::int32_t RIGHT = 1;
constexpr std::int32_t BELOW = 2;
constexpr std::int32_t LEFT = 3;
constexpr std::int32_t ABOVE = 4;
}  // namespace Orientation

struct State {
    // Screens.
    bool introActive = true;
    bool introFadeIn = true;
    bool introFadeOut = false;
    bool menuActive = false;
    bool playActive = false;
    float stateTimer = 0.0f;  // intro phases, button schedule and fall timer
    float fadeAlpha = 0.0f;
    float logoAlpha = 0.0f;
    std::int32_t titleX = 5;
    std::int32_t titleY = -306;
    platform::Point cursor;  // client pixels, read each menu frame
    bool mouseDown = false;
    bool escapePrevious = false;
    // The window is destroyed once; later quit requests find it gone.
    bool windowDestroyed = false;
    MenuButton buttons[MENU_BUTTON_COUNT] = {
        {5, 230, 0.0f, 0.0f, 0.0f, 0.2f, &Textures::arcadeButton, &Textures::arcadeButtonOver,
         ButtonAction::START_GAME},
        {5, 300, 0.0f, 0.0f, 0.0f, 0.4f, &Textures::advancedButton, &Textures::advancedButtonOver,
         ButtonAction::NONE},
        {5, 370, 0.0f, 0.0f, 0.0f, 0.6f, &Textures::optionsButton, &Textures::optionsButtonOver,
         ButtonAction::NONE},
        {5, 440, 0.0f, 0.0f, 0.0f, 0.8f, &Textures::creditsButton, &Textures::creditsButtonOver,
         ButtonAction::NONE},
        {5, 510, 0.0f, 0.0f, 0.0f, 1.0f, &Textures::quitButton, &Textures::quitButtonOver,
         ButtonAction::QUIT},
    };

    // Board and falling pair (positions in field coordinates).
    Board board;
    std::int32_t pivotX = 0;
    std::int32_t pivotY = 0;
    std::int32_t pivotKind = 0;
    bool pivotFalling = false;
    // The second piece's anchor, not its cell: the cell lies beside the anchor
    // on the side `orientation` names (RIGHT: one cell right of it, and so on).
    // The anchor's x always equals pivotX.
    std::int32_t secondX = 0;
    std::int32_t secondY = 0;
    std::int32_t secondKind = 0;
    bool secondFalling = false;
    std::int32_t orientation = 0;  // an Orientation value; 0 before the first pair
    std::int32_t nextPivotKind = 0;
    std::int32_t nextSecondKind = 0;
    bool leftPrevious = false;
    bool rightPrevious = false;
    bool upPrevious = false;
    bool rotationLatch = false;
    bool fallDue = false;

    // Quarter turn.
    bool rotating = false;
    bool rotationStart = false;
    bool rotationDone = false;
    float rotationAngle = 0.0f;
    std::int32_t turnX = 0;
    std::int32_t turnY = 0;
};

extern State state;

// Puts every variable of `state` back to its value at program start (tests);
// `textures` is left alone.
void resetState();

}  // namespace Game
