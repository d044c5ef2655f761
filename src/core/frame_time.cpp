#include "core/frame_time.h"

namespace frame_time {

float elapsedSeconds(std::uint32_t now, std::uint32_t previous) {
    const std::uint32_t elapsed = now - previous;
    return static_cast<float>(elapsed) / 1000.0f;
}

float smooth(float raw, float previousFrameTime) {
    float t = raw;
    if (previousFrameTime != 0.0f) {
        if (t > 1.2f * previousFrameTime) {
            t = 1.2f * previousFrameTime;
        }
        if (t < 0.8f * previousFrameTime) {
            t = 0.8f * previousFrameTime;
        }
    }
    if (t > MAX_FRAME) {
        t = MAX_FRAME;
    }
    return t;
}

}  // namespace frame_time
