#include "graphics/transform2d.h"

#include <cmath>

namespace graphics {

platform::Matrix transformation2D(const platform::Vector2& scale,
                                  const platform::Vector2& rotationCentre, float rotation,
                                  const platform::Vector2& translation) {
    // Scale, then translate by -centre, rotate, translate by centre + translation,
    // multiplied out for row vectors.
    const float c = std::cos(rotation);
    const float s = std::sin(rotation);
    const float cx = rotationCentre.x;
    const float cy = rotationCentre.y;
    platform::Matrix m;
    m.m[0][0] = scale.x * c;
    m.m[0][1] = scale.x * s;
    m.m[1][0] = -scale.y * s;
    m.m[1][1] = scale.y * c;
    m.m[3][0] = cx - cx * c + cy * s + translation.x;
    m.m[3][1] = cy - cx * s - cy * c + translation.y;
    return m;
}

platform::Vector2 transformPoint(const platform::Matrix& matrix, const platform::Vector2& point) {
    platform::Vector2 result;
    result.x = point.x * matrix.m[0][0] + point.y * matrix.m[1][0] + matrix.m[3][0];
    result.y = point.x * matrix.m[0][1] + point.y * matrix.m[1][1] + matrix.m[3][1];
    return result;
}

}  // namespace graphics
