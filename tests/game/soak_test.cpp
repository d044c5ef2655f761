// A million frames of random keys and frame times over the play screen, with
// every board access checked against the 18 x 18 cells and every value written
// checked to be a piece kind or empty.
#include <random>

#include "game_fixture.h"

namespace gametest {
namespace {

struct AccessCheck {
    long long accesses = 0;
    long long outside = 0;
    long long badValues = 0;
};
AccessCheck check;

void observe(std::int32_t row, std::int32_t column, bool write, std::int32_t value) {
    ++check.accesses;
    if (!Game::Board::inside(row, column)) {
        ++check.outside;
    }
    if (value < 0 || value > 4) {
        ++check.badValues;
    }
    (void)write;
}

class SoakTest : public GameTest {
protected:
    SoakTest() {
        check = AccessCheck{};
        Game::Board::observer = observe;
        // Draw one frame in 64 and drop the recordings now and then: the
        // logic runs every frame either way.
        fakes::FakeDevice& device = graphics.device();
        device.onTestCooperativeLevel = [this, &device] {
            ++tests;
            device.cooperativeDefault =
                tests % 64 == 0 ? platform::d3d::OK : platform::d3derr::DEVICELOST;
            if (tests % 4096 == 0) {
                forgetRecordings();
            }
        };
    }
    ~SoakTest() override { Game::Board::observer = nullptr; }

    void forgetRecordings() {
        graphics.sprite().draws.clear();
        graphics.sprite().calls.clear();
        graphics.device().calls.clear();
        graphics.journal.clear();
        platform.fakeInput.queries.clear();
        platform.fakeSystem.queue.clear();
    }

    long long tests = 0;
};

TEST_F(SoakTest, MillionRandomFramesStayOnTheBoard) {
    std::mt19937 random(20261207);
    std::uniform_real_distribution<float> frameTime(0.0005f, 1.0f / 45.0f);
    std::uniform_int_distribution<int> perMille(0, 999);
    // Per key: chance in 1000 to go down, to come up, to be tapped between frames.
    struct KeyHabit {
        int key, down, up, tap;
    };
    const KeyHabit habits[] = {{platform::vk::LEFT, 60, 150, 20},
                               {platform::vk::RIGHT, 60, 150, 20},
                               {platform::vk::UP, 8, 100, 3}};

    enterPlay();
    // The menu, whenever a game ends, starts the next one at once.
    setCursor(100, 250);
    keyDown(platform::vk::LBUTTON);

    long long games = 0, turns = 0, parted = 0, drawn = 0, pendingAtGameOver = 0;
    bool wasPlaying = true, wasTurning = false;
    for (int frame = 0; frame < 1000000; ++frame) {
        for (const KeyHabit& habit : habits) {
            const int roll = perMille(random);
            if (roll < habit.down) {
                keyDown(habit.key);
            } else if (roll < habit.down + habit.up) {
                keyUp(habit.key);
            } else if (roll < habit.down + habit.up + habit.tap) {
                tap(habit.key);
            }
        }
        if (frame % 250000 == 249999) {
            tap(platform::vk::ESCAPE);  // the game goes on after the window is gone
        }
        const int presentsBefore = graphics.device().presents;
        Game::frame(frameTime(random));
        drawn += graphics.device().presents - presentsBefore;

        ASSERT_EQ(state.pivotX, state.secondX) << frame;
        ASSERT_GE(state.orientation, 1) << frame;
        ASSERT_LE(state.orientation, 4) << frame;
        ASSERT_GE(state.pivotKind, 1);
        ASSERT_LE(state.secondKind, 4);
        if (wasPlaying && !state.playActive) {
            ++games;
            pendingAtGameOver += state.rotating ? 1 : 0;
        }
        if (!wasTurning && state.rotating) {
            ++turns;
        }
        if (state.pivotY != state.secondY && (state.orientation % 2 == 0)) {
            ++parted;
        }
        wasPlaying = state.playActive;
        wasTurning = state.rotating;
    }

    EXPECT_EQ(check.outside, 0);
    EXPECT_EQ(check.badValues, 0);
    for (std::int32_t row = 0; row < Game::Board::ROWS; ++row) {
        for (std::int32_t column = 0; column < Game::Board::COLUMNS; ++column) {
            EXPECT_GE(cell(row, column), 0);
            EXPECT_LE(cell(row, column), 4);
        }
    }
    // The run reached what it is meant to exercise.
    EXPECT_GT(check.accesses, 1000000);
    EXPECT_GT(games, 20);
    EXPECT_GT(turns, 1000);
    EXPECT_GT(parted, 0);
    EXPECT_GT(drawn, 10000);
    EXPECT_TRUE(windowDestroyed());
    std::printf(
        "games %lld (%lld with a turn pending), turns %lld, frames with parted "
        "stacked pairs %lld, frames drawn %lld, board accesses %lld\n",
        games, pendingAtGameOver, turns, parted, drawn, check.accesses);
}

}  // namespace
}  // namespace gametest
