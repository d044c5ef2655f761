// The menu: the menu picture fades in, the title slides down and five buttons
// grow one after another. Arcade starts a game, quit and Escape leave.
#include "game/game.h"
#include "game/game_state.h"
#include "game/key_edges.h"
#include "game/pictures.h"
#include "graphics/graphics.h"
#include "platform/platform.h"

namespace Game {

namespace {

constexpr float PICTURE_RATE = 150.0f;  // alpha per second
constexpr float TITLE_SPEED = 50.0f;    // pixels per second
constexpr std::int32_t TITLE_REST_Y = 5;
constexpr float BUTTON_ALPHA_RATE = 100.0f;
constexpr float BUTTON_WIDTH_RATE = 140.0f;
constexpr float BUTTON_HEIGHT_RATE = 50.0f;
constexpr float BUTTON_WIDTH = 229.0f;
constexpr float BUTTON_HEIGHT = 50.0f;

void grow(float& value, float rate, float dt, float limit) {
    value += rate * dt;
    if (value > limit) {
        value = limit;
    }
}

// Strictly inside the rectangle of the button's normal picture.
bool cursorOver(const MenuButton& button) {
    const Texture* picture = textures.*button.normal;
    const platform::Point& cursor = state.cursor;
    return button.x < cursor.x && cursor.x < button.x + picture->getWidth() &&
           button.y < cursor.y && cursor.y < button.y + picture->getHeight();
}

void startGame() {
    state.menuActive = false;
    state.playActive = true;
    state.stateTimer = 0.0f;
    clearBoard();
}

void click(const MenuButton& button) {
    switch (button.action) {
        case ButtonAction::START_GAME:
            startGame();
            break;
        case ButtonAction::QUIT:
            quit();
            break;
        case ButtonAction::NONE:
            break;
    }
}

void drawButtons(float dt) {
    for (MenuButton& button : state.buttons) {
        if (state.stateTimer < button.delay) {
            continue;
        }
        grow(button.alpha, BUTTON_ALPHA_RATE, dt, OPAQUE);
        grow(button.width, BUTTON_WIDTH_RATE, dt, BUTTON_WIDTH);
        grow(button.height, BUTTON_HEIGHT_RATE, dt, BUTTON_HEIGHT);
        // Drawn with its grown size as both scale and source, the button is
        // revealed from its top-left corner.
        Texture* picture = textures.*(cursorOver(button) ? button.hover : button.normal);
        drawPicture(picture, button.x, button.y, static_cast<std::int32_t>(button.width),
                    static_cast<std::int32_t>(button.height), fadeColour(button.alpha));
    }
}

}  // namespace

void updateMenu(float dt) {
    platform::Input& input = platform::current().input();
    state.cursor = input.cursorPosition(Graphics::getWindow());
    state.mouseDown = input.keyDown(platform::vk::LBUTTON);
    grow(state.fadeAlpha, PICTURE_RATE, dt, OPAQUE);

    // Level-triggered: a button held down counts on every menu frame, whether
    // or not the button has been drawn yet.
    if (state.mouseDown) {
        for (const MenuButton& button : state.buttons) {
            if (button.action != ButtonAction::NONE && cursorOver(button)) {
                click(button);
            }
        }
    }

    if (readKey(platform::vk::ESCAPE, state.escapePrevious) == KeyChange::PRESSED) {
        quit();
    }

    if (Graphics::beginFrame()) {
        state.titleY = static_cast<std::int32_t>(state.titleY + TITLE_SPEED * dt);
        if (state.titleY > TITLE_REST_Y) {
            state.titleY = TITLE_REST_Y;
        }
        drawPicture(textures.menuPicture, 0, 0, 348, 600, fadeColour(state.fadeAlpha));
        if (state.fadeAlpha == OPAQUE) {
            state.stateTimer += dt;
            drawButtons(dt);
            drawPicture(textures.title, state.titleX, state.titleY, 306, 155, 0xFFFFFFFFu);
        }
        Graphics::endFrame();
    }
}

}  // namespace Game
