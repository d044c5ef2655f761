#pragma once
// How the screens draw their pictures: whole and unturned, white-tinted with a
// fading alpha, and the picture of each piece kind.
#include <cstdint>

class Texture;

namespace Game {

// The alpha at which a fading picture is fully drawn.
constexpr float OPAQUE = 255.0f;

// (alpha << 24) | 0x00FFFFFF, alpha cut towards zero and kept to its low 8 bits.
std::uint32_t fadeColour(float alpha);

// The picture of a piece kind; null for a kind outside 1 to 4.
Texture* pieceTexture(std::int32_t kind);

// Draws a whole picture of the given size, unturned, at (x, y).
void drawPicture(Texture* texture, std::int32_t x, std::int32_t y, std::int32_t width,
                 std::int32_t height, std::uint32_t colour);

}  // namespace Game
