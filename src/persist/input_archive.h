#pragma once
// Reader of the saved-state encoding written by OutputArchive. Every read is
// checked: a read past the end of the file, from a failed stream or of a string
// whose length cannot be right fails the archive, and from then on every read
// yields zero, false or the empty string. Callers look at `failed` to stop.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

class Core;
class Object;

class InputArchive {
public:
    explicit InputArchive(Core* core);
    ~InputArchive();
    InputArchive(const InputArchive&) = delete;
    InputArchive& operator=(const InputArchive&) = delete;

    // Opens the file for byte-exact input; other processes may read and write it.
    bool open(const std::string& path);

    std::uint8_t readByte();
    // Any nonzero byte is true.
    bool readBool();
    // A count written unsigned comes back signed, as stored.
    std::int32_t readInt();
    float readFloat();
    double readDouble();
    // The characters up to the first zero byte of the stored ones. A length of 0
    // or below, or beyond what is left of the file, fails before anything is taken.
    std::string readString();
    // Fills `buffer` with `count` bytes; with zeros when they are not all there.
    void readBytes(void* buffer, std::size_t count);
    // The object of the owning core with the stored identifier, or null.
    Object* readObject();

    bool failed() const { return failure; }
    Core* getCore() const { return core; }

private:
    // Copies `count` bytes out; on failure fills them with zeros.
    bool take(void* out, std::size_t count) {
        if (!failure && count <= static_cast<std::size_t>(end - begin)) {
            std::memcpy(out, buffer.get() + begin, count);
            begin += count;
            return true;
        }
        return takeSlowly(out, count);
    }
    bool takeSlowly(void* out, std::size_t count);
    // Whether the file, as far as its size at opening tells, still holds `count` bytes.
    bool holds(std::uint64_t count) const {
        const std::size_t buffered = end - begin;
        return count <= buffered || count - buffered <= unbuffered;
    }
    // Moves the unread bytes to the front and fills the rest from the file;
    // false when nothing more could be had.
    bool refill();
    void fail();
    void closeFile();

    static constexpr std::size_t BUFFER_SIZE = 64 * 1024;

    Core* core;
    std::FILE* file = nullptr;
    std::unique_ptr<unsigned char[]> buffer;
    std::size_t begin = 0;
    std::size_t end = 0;
    // Bytes of the file not yet moved into the buffer, as far as its size told
    // at opening; the largest value when the size could not be had.
    std::uint64_t unbuffered = 0;
    bool failure = false;
};
