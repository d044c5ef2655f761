#pragma once
// The main loop's frame-time rule.
#include <cstdint>

namespace frame_time {

// The longest frame handed to objects and the game: the single-precision value
// nearest 1/45 s, so a stall advances the game by at most that much.
constexpr float MAX_FRAME = 0.022222223f;

// Seconds between two readings of the 32-bit millisecond clock; unsigned
// subtraction keeps the result small and positive across the clock's wrap.
float elapsedSeconds(std::uint32_t now, std::uint32_t previous);

// Keeps a raw frame time within 20 % of the previous frame's (when there was
// one) and caps it at MAX_FRAME.
float smooth(float raw, float previousFrameTime);

}  // namespace frame_time
