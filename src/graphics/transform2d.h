#pragma once
// The 2-D transformation of a sprite: scale about the origin, turn about a
// centre, then move. Same matrix as D3DXMatrixTransformation2D given no scaling
// centre and no scaling rotation.
#include "platform/d3d_types.h"

namespace graphics {

// A point p lands at R(p * scale - centre) + centre + translation, R turning by
// `rotation` radians (clockwise on screen, where y grows downwards).
platform::Matrix transformation2D(const platform::Vector2& scale,
                                  const platform::Vector2& rotationCentre, float rotation,
                                  const platform::Vector2& translation);

// Where the matrix puts a point.
platform::Vector2 transformPoint(const platform::Matrix& matrix, const platform::Vector2& point);

}  // namespace graphics
