#pragma once
// Writer of the saved-state encoding: every value is stored as its little-endian
// bytes, back to back, with no framing. The order of the write calls is the whole
// layout; a reader must call the matching reads in the same order.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "persist/byte_order.h"

class Core;
class Object;

class OutputArchive {
public:
    explicit OutputArchive(Core* core);
    ~OutputArchive();
    OutputArchive(const OutputArchive&) = delete;
    OutputArchive& operator=(const OutputArchive&) = delete;

    // Opens the file for byte-exact output, truncating it. Other processes may
    // read and write it meanwhile.
    bool open(const std::string& path);

    // The writes are inline: a save makes millions of them.
    void write(std::uint8_t byte) { put(&byte, 1); }
    void write(bool value) { write(static_cast<std::uint8_t>(value ? 1 : 0)); }
    void write(std::uint32_t value) {
        unsigned char bytes[4];
        byte_order::store32(bytes, value);
        put(bytes, sizeof bytes);
    }
    void write(std::int32_t value) { write(static_cast<std::uint32_t>(value)); }
    void write(float value) { write(byte_order::bitCast<std::uint32_t>(value)); }
    void write(double value) {
        unsigned char bytes[8];
        byte_order::store64(bytes, byte_order::bitCast<std::uint64_t>(value));
        put(bytes, sizeof bytes);
    }
    // A 32-bit length (characters + 1), the characters, one zero byte. The whole
    // string is counted, zero bytes included.
    void write(const std::string& text) { writeString(text.c_str(), text.size()); }
    // Without this overload a literal would silently become a boolean.
    void write(const char* text) { writeString(text, std::strlen(text)); }
    // Raw bytes, no length in front.
    void write(const void* data, std::size_t count) { put(data, count); }
    // The object's identifier; a null object is written as 0, which names none.
    void write(const Object* object);

    // Hands everything written so far to the file and forces it onto the disk,
    // then closes the file. False when any write or the sync failed.
    bool commit();
    // False once a write could not be handed to the file.
    bool good() const { return !failed; }
    Core* getCore() const { return core; }

private:
    // Values almost always fit the buffer's free room: that case stays inline.
    void put(const void* bytes, std::size_t count) {
        if (file != nullptr && count <= BUFFER_SIZE - used) {
            std::memcpy(buffer.get() + used, bytes, count);
            used += count;
        } else {
            putSlowly(bytes, count);
        }
    }
    void putSlowly(const void* bytes, std::size_t count);
    void writeString(const char* text, std::size_t length) {
        write(static_cast<std::uint32_t>(length + 1));
        put(text, length + 1);
    }
    void flushBuffer();
    void closeFile();

    static constexpr std::size_t BUFFER_SIZE = 64 * 1024;

    Core* core;
    std::FILE* file = nullptr;
    std::unique_ptr<unsigned char[]> buffer;
    std::size_t used = 0;
    bool failed = false;
};
