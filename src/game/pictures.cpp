#include "game/pictures.h"

#include "game/game.h"
#include "graphics/graphics.h"

namespace Game {

std::uint32_t fadeColour(float alpha) {
    const auto level = static_cast<std::uint32_t>(static_cast<std::int32_t>(alpha)) & 0xFFu;
    return (level << 24) | 0x00FFFFFFu;
}

Texture* pieceTexture(std::int32_t kind) {
    switch (kind) {
        case 1:
            return textures.piece1;
        case 2:
            return textures.piece2;
        case 3:
            return textures.piece3;
        case 4:
            return textures.piece4;
        default:
            return nullptr;
    }
}

void drawPicture(Texture* texture, std::int32_t x, std::int32_t y, std::int32_t width,
                 std::int32_t height, std::uint32_t colour) {
    Graphics::drawSprite(texture, x, y, width, height, 0, 0, width, height, colour, 0, 0, 0);
}

}  // namespace Game
