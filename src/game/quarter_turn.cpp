#include "game/quarter_turn.h"

#include "game/game.h"
#include "game/game_state.h"
#include "game/pictures.h"
#include "graphics/graphics.h"

namespace Game {

namespace {

constexpr std::int32_t CELL = Board::UNITS_PER_CELL;
constexpr float SPIN_RATE = 160.0f;       // degrees per second
constexpr std::int32_t SLIDE_REACH = 33;  // how far the sprite may slide past the pivot

struct Cell {
    std::int32_t y;
    std::int32_t x;
};

// One quarter turn, worked out from the pair's current positions.
struct TurnPlan {
    Cell start;          // cleared when the piece leaves the board
    std::int32_t turnX;  // where the sprite starts
    std::int32_t turnY;
    float speedX;  // pixels per second
    float speedY;
    float target;  // angle at which the turn ends
    Cell landing;  // written whatever it holds
};

TurnPlan planFor(const State& s) {
    switch (s.orientation) {
        case Orientation::RIGHT:  // to below
            return {{s.secondY, s.secondX + CELL},
                    s.secondX + 2 * CELL,
                    s.secondY,
                    -30.0f,
                    50.0f,
                    90.0f,
                    {s.pivotY + CELL, s.pivotX}};
        case Orientation::BELOW:  // to left
            return {{s.pivotY + CELL, s.secondX},
                    s.secondX + CELL,
                    s.secondY + CELL,
                    -30.0f,
                    -30.0f,
                    180.0f,
                    {s.pivotY, s.pivotX - CELL}};
        case Orientation::LEFT:  // to above
            return {{s.pivotY, s.pivotX - CELL}, s.pivotX, s.pivotY, 50.0f, -30.0f, 270.0f,
                    {s.pivotY - CELL, s.pivotX}};
        default:  // ABOVE, to right
            return {
                {s.pivotY - CELL, s.pivotX}, s.pivotX + CELL, s.pivotY - CELL, 50.0f, 50.0f, 360.0f,
                {s.pivotY, s.pivotX + CELL}};
    }
}

// Keeps the sprite from sliding past the pivot on the turns that slide towards it.
void applyLimits(State& s) {
    if (s.orientation == Orientation::RIGHT) {
        if (s.turnY > s.pivotY + SLIDE_REACH) {
            s.turnY = s.pivotY + SLIDE_REACH;
        }
        if (s.turnX < s.pivotX - SLIDE_REACH) {
            s.turnX = s.pivotX - SLIDE_REACH;
        }
    } else if (s.orientation == Orientation::LEFT) {
        if (s.turnY < s.pivotY - SLIDE_REACH) {
            s.turnY = s.pivotY - SLIDE_REACH;
        }
        if (s.turnX > s.pivotX + SLIDE_REACH) {
            s.turnX = s.pivotX + SLIDE_REACH;
        }
    }
}

void drawTurningPiece(const State& s) {
    Texture* picture = pieceTexture(s.secondKind);
    if (picture != nullptr) {
        Graphics::drawSprite(picture, s.turnX, s.turnY, CELL, CELL, 0, 0, CELL, CELL, 0xFFFFFFFFu,
                             CELL / 2, CELL / 2, static_cast<std::int32_t>(s.rotationAngle));
    }
}

}  // namespace

void turnStep(float dt) {
    State& s = state;
    if (s.orientation < Orientation::RIGHT || s.orientation > Orientation::ABOVE) {
        s.rotating = false;  // nothing to turn
        return;
    }
    const TurnPlan plan = planFor(s);
    if (s.rotationStart) {
        s.board.clearField(plan.start.y, plan.start.x);
        s.turnX = plan.turnX;
        s.turnY = plan.turnY;
        s.rotationStart = false;
    }
    if (s.rotationAngle < plan.target) {
        // Whole pixels every step: the fraction is cut towards zero.
        s.turnY = static_cast<std::int32_t>(s.turnY + plan.speedY * dt);
        s.turnX = static_cast<std::int32_t>(s.turnX + plan.speedX * dt);
        applyLimits(s);
        s.rotationAngle += SPIN_RATE * dt;
        if (s.rotationAngle > plan.target) {
            s.rotationAngle = plan.target;
        }
        if (Graphics::beginFrame()) {
            drawPlayScreen();
            drawTurningPiece(s);
            Graphics::endFrame();
        }
    }
    if (s.rotationAngle == plan.target) {
        s.rotationDone = true;
    }
    if (s.rotationDone) {
        s.board.putField(plan.landing.y, plan.landing.x, s.secondKind);
        s.rotationLatch = true;
        s.rotationDone = false;
        s.rotating = false;
        if (s.orientation == Orientation::ABOVE) {
            s.orientation = Orientation::RIGHT;
            s.rotationAngle = 0.0f;
        } else {
            s.orientation += 1;
        }
    }
}

}  // namespace Game
