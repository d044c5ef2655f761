#include "platform/sdl/sprite_placement.h"

#include <cmath>

namespace platform::sdl {

SpritePlacement placeSprite(const Matrix& transform, float sourceWidth, float sourceHeight) {
    // The row-vector matrix sends (x, y) to
    //   (x*m00 + y*m10 + m30, x*m01 + y*m11 + m31),
    // and for scale s and rotation a its linear part is
    //   m00 = sx cos a, m01 = sx sin a, m10 = -sy sin a, m11 = sy cos a.
    const auto& m = transform.m;
    const double m00 = m[0][0], m01 = m[0][1], m10 = m[1][0], m11 = m[1][1];
    SpritePlacement placement;
    const double scaleX = std::sqrt(m00 * m00 + m01 * m01);
    if (scaleX == 0.0) {
        return placement;
    }
    const double angle = std::atan2(m01, m00);
    const double cosine = m00 / scaleX;
    const double sine = m01 / scaleX;
    // The y axis's length along the turned y direction; negative when the
    // transform mirrors, which SDL draws as a vertical flip.
    const double scaleY = m11 * cosine - m10 * sine;
    const double width = sourceWidth * scaleX;
    const double height = sourceHeight * scaleY;
    if (width == 0.0 || height == 0.0) {
        return placement;
    }

    double left = m[3][0];
    double top = m[3][1];
    if (height < 0) {
        // A flipped rectangle starts at the far edge: move its corner there, along
        // the turned y axis, so every point still lands where the matrix sends it.
        left -= height * sine;
        top += height * cosine;
        placement.flip = SDL_FLIP_VERTICAL;
    }
    placement.destination =
        SDL_FRect{static_cast<float>(left), static_cast<float>(top), static_cast<float>(width),
                  static_cast<float>(std::fabs(height))};
    placement.angleDegrees = angle * 180.0 / M_PI;
    placement.visible = true;
    return placement;
}

}  // namespace platform::sdl
