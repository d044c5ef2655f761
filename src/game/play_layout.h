#pragma once
// Where the play screen draws the board's cells and the next pair, in client
// pixels. tools/make_resources.py reads these lines to paint the empty cells of
// the backdrop under them, so each stays a plain `constexpr std::int32_t NAME = N;`.
#include <cstdint>

namespace Game::PlayLayout {

constexpr std::int32_t CELL_LEFT = 53;
constexpr std::int32_t CELL_TOP = 31;
constexpr std::int32_t PIECE_SIZE = 32;
constexpr std::int32_t CELL_PITCH = 33;  // a 32-pixel piece and a 1-pixel gap
constexpr std::int32_t PREVIEW_PIVOT_X = 650;
constexpr std::int32_t PREVIEW_SECOND_X = 683;
constexpr std::int32_t PREVIEW_Y = 387;

}  // namespace Game::PlayLayout
