// The intro: the screen fades to white and the logo fades in (8 s), then both
// fade away (5 s) and the menu takes over. Reads no input.
#include "game/game.h"
#include "game/game_state.h"
#include "game/pictures.h"
#include "graphics/graphics.h"

namespace Game {

namespace {

constexpr float FADE_IN_SECONDS = 8.0f;
constexpr float FADE_OUT_SECONDS = 5.0f;
constexpr float WHITE_RATE = 100.0f;  // alpha per second
constexpr float LOGO_RATE = 150.0f;

// The 32 x 32 white picture stretched over the whole back buffer.
void drawWhite() {
    Graphics::drawSprite(textures.whiteFade, 0, 0, 32, 32, 0, 0, 800, 600,
                         fadeColour(state.fadeAlpha), 0, 0, 0);
}

void drawLogo() {
    Texture* logo = textures.logo;
    drawPicture(logo, 400 - logo->getWidth() / 2, 300 - logo->getHeight() / 2, 400, 100,
                fadeColour(state.logoAlpha));
}

}  // namespace

void updateIntro(float dt) {
    state.stateTimer += dt;
    if (state.stateTimer >= FADE_IN_SECONDS && state.introFadeIn) {
        state.introFadeIn = false;
        state.introFadeOut = true;
        state.stateTimer = 0.0f;
    }
    if (state.stateTimer >= FADE_OUT_SECONDS && state.introFadeOut) {
        state.introFadeOut = false;
        state.introActive = false;
        state.menuActive = true;
        state.stateTimer = 0.0f;
    }

    if (state.introFadeIn && Graphics::beginFrame()) {
        state.fadeAlpha += WHITE_RATE * dt;
        if (state.fadeAlpha > OPAQUE) {
            state.fadeAlpha = OPAQUE;
        }
        drawWhite();
        if (state.fadeAlpha == OPAQUE) {
            state.logoAlpha += LOGO_RATE * dt;
            if (state.logoAlpha > OPAQUE) {
                state.logoAlpha = OPAQUE;
            }
            drawLogo();
        }
        Graphics::endFrame();
    }

    if (state.introFadeOut && Graphics::beginFrame()) {
        state.fadeAlpha -= WHITE_RATE * dt;
        if (state.fadeAlpha < 0.0f) {
            state.fadeAlpha = 0.0f;
        }
        drawWhite();
        state.logoAlpha -= LOGO_RATE * dt;
        if (state.logoAlpha < 0.0f) {
            state.logoAlpha = 0.0f;
        }
        drawLogo();
        Graphics::endFrame();
    }
}

}  // namespace Game
