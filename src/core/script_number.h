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
