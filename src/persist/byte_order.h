#pragma once
// Little-endian packing of the archives' fixed-size values, independent of the
// machine's own byte order.
#include <cstdint>
#include <cstring>

namespace byte_order {

inline void store32(unsigned char* out, std::uint32_t value) {
    out[0] = static_cast<unsigned char>(value);
    out[1] = static_cast<unsigned char>(value >> 8);
    out[2] = static_cast<unsigned char>(value >> 16);
    out[3] = static_cast<unsigned char>(value >> 24);
}

inline void store64(unsigned char* out, std::uint64_t value) {
    store32(out, static_cast<std::uint32_t>(value));
    store32(out + 4, static_cast<std::uint32_t>(value >> 32));
}

inline std::uint32_t load32(const unsigned char* in) {
    return static_cast<std::uint32_t>(in[0]) | static_cast<std::uint32_t>(in[1]) << 8 |
           static_cast<std::uint32_t>(in[2]) << 16 | static_cast<std::uint32_t>(in[3]) << 24;
}

inline std::uint64_t load64(const unsigned char* in) {
    return static_cast<std::uint64_t>(load32(in)) | static_cast<std::uint64_t>(load32(in + 4))
                                                        << 32;
}

template <typename To, typename From>
To bitCast(From from) {
    static_assert(sizeof(To) == sizeof(From), "sizes differ");
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
}

}  // namespace byte_order
