// The board's one checked way in, and pairs whose anchors have parted.
#include "game_fixture.h"

namespace gametest {
namespace {

struct Access {
    std::int32_t row;
    std::int32_t column;
    bool write;
    std::int32_t value;
};
std::vector<Access> accesses;
void record(std::int32_t row, std::int32_t column, bool write, std::int32_t value) {
    accesses.push_back({row, column, write, value});
}

class BoardTest : public GameTest {
protected:
    BoardTest() {
        accesses.clear();
        Game::Board::observer = record;
    }
    ~BoardTest() override { Game::Board::observer = nullptr; }

    bool anyOutside() const {
        for (const Access& a : accesses) {
            if (!Game::Board::inside(a.row, a.column)) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(BoardTest, CellsOutsideReadAsTakenAndIgnoreWrites) {
    Game::Board board;
    board.put(17, 17, 4);
    EXPECT_EQ(board.at(17, 17), 4);
    for (const auto& [row, column] :
         {std::pair{18, 0}, std::pair{0, 18}, std::pair{-1, 3}, std::pair{3, -1}}) {
        board.put(row, column, 2);
        EXPECT_EQ(board.at(row, column), -1) << row << "," << column;
    }
    // Nothing spilled into the cells beside the edges.
    for (std::int32_t i = 0; i < 18; ++i) {
        EXPECT_EQ(board.at(17, i), i == 17 ? 4 : 0);
        EXPECT_EQ(board.at(i, 0), 0);
        EXPECT_EQ(board.at(0, i), 0);
    }
    EXPECT_TRUE(anyOutside());  // and the observer saw every attempt
    EXPECT_EQ(accesses.size(), 1u + 1u + 4u * 2u + 3u * 18u);
}

TEST_F(BoardTest, FieldCoordinatesAreCutTowardsZero) {
    Game::Board board;
    board.putField(-2, -6, 3);  // row 0, column 0
    EXPECT_EQ(board.at(0, 0), 3);
    EXPECT_EQ(board.atField(30 + 32 * 15, 26 + 32 * 15), 0);
    board.putField(30 + 32 * 15, 26 + 32 * 15, 1);
    EXPECT_EQ(board.at(15, 15), 1);
    EXPECT_FALSE(anyOutside());
}

TEST_F(BoardTest, ClearBoardEmptiesEighteenRowsOfSixteenColumns) {
    for (std::int32_t row = 0; row < 18; ++row) {
        for (std::int32_t column = 0; column < 18; ++column) {
            setCell(row, column, 1);
        }
    }
    Game::clearBoard();
    for (std::int32_t row = 0; row < 18; ++row) {
        for (std::int32_t column = 0; column < 18; ++column) {
            EXPECT_EQ(cell(row, column), column < 16 ? 0 : 1) << row << "," << column;
        }
    }
}

// The second piece stops high up while the pivot drops on; turned below the
// pivot, the pair would be carried down by the anchor's rule with the pivot far
// below it. It stops instead, with both pieces where the turn left them.
TEST_F(BoardTest, StackedPairWithPartedAnchorsStopsAtItsNextDrop) {
    enterPlay();
    state.nextPivotKind = 1;
    state.nextSecondKind = 2;
    Game::frame(1.0f / 64.0f);
    setCell(3, 8, 3);
    while (state.pivotY < 30 + 32 * 8) {
        Game::frame(1.0f / 64.0f);
    }
    ASSERT_FALSE(state.secondFalling);
    ASSERT_EQ(state.secondY, 30 + 32 * 2);
    tap(platform::vk::UP);
    int guard = 0;
    do {
        Game::frame(1.0f / 64.0f);
    } while (state.rotating && ++guard < 100);
    ASSERT_EQ(state.orientation, 2);
    EXPECT_EQ(cell(8, 7), 1);
    EXPECT_EQ(cell(9, 7), 2);  // landed below the pivot
    EXPECT_EQ(cell(2, 8), 0);  // and gone from beside its anchor

    // The next drop ends the pair; the next one enters.
    while (state.pivotY != 30 && ++guard < 1000) {
        Game::frame(1.0f / 64.0f);
    }
    EXPECT_TRUE(state.playActive);
    EXPECT_EQ(cell(8, 7), 1);
    EXPECT_EQ(cell(9, 7), 2);
    EXPECT_EQ(cell(10, 7), 0);
    EXPECT_EQ(cell(3, 8), 3);
    EXPECT_FALSE(anyOutside());
}

}  // namespace
}  // namespace gametest
