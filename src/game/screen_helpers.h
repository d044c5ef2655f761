#pragma once
// Small pieces shared by the screens: key edges, quitting, faded colours and the
// piece pictures.
#include <cstdint>

class Texture;

namespace Game {

enum class KeyChange { NONE, PRESSED, RELEASED };

// Asks the platform whether `virtualKey` is pressed (down now or pressed since
// the last query) and compares with the last seen state, which it updates.
KeyChange readKey(int virtualKey, bool& previous);

// Destroys the game window, once.
void quit();

// (alpha << 24) | 0x00FFFFFF, alpha cut towards zero and kept to its low 8 bits.
std::uint32_t fadeColour(float alpha);

// The picture of a piece kind; null for a kind outside 1 to 4.
Texture* pieceTexture(std::int32_t kind);

// Draws a whole picture of the given size, unturned, at (x, y).
void drawPicture(Texture* texture, std::int32_t x, std::int32_t y, std::int32_t width,
                 std::int32_t height, std::uint32_t colour);

}  // namespace Game
