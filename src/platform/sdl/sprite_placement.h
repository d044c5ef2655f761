#pragma once
// A sprite transform (scale, rotation, translation as one row-vector matrix) taken
// apart into what SDL_RenderCopyExF draws: a destination rectangle whose top-left
// corner is the image of the source's top-left corner, sized source x scale, turned
// clockwise by an angle about that corner, flipped when the transform mirrors.
#include <SDL.h>

#include "platform/d3d_types.h"

namespace platform::sdl {

struct SpritePlacement {
    SDL_FRect destination{0, 0, 0, 0};
    double angleDegrees = 0;
    SDL_RendererFlip flip = SDL_FLIP_NONE;
    bool visible = false;  // false when the transform squashes the sprite to nothing
};

SpritePlacement placeSprite(const Matrix& transform, float sourceWidth, float sourceHeight);

}  // namespace platform::sdl
