#include "persist/output_archive.h"

#include <algorithm>

#include "core/object.h"
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
