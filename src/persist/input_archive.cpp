#include "persist/input_archive.h"

#include <algorithm>
#include <filesystem>
#include <limits>

#include "core/core.h"
#include "persist/byte_order.h"

namespace {

// The file's size from the open stream, or the largest value when it has none
// (a pipe, or a size beyond what the stream can tell).
std::uint64_t sizeOf(std::FILE* file) {
    std::uint64_t size = std::numeric_limits<std::uint64_t>::max();
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long end = std::ftell(file);
        if (end >= 0) {
            size = static_cast<std::uint64_t>(end);
        }
        std::fseek(file, 0, SEEK_SET);
    }
    return size;
}

}  // namespace

InputArchive::InputArchive(Core* core) : core(core) {}

InputArchive::~InputArchive() { closeFile(); }

bool InputArchive::open(const std::string& path) {
    closeFile();
    begin = end = 0;
    failure = false;
    // Some systems open a folder for reading; it is no file to read all the same.
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        failure = true;
        return false;
    }
    file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        failure = true;
        return false;
    }
    if (!buffer) {
        buffer.reset(new unsigned char[BUFFER_SIZE]);
    }
    std::setvbuf(file, nullptr, _IONBF, 0);
    unbuffered = sizeOf(file);
    return true;
}

std::uint8_t InputArchive::readByte() {
    std::uint8_t byte = 0;
    take(&byte, 1);
    return byte;
}

bool InputArchive::readBool() { return readByte() != 0; }

std::int32_t InputArchive::readInt() {
    unsigned char bytes[4] = {};
    take(bytes, sizeof bytes);
    return static_cast<std::int32_t>(byte_order::load32(bytes));
}

float InputArchive::readFloat() {
    unsigned char bytes[4] = {};
    take(bytes, sizeof bytes);
    return byte_order::bitCast<float>(byte_order::load32(bytes));
}

double InputArchive::readDouble() {
    unsigned char bytes[8] = {};
    take(bytes, sizeof bytes);
    return byte_order::bitCast<double>(byte_order::load64(bytes));
}

std::string InputArchive::readString() {
    const std::int32_t stored = readInt();
    if (failure) {
        return std::string();
    }
    if (stored <= 0) {
        fail();
        return std::string();
    }
    const auto length = static_cast<std::size_t>(stored);
    if (!holds(length)) {
        fail();
        return std::string();
    }
    std::string text;
    std::size_t wanted = length;
    bool terminated = false;
    // Copy piece by piece as the bytes arrive, so that the text never grows
    // beyond what the file really holds, even if it shrank since it was opened.
    while (wanted > 0) {
        if (begin == end && !refill()) {
            fail();
            return std::string();
        }
        const std::size_t piece = std::min(wanted, end - begin);
        const auto* from = reinterpret_cast<const char*>(buffer.get() + begin);
        if (!terminated) {
            const auto* zero = static_cast<const char*>(std::memchr(from, 0, piece));
            text.append(from, zero != nullptr ? static_cast<std::size_t>(zero - from) : piece);
            terminated = zero != nullptr;
        }
        begin += piece;
        wanted -= piece;
    }
    return text;
}

void InputArchive::readBytes(void* out, std::size_t count) { take(out, count); }

Object* InputArchive::readObject() {
    const std::int32_t id = readInt();
    if (failure || core == nullptr) {
        return nullptr;
    }
    return core->findObject(id);
}

bool InputArchive::takeSlowly(void* out, std::size_t count) {
    auto* to = static_cast<unsigned char*>(out);
    if (!failure && holds(count)) {
        std::size_t copied = 0;
        while (copied < count) {
            if (begin == end && !refill()) {
                break;
            }
            const std::size_t piece = std::min(count - copied, end - begin);
            std::memcpy(to + copied, buffer.get() + begin, piece);
            begin += piece;
            copied += piece;
        }
        if (copied == count) {
            return true;
        }
    }
    fail();
    if (count > 0) {
        std::memset(to, 0, count);
    }
    return false;
}

bool InputArchive::refill() {
    if (file == nullptr || unbuffered == 0) {
        return false;
    }
    std::memmove(buffer.get(), buffer.get() + begin, end - begin);
    end -= begin;
    begin = 0;
    const std::size_t room = BUFFER_SIZE - end;
    const std::size_t got = std::fread(buffer.get() + end, 1, room, file);
    end += got;
    if (unbuffered != std::numeric_limits<std::uint64_t>::max()) {
        unbuffered -= std::min<std::uint64_t>(unbuffered, got);
    }
    if (got < room && std::feof(file)) {
        // The file ended sooner or later than its size said: trust what was read.
        unbuffered = 0;
    }
    return got > 0;
}

void InputArchive::fail() { failure = true; }

void InputArchive::closeFile() {
    if (file != nullptr) {
        std::fclose(file);
        file = nullptr;
    }
}
