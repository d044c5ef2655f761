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

    void write(std::uint8_t byte);
    void write(bool value);
    void write(std::uint32_t value);
    void write(std::int32_t value);
    void write(float value);
    void write(double value);
    // A 32-bit length (characters + 1), the characters, one zero byte.
    void write(const std::string& text);
    // Without this overload a literal would silently become a boolean.
    void write(const char* text);
    // Raw bytes, no length in front.
    void write(const void* data, std::size_t count);
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
    void flushBuffer();
    void closeFile();

    static constexpr std::size_t BUFFER_SIZE = 64 * 1024;

    Core* core;
    std::FILE* file = nullptr;
    std::unique_ptr<unsigned char[]> buffer;
    std::size_t used = 0;
    bool failed = false;
};
