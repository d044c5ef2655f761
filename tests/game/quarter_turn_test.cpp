// The quarter turn: the spinning, sliding second piece, the cells it leaves and
// lands on, the pause of the rest of the play step, and turns that outlive the
// pair or the game that started them.
#include "game_fixture.h"

namespace gametest {
namespace {

constexpr float DT = 1.0f / 64.0f;  // a quarter turn takes exactly 36 such steps
constexpr int TURN_STEPS = 36;

struct Cell {
    std::int32_t row;
    std::int32_t column;
    bool operator==(const Cell& other) const { return row == other.row && column == other.column; }
};

class QuarterTurnTest : public GameTest {
protected:
    QuarterTurnTest() {
        enterPlay();
        state.nextPivotKind = 1;
        state.nextSecondKind = 2;
    }

    Cell pivotCell() const { return {state.pivotY / 32, state.pivotX / 32}; }
    // Where the second piece sits, by orientation, relative to its anchor.
    Cell secondCell() const {
        const std::int32_t x = state.secondX;
        const std::int32_t y = state.secondY;
        switch (state.orientation) {
            case 1:
                return {y / 32, (x + 32) / 32};
            case 2:
                return {(y + 32) / 32, x / 32};
            case 3:
                return {y / 32, (x - 32) / 32};
            default:
                return {(y - 32) / 32, x / 32};
        }
    }

    // Every taken cell of the board.
    std::vector<Cell> takenCells() const {
        std::vector<Cell> taken;
        for (std::int32_t row = 0; row < Game::Board::ROWS; ++row) {
            for (std::int32_t column = 0; column < Game::Board::COLUMNS; ++column) {
                if (cell(row, column) != 0) {
                    taken.push_back({row, column});
                }
            }
        }
        return taken;
    }

    // Presses up and runs the turn to its end; returns the steps it took.
    int turn() {
        tap(platform::vk::UP);
        Game::frame(DT);
        int steps = 0;
        while (state.rotating && steps < 1000) {
            Game::frame(DT);
            ++steps;
        }
        return steps;
    }

    // Runs until a drop is due at the start of the next step.
    void untilDropDue() {
        for (int guard = 0; guard < 100 && !state.fallDue; ++guard) {
            Game::frame(DT);
        }
    }
};

TEST_F(QuarterTurnTest, FourTurnsComeBackToOrientationOneAndAngleZero) {
    Game::frame(DT);
    frames(3 * 20, DT);  // three rows down, clear of the top edge
    const float angles[] = {90.0f, 180.0f, 270.0f, 0.0f};
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(turn(), TURN_STEPS) << n;
        EXPECT_EQ(state.orientation, n == 3 ? 1 : n + 2);
        EXPECT_EQ(state.rotationAngle, angles[n]);  // exact between turns
        EXPECT_FALSE(state.rotating);
        // Exactly the two pieces of the pair are on the board.
        const std::vector<Cell> taken = takenCells();
        ASSERT_EQ(taken.size(), 2u) << n;
        EXPECT_EQ(cell(pivotCell().row, pivotCell().column), 1);
        EXPECT_EQ(cell(secondCell().row, secondCell().column), 2) << n;
    }
    // Back to side by side: the second piece right of the pivot.
    EXPECT_EQ(secondCell(), (Cell{pivotCell().row, pivotCell().column + 1}));
}

TEST_F(QuarterTurnTest, LowerPieceStopsInRowFifteenInEveryOrientation) {
    for (int turns = 0; turns < 4; ++turns) {
        Game::resetState();
        enterPlay();
        state.nextPivotKind = 1;
        state.nextSecondKind = 2;
        Game::frame(DT);
        frames(2 * 20, DT);  // off the top row, so every turn is allowed
        for (int n = 0; n < turns; ++n) {
            ASSERT_EQ(turn(), TURN_STEPS) << turns;
        }
        const int orientation = state.orientation;
        std::int32_t lowest = 0;
        for (int guard = 0; guard < 2000 && state.pivotY >= lowest; ++guard) {
            lowest = state.pivotY;
            Game::frame(DT);
        }
        // Both pieces stopped together; nothing lies below row 15.
        std::int32_t bottom = -1;
        for (const Cell& taken : takenCells()) {
            if (taken.row > 0) {
                bottom = std::max(bottom, taken.row);
            }
        }
        EXPECT_EQ(bottom, 15) << "orientation " << orientation;
        const std::int32_t pivotRow = lowest / 32;
        EXPECT_EQ(pivotRow, orientation == 2 ? 14 : 15) << "orientation " << orientation;
    }
}

TEST_F(QuarterTurnTest, StackedPairMovingSidewaysOverwritesBesideTheOtherPiece) {
    Game::frame(DT);
    frames(20, DT);
    ASSERT_EQ(turn(), TURN_STEPS);  // second piece below the pivot
    const Cell pivot = pivotCell();
    setCell(pivot.row + 1, pivot.column - 1, 4);  // beside the second piece only
    tap(platform::vk::LEFT);
    Game::frame(DT);
    ASSERT_EQ(pivotCell().row, pivot.row);
    EXPECT_EQ(state.pivotX, 250 - 32);
    EXPECT_EQ(cell(pivot.row, pivot.column - 1), 1);
    EXPECT_EQ(cell(pivot.row + 1, pivot.column - 1), 2);  // the 4 is gone
    EXPECT_EQ(takenCells().size(), 2u);

    // Beside the pivot itself, the move is refused.
    Game::frame(DT);
    setCell(pivot.row, pivot.column - 2, 3);
    tap(platform::vk::LEFT);
    Game::frame(DT);
    EXPECT_EQ(state.pivotX, 250 - 32);
}

TEST_F(QuarterTurnTest, NothingElseRunsWhileTheTurnLasts) {
    Game::frame(DT);
    frames(25, DT);
    tap(platform::vk::UP);
    Game::frame(DT);
    ASSERT_TRUE(state.rotating);
    const float timer = state.stateTimer;
    const std::int32_t y = state.pivotY;
    platform.fakeInput.queries.clear();
    keyDown(platform::vk::LEFT);
    keyDown(platform::vk::ESCAPE);
    for (int step = 1; step < TURN_STEPS; ++step) {
        Game::frame(DT);
        EXPECT_TRUE(state.rotating);
        EXPECT_EQ(state.stateTimer, timer);
        EXPECT_FALSE(state.fallDue);
        EXPECT_EQ(state.pivotY, y);
    }
    EXPECT_TRUE(platform.fakeInput.queries.empty());
    EXPECT_FALSE(windowDestroyed());
    // The step that ends the turn runs the rest of the play step: keys, timer.
    Game::frame(DT);
    EXPECT_FALSE(state.rotating);
    EXPECT_FALSE(platform.fakeInput.queries.empty());
    EXPECT_EQ(state.stateTimer, timer + DT);
    EXPECT_TRUE(windowDestroyed());
}

TEST_F(QuarterTurnTest, SpinningPieceSlidesAndTheBoardShowsOnlyThePivot) {
    Game::frame(DT);
    frames(25, DT);  // one row down
    const Cell pivot = pivotCell();
    const std::int32_t startX = state.secondX + 64;
    const std::int32_t startY = state.secondY;
    tap(platform::vk::UP);
    Game::frame(DT);
    takeDraws();
    for (int step = 1; step <= TURN_STEPS; ++step) {
        Game::frame(DT);
        const std::vector<Drawn> draws = takeDraws(16, 16);
        ASSERT_GE(draws.size(), 5u);
        // The turn's own frame: backdrop, the pivot alone on the board, the
        // preview, then the spinning piece.
        const std::vector<Drawn> own(draws.begin(), draws.begin() + 5);
        EXPECT_EQ(own[0].path, "resources/backdrop.png");
        EXPECT_EQ(own[1].path, "resources/peice1.png");
        EXPECT_FLOAT_EQ(own[1].x, 53.0f + 33.0f * pivot.column);
        EXPECT_FLOAT_EQ(own[1].y, 31.0f + 33.0f * pivot.row);
        const Drawn& piece = own[4];
        EXPECT_EQ(piece.path, "resources/peice2.png");
        EXPECT_EQ(piece.source.right, 32);
        EXPECT_EQ(piece.source.bottom, 32);
        EXPECT_NEAR(piece.angle, static_cast<float>(static_cast<int>(2.5f * step)), 1e-3f);
        // 50 x dt is under a pixel and is lost; -30 x dt costs a whole pixel.
        EXPECT_NEAR(piece.x, static_cast<float>(startX - step), 1e-3f);
        EXPECT_NEAR(piece.y, static_cast<float>(startY), 1e-3f);
    }
    EXPECT_FALSE(state.rotating);
    EXPECT_EQ(cell(pivot.row + 1, pivot.column), 2);
}

TEST_F(QuarterTurnTest, SlideIsHeldAtItsLimit) {
    Game::frame(DT);
    tap(platform::vk::UP);
    Game::frame(DT);
    ASSERT_TRUE(state.rotating);
    takeDraws();
    Game::frame(0.5f);  // 25 pixels down, 80 degrees
    EXPECT_EQ(state.turnY, state.pivotY + 25);
    takeDraws();
    Game::frame(0.5f);  // another 25 would pass the pivot by 50: held at 33
    const std::vector<Drawn> draws = takeDraws(16, 16);
    ASSERT_GE(draws.size(), 5u);
    EXPECT_NEAR(draws[4].y, static_cast<float>(state.pivotY + 33), 1e-3f);
    EXPECT_NEAR(draws[4].angle, 90.0f, 1e-3f);
    EXPECT_EQ(state.orientation, 2);
}

TEST_F(QuarterTurnTest, LandingCellIsWrittenWithoutATest) {
    Game::frame(DT);
    setCell(1, 7, 3);  // right below the pivot; two rows below is empty
    EXPECT_EQ(turn(), TURN_STEPS);
    EXPECT_EQ(state.orientation, 2);
    EXPECT_EQ(cell(1, 7), 2);
    EXPECT_EQ(cell(0, 8), 0);
}

TEST_F(QuarterTurnTest, TurnIsRefusedWhenTheCellItNeedsIsTaken) {
    Game::frame(DT);
    setCell(2, 7, 4);
    tap(platform::vk::UP);
    Game::frame(DT);
    EXPECT_FALSE(state.rotating);
    EXPECT_EQ(cell(0, 8), 2);
}

TEST_F(QuarterTurnTest, TurnsThatWouldTestThePivotsOwnCellAreRefused) {
    Game::frame(DT);
    ASSERT_EQ(turn(), TURN_STEPS);  // below
    for (int i = 0; i < 8; ++i) {
        tap(platform::vk::LEFT);
        Game::frame(DT);
        Game::frame(DT);
    }
    ASSERT_EQ(state.pivotX, 26);
    tap(platform::vk::UP);
    Game::frame(DT);  // left of column 0 is column 0 itself
    EXPECT_FALSE(state.rotating);
}

TEST_F(QuarterTurnTest, LostDeviceDoesNotSlowTheTurn) {
    Game::frame(DT);
    deviceLost(true);
    takeDraws();
    EXPECT_EQ(turn(), TURN_STEPS);
    EXPECT_EQ(state.rotationAngle, 90.0f);
    EXPECT_TRUE(takeDraws().empty());
}

TEST_F(QuarterTurnTest, TurnStartedAsThePairStopsTurnsTheNextPair) {
    Game::frame(DT);
    while (state.pivotY < 510) {
        Game::frame(DT);
    }
    untilDropDue();
    tap(platform::vk::UP);
    Game::frame(DT);  // the drop stops the pair; up is seen; the next pair enters
    EXPECT_TRUE(state.rotating);
    EXPECT_EQ(state.pivotY, 30);
    EXPECT_EQ(state.orientation, 1);
    EXPECT_EQ(cell(15, 7), 1);
    EXPECT_EQ(cell(15, 8), 2);
    const std::int32_t second = state.secondKind;
    int steps = 0;
    while (state.rotating && steps < 1000) {
        Game::frame(DT);
        ++steps;
    }
    EXPECT_EQ(steps, TURN_STEPS);
    EXPECT_EQ(state.orientation, 2);
    EXPECT_EQ(cell(0, 8), 0);
    EXPECT_EQ(cell(1, 7), second);
    EXPECT_EQ(cell(15, 7), 1);  // the stopped pair is left alone
    EXPECT_EQ(cell(15, 8), 2);
}

TEST_F(QuarterTurnTest, TurnPendingAtGameOverCompletesInTheNextGame) {
    Game::frame(DT);
    setCell(1, 7, 3);
    setCell(1, 8, 3);
    untilDropDue();
    tap(platform::vk::UP);
    Game::frame(DT);  // the pair stops in row 0, the turn is set, the game ends
    ASSERT_TRUE(state.menuActive);
    EXPECT_TRUE(state.rotating);
    frames(30, DT);
    EXPECT_TRUE(state.rotating);  // kept through the menu

    state.nextPivotKind = 4;
    state.nextSecondKind = 3;
    setCursor(100, 250);
    keyDown(platform::vk::LBUTTON);
    Game::frame(DT);  // the click and the first play step
    keyUp(platform::vk::LBUTTON);
    ASSERT_TRUE(state.playActive);
    int steps = 1;
    while (state.rotating && steps < 1000) {
        // Until the turn ends the new board holds nothing but what it leaves.
        EXPECT_TRUE(takenCells().empty());
        Game::frame(DT);
        ++steps;
    }
    EXPECT_EQ(steps, TURN_STEPS);
    // Relative to the last pair's place, then the first pair of the new game.
    EXPECT_EQ(cell(1, 7), 2);
    EXPECT_EQ(cell(0, 7), 4);
    EXPECT_EQ(cell(0, 8), 3);
    EXPECT_EQ(state.orientation, 1);
    EXPECT_EQ(state.rotationAngle, 0.0f);
    EXPECT_EQ(takenCells().size(), 3u);
}

}  // namespace
}  // namespace gametest
