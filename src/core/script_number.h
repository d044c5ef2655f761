#pragma once
// Script numbers that name identifiers or event codes become signed 32-bit
// integers, cut towards zero; values no integer can hold (NaN, huge) give 0,
// which names no object.
#include <cstdint>

inline std::int32_t toInt32(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) {
        return 0;
    }
    return static_cast<std::int32_t>(value);
}

// Seconds for a pause: a script number in single precision. Values beyond the
// single-precision range are held at its ends rather than converted blindly.
inline float toSeconds(double value) {
    constexpr double largest = 3.4028234663852886e38;
    if (value > largest) {
        return static_cast<float>(largest);
    }
    if (value < -largest) {
        return static_cast<float>(-largest);
    }
    return static_cast<float>(value);
}
