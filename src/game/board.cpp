#include "game/board.h"

namespace Game {

Board::AccessObserver Board::observer = nullptr;

std::int32_t Board::at(std::int32_t row, std::int32_t column) const {
    const std::int32_t value = inside(row, column) ? cells[row * COLUMNS + column] : -1;
    if (observer != nullptr) {
        observer(row, column, false, value);
    }
    return value;
}

void Board::put(std::int32_t row, std::int32_t column, std::int32_t kind) {
    if (observer != nullptr) {
        observer(row, column, true, kind);
    }
    if (inside(row, column)) {
        cells[row * COLUMNS + column] = kind;
    }
}

void Board::clearForNewGame() {
    for (std::int32_t row = 0; row < ROWS; ++row) {
        for (std::int32_t column = 0; column < FIELD_COLUMNS; ++column) {
            put(row, column, 0);
        }
    }
}

}  // namespace Game
