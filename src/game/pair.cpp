// Positions are field coordinates (32 units per cell, x = 26 + 32 x column,
// y = 30 + 32 x row). The bounds below stop the lower piece in row 15 and keep
// both pieces within columns 0 to 15.
#include "game/pair.h"

#include "game/game.h"
#include "game/game_state.h"

namespace Game {

namespace {

constexpr std::int32_t CELL = Board::UNITS_PER_CELL;
constexpr std::int32_t ENTRY_X = 250;
constexpr std::int32_t ENTRY_Y = 30;
// A piece at y below this is above row 15 and may drop.
constexpr std::int32_t SINGLE_DROP_LIMIT = 500;
// The anchor of a pair whose second piece hangs below it.
constexpr std::int32_t HANGING_DROP_LIMIT = 450;
// The pivot of a pair whose second piece sits above it.
constexpr std::int32_t STANDING_DROP_LIMIT = 480;
// Sideways, an anchor moves left while its x is above a left limit and right
// while below a right limit; a piece beside the anchor needs one column more.
constexpr std::int32_t LEFT_LIMIT = 32;
constexpr std::int32_t LEFT_LIMIT_PIECE_LEFT = 64;
constexpr std::int32_t RIGHT_LIMIT = 480;
constexpr std::int32_t RIGHT_LIMIT_PIECE_RIGHT = 464;

// A side-by-side piece drops alone: it is tested on every drop, and a piece that
// moves does not start falling again.
void dropAlone(std::int32_t& y, std::int32_t x, std::int32_t kind, bool& falling) {
    Board& board = state.board;
    if (y < SINGLE_DROP_LIMIT && board.emptyField(y + CELL, x)) {
        board.clearField(y, x);
        y += CELL;
        board.putField(y, x, kind);
    } else {
        falling = false;
    }
}

void stopPair() {
    state.pivotFalling = false;
    state.secondFalling = false;
}

// A stacked pair drops as one, carrying the piece that is not tested. A turn
// made while one piece of a side-by-side pair had stopped leaves the pivot and
// the anchor in different rows; carried along, the untested piece would go
// through whatever lies below it and past the bottom of the board, so such a
// pair stops where it is.
bool anchorsParted() { return state.pivotY != state.secondY; }

void dropHanging() {
    State& s = state;
    Board& board = s.board;
    if (anchorsParted()) {
        stopPair();
        return;
    }
    if (s.secondY < HANGING_DROP_LIMIT && board.emptyField(s.secondY + 2 * CELL, s.secondX)) {
        board.clearField(s.secondY + CELL, s.secondX);
        s.secondY += CELL;
        board.putField(s.secondY + CELL, s.secondX, s.secondKind);
        board.clearField(s.pivotY, s.pivotX);
        s.pivotY += CELL;
        board.putField(s.pivotY, s.pivotX, s.pivotKind);
    } else {
        stopPair();
    }
}

void dropStanding() {
    State& s = state;
    Board& board = s.board;
    if (anchorsParted()) {
        stopPair();
        return;
    }
    if (s.pivotY < STANDING_DROP_LIMIT && board.emptyField(s.pivotY + CELL, s.pivotX)) {
        board.clearField(s.pivotY, s.pivotX);
        s.pivotY += CELL;
        board.putField(s.pivotY, s.pivotX, s.pivotKind);
        board.clearField(s.secondY - CELL, s.secondX);
        s.secondY += CELL;
        board.putField(s.secondY - CELL, s.secondX, s.secondKind);
    } else {
        stopPair();
    }
}

// Moves the pivot one cell sideways (dx is -32 or +32).
void shiftPivot(std::int32_t dx) {
    State& s = state;
    s.board.clearField(s.pivotY, s.pivotX);
    s.pivotX += dx;
    s.board.putField(s.pivotY, s.pivotX, s.pivotKind);
}

// Moves a stacked second piece (dy is +32 below or -32 above its anchor) one
// cell sideways, writing its new cell whatever it holds.
void shiftStackedSecond(std::int32_t dx, std::int32_t dy) {
    State& s = state;
    s.board.clearField(s.secondY + dy, s.secondX);
    s.secondX += dx;
    s.board.putField(s.secondY + dy, s.secondX, s.secondKind);
}

}  // namespace

void dropPair() {
    State& s = state;
    s.stateTimer = 0.0f;
    if (s.pivotFalling || s.secondFalling) {
        switch (s.orientation) {
            case Orientation::RIGHT:
                dropAlone(s.pivotY, s.pivotX, s.pivotKind, s.pivotFalling);
                dropAlone(s.secondY, s.secondX + CELL, s.secondKind, s.secondFalling);
                break;
            case Orientation::BELOW:
                dropHanging();
                break;
            case Orientation::LEFT:
                dropAlone(s.pivotY, s.pivotX, s.pivotKind, s.pivotFalling);
                dropAlone(s.secondY, s.secondX - CELL, s.secondKind, s.secondFalling);
                break;
            case Orientation::ABOVE:
                dropStanding();
                break;
            default:
                break;
        }
    }
    s.fallDue = false;
}

void moveLeft() {
    State& s = state;
    Board& board = s.board;
    switch (s.orientation) {
        case Orientation::RIGHT:
            if (s.pivotX > LEFT_LIMIT && board.emptyField(s.pivotY, s.pivotX - CELL)) {
                // The second piece takes the pivot's old cell.
                board.clearField(s.pivotY, s.pivotX);
                board.putField(s.pivotY, s.pivotX - CELL, s.pivotKind);
                s.pivotX -= CELL;
                board.clearField(s.secondY, s.secondX + CELL);
                board.putField(s.secondY, s.secondX, s.secondKind);
                s.secondX -= CELL;
            }
            break;
        case Orientation::BELOW:
            if (s.pivotX > LEFT_LIMIT && board.emptyField(s.pivotY, s.pivotX - CELL)) {
                shiftPivot(-CELL);
                shiftStackedSecond(-CELL, CELL);
            }
            break;
        case Orientation::LEFT:
            if (s.secondX > LEFT_LIMIT_PIECE_LEFT &&
                board.emptyField(s.pivotY, s.pivotX - 2 * CELL)) {
                board.clearField(s.secondY, s.secondX - CELL);
                s.secondX -= CELL;
                board.putField(s.secondY, s.secondX - CELL, s.secondKind);
                shiftPivot(-CELL);
            }
            break;
        case Orientation::ABOVE:
            if (s.secondX > LEFT_LIMIT && board.emptyField(s.pivotY, s.pivotX - CELL)) {
                shiftPivot(-CELL);
                shiftStackedSecond(-CELL, -CELL);
            }
            break;
        default:
            break;
    }
}

void moveRight() {
    State& s = state;
    Board& board = s.board;
    switch (s.orientation) {
        case Orientation::RIGHT:
            if (s.secondX < RIGHT_LIMIT_PIECE_RIGHT &&
                board.emptyField(s.secondY, s.secondX + 2 * CELL)) {
                // The pivot takes the second piece's old cell.
                board.clearField(s.secondY, s.secondX + CELL);
                board.putField(s.secondY, s.secondX + 2 * CELL, s.secondKind);
                s.secondX += CELL;
                board.clearField(s.pivotY, s.pivotX);
                board.putField(s.pivotY, s.pivotX + CELL, s.pivotKind);
                s.pivotX += CELL;
            }
            break;
        case Orientation::BELOW:
            if (s.secondX < RIGHT_LIMIT && board.emptyField(s.secondY, s.secondX + CELL)) {
                shiftPivot(CELL);
                shiftStackedSecond(CELL, CELL);
            }
            break;
        case Orientation::LEFT:
            if (s.secondX < RIGHT_LIMIT && board.emptyField(s.secondY, s.secondX + CELL)) {
                shiftPivot(CELL);
                board.clearField(s.secondY, s.secondX - CELL);
                s.secondX += CELL;
                board.putField(s.secondY, s.secondX - CELL, s.secondKind);
            }
            break;
        case Orientation::ABOVE:
            if (s.secondX < RIGHT_LIMIT && board.emptyField(s.secondY, s.secondX + CELL)) {
                shiftPivot(CELL);
                shiftStackedSecond(CELL, -CELL);
            }
            break;
        default:
            break;
    }
}

void tryStartTurn() {
    State& s = state;
    if (s.rotationLatch) {
        return;
    }
    bool free = false;
    switch (s.orientation) {
        case Orientation::RIGHT:
            free = s.board.emptyField(s.pivotY + 2 * CELL, s.pivotX);
            break;
        case Orientation::BELOW:
            free = s.board.emptyField(s.pivotY, s.pivotX - CELL);
            break;
        case Orientation::LEFT:
            free = s.board.emptyField(s.pivotY - CELL, s.pivotX);
            break;
        case Orientation::ABOVE:
            free = s.board.emptyField(s.pivotY, s.pivotX + CELL);
            break;
        default:
            break;
    }
    if (free) {
        s.rotating = true;
        s.rotationStart = true;
    }
}

void nextPairOrGameOver() {
    State& s = state;
    if (!s.board.emptyField(ENTRY_Y, ENTRY_X)) {
        s.playActive = false;
        s.menuActive = true;
        return;
    }
    s.pivotKind = s.nextPivotKind;
    s.secondKind = s.nextSecondKind;
    s.nextPivotKind = randomKind();
    s.nextSecondKind = randomKind();
    s.board.putField(ENTRY_Y, ENTRY_X, s.pivotKind);
    s.pivotFalling = true;
    s.pivotX = ENTRY_X;
    s.pivotY = ENTRY_Y;
    // The cell right of the entry is not tested: the second piece overwrites it.
    s.board.putField(ENTRY_Y, ENTRY_X + CELL, s.secondKind);
    s.secondFalling = true;
    s.secondX = ENTRY_X;
    s.secondY = ENTRY_Y;
    s.orientation = Orientation::RIGHT;
    s.rotationAngle = 0.0f;
}

}  // namespace Game
