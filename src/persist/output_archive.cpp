#include "persist/output_archive.h"

#include <algorithm>

#include "core/object.h"
#include "persist/byte_order.h"
#include "persist/file_sync.h"

OutputArchive::OutputArchive(Core* core) : core(core) {}

OutputArchive::~OutputArchive() { closeFile(); }

bool OutputArchive::open(const std::string& path) {
    closeFile();
    failed = false;
    used = 0;
    file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    if (!buffer) {
        buffer.reset(new unsigned char[BUFFER_SIZE]);
    }
    // The archive buffers on its own; a second buffer in the stream only copies.
    std::setvbuf(file, nullptr, _IONBF, 0);
    return true;
}

void OutputArchive::write(std::uint8_t byte) { put(&byte, 1); }

void OutputArchive::write(bool value) { write(static_cast<std::uint8_t>(value ? 1 : 0)); }

void OutputArchive::write(std::uint32_t value) {
    unsigned char bytes[4];
    byte_order::store32(bytes, value);
    put(bytes, sizeof bytes);
}

void OutputArchive::write(std::int32_t value) { write(static_cast<std::uint32_t>(value)); }

void OutputArchive::write(float value) { write(byte_order::bitCast<std::uint32_t>(value)); }

void OutputArchive::write(double value) {
    unsigned char bytes[8];
    byte_order::store64(bytes, byte_order::bitCast<std::uint64_t>(value));
    put(bytes, sizeof bytes);
}

void OutputArchive::write(const std::string& text) {
    // The whole string is counted, zero bytes included, plus the terminator.
    write(static_cast<std::uint32_t>(text.size() + 1));
    put(text.c_str(), text.size() + 1);
}

void OutputArchive::write(const char* text) {
    const std::size_t length = std::strlen(text);
    write(static_cast<std::uint32_t>(length + 1));
    put(text, length + 1);
}

void OutputArchive::write(const void* data, std::size_t count) { put(data, count); }

void OutputArchive::write(const Object* object) {
    write(static_cast<std::int32_t>(object != nullptr ? object->getId() : 0));
}

bool OutputArchive::commit() {
    if (file == nullptr) {
        return false;
    }
    flushBuffer();
    if (!failed && !file_sync::syncToDisk(file)) {
        failed = true;
    }
    if (std::fclose(file) != 0) {
        failed = true;
    }
    file = nullptr;
    return !failed;
}

void OutputArchive::putSlowly(const void* bytes, std::size_t count) {
    if (file == nullptr) {
        failed = true;
        return;
    }
    const auto* from = static_cast<const unsigned char*>(bytes);
    while (count > 0) {
        if (used == BUFFER_SIZE) {
            flushBuffer();
        }
        const std::size_t chunk = std::min(count, BUFFER_SIZE - used);
        std::memcpy(buffer.get() + used, from, chunk);
        used += chunk;
        from += chunk;
        count -= chunk;
    }
}

void OutputArchive::flushBuffer() {
    if (used > 0 && std::fwrite(buffer.get(), 1, used, file) != used) {
        failed = true;
    }
    used = 0;
}

void OutputArchive::closeFile() {
    if (file != nullptr) {
        flushBuffer();
        std::fclose(file);
        file = nullptr;
    }
}
