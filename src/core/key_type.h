#pragma once
// An object's typed key values. The one-byte tag is the only way to tell which
// kind a stored value is: every reader switches on it.
#include <cstdint>
#include <string>

class KeyType {
public:
    static constexpr std::uint8_t NONE = 0;
    static constexpr std::uint8_t NUMBER = 1;
    static constexpr std::uint8_t STRING = 2;
    static constexpr std::uint8_t BOOL = 3;

    KeyType() : tag(NONE) {}
    virtual ~KeyType() = default;

    std::uint8_t tag;
};

class KeyTypeNumber : public KeyType {
public:
    explicit KeyTypeNumber(double v = 0.0) : value(v) { tag = NUMBER; }
    double value;
};

class KeyTypeString : public KeyType {
public:
    explicit KeyTypeString(std::string v = std::string()) : value(std::move(v)) { tag = STRING; }
    std::string value;
};

class KeyTypeBool : public KeyType {
public:
    // Stored as one byte; any nonzero byte reads as true and is kept as it is.
    explicit KeyTypeBool(std::uint8_t v = 0) : value(v) { tag = BOOL; }
    std::uint8_t value;
};
