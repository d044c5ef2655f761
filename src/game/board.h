#pragma once
// The playing field: 18 x 18 cells, row-major, 0 empty and 1 to 4 a piece kind.
// Rows 0 to 15 and columns 0 to 15 are the field proper; the extra rows and
// columns take what a quarter turn may put just past its edge. Every read and
// write goes through `at` and `put`, which never leave the 18 x 18 cells.
#include <cstdint>

namespace Game {

class Board {
public:
    static constexpr std::int32_t ROWS = 18;
    static constexpr std::int32_t COLUMNS = 18;
    static constexpr std::int32_t UNITS_PER_CELL = 32;
    // Columns 0 to 15, the field proper: cleared for a new game and drawn.
    static constexpr std::int32_t FIELD_COLUMNS = 16;

    // Observes every access (tests): row and column asked for, whether it is a
    // write, and the value read or written. Null in the program.
    using AccessObserver = void (*)(std::int32_t row, std::int32_t column, bool write,
                                    std::int32_t value);
    static AccessObserver observer;

    // Cells by row and column. A cell outside the board reads as taken (-1) and
    // ignores writes, so that no rule can reach memory beyond the board.
    std::int32_t at(std::int32_t row, std::int32_t column) const;
    void put(std::int32_t row, std::int32_t column, std::int32_t kind);

    // Cells by field coordinates (32 units per cell; quotients cut towards zero),
    // y first as the rules write them.
    std::int32_t atField(std::int32_t y, std::int32_t x) const {
        return at(y / UNITS_PER_CELL, x / UNITS_PER_CELL);
    }
    void putField(std::int32_t y, std::int32_t x, std::int32_t kind) {
        put(y / UNITS_PER_CELL, x / UNITS_PER_CELL, kind);
    }
    // Empties every row of the field proper. Columns 16 and 17 keep what quarter
    // turns put there: a new game does not clear them.
    void clearForNewGame();

    bool emptyField(std::int32_t y, std::int32_t x) const { return atField(y, x) == 0; }
    void clearField(std::int32_t y, std::int32_t x) { putField(y, x, 0); }

    static bool inside(std::int32_t row, std::int32_t column) {
        return row >= 0 && row < ROWS && column >= 0 && column < COLUMNS;
    }

private:
    std::int32_t cells[ROWS * COLUMNS] = {};
};

}  // namespace Game
