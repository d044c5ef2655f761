// Drawing of the play screen: backdrop, the board's cells and the next pair.
#include "game/game.h"
#include "game/game_state.h"
#include "game/pictures.h"
#include "game/play_layout.h"
#include "graphics/graphics.h"

namespace Game {

using namespace PlayLayout;

namespace {

void drawPiece(std::int32_t kind, std::int32_t x, std::int32_t y) {
    if (Texture* picture = pieceTexture(kind)) {
        drawPicture(picture, x, y, PIECE_SIZE, PIECE_SIZE, 0xFFFFFFFFu);
    }
}

}  // namespace

void drawBoard() {
    for (std::int32_t row = 0; row < Board::ROWS; ++row) {
        for (std::int32_t column = 0; column < Board::FIELD_COLUMNS; ++column) {
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
