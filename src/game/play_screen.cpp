// Drawing of the play screen: backdrop, the board's cells and the next pair.
#include "game/game.h"
#include "game/game_state.h"
#include "game/screen_helpers.h"
#include "graphics/graphics.h"

namespace Game {

namespace {

constexpr std::int32_t FIELD_COLUMNS = 16;  // columns 16 and 17 are never cleared or drawn
constexpr std::int32_t CELL_LEFT = 53;
constexpr std::int32_t CELL_TOP = 31;
constexpr std::int32_t CELL_PITCH = 33;  // a 32-pixel piece and a 1-pixel gap
constexpr std::int32_t PIECE_SIZE = 32;
constexpr std::int32_t PREVIEW_PIVOT_X = 650;
constexpr std::int32_t PREVIEW_SECOND_X = 683;
constexpr std::int32_t PREVIEW_Y = 387;

void drawPiece(std::int32_t kind, std::int32_t x, std::int32_t y) {
    if (Texture* picture = pieceTexture(kind)) {
        drawPicture(picture, x, y, PIECE_SIZE, PIECE_SIZE, 0xFFFFFFFFu);
    }
}

}  // namespace

void clearBoard() {
    for (std::int32_t row = 0; row < Board::ROWS; ++row) {
        for (std::int32_t column = 0; column < FIELD_COLUMNS; ++column) {
            state.board.put(row, column, 0);
        }
    }
}

void drawBoard() {
    for (std::int32_t row = 0; row < Board::ROWS; ++row) {
        for (std::int32_t column = 0; column < FIELD_COLUMNS; ++column) {
            drawPiece(state.board.at(row, column), CELL_LEFT + CELL_PITCH * column,
                      CELL_TOP + CELL_PITCH * row);
        }
    }
}

void drawPreview() {
    drawPiece(state.nextPivotKind, PREVIEW_PIVOT_X, PREVIEW_Y);
    drawPiece(state.nextSecondKind, PREVIEW_SECOND_X, PREVIEW_Y);
}

void drawPlayScreen() {
    drawPicture(textures.backdrop, 0, 0, 800, 600, 0xFFFFFFFFu);
    drawBoard();
    drawPreview();
}

}  // namespace Game
