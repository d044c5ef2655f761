#include "file_bytes.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>

namespace persist_test {

namespace fs = std::filesystem;

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

ByteBuilder& ByteBuilder::byte(std::uint8_t value) {
    data.push_back(value);
    return *this;
}

ByteBuilder& ByteBuilder::int32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        data.push_back(static_cast<std::uint8_t>(value >> shift));
    }
    return *this;
}

ByteBuilder& ByteBuilder::real64(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    int32(static_cast<std::uint32_t>(bits));
    return int32(static_cast<std::uint32_t>(bits >> 32));
}

ByteBuilder& ByteBuilder::real32(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return int32(bits);
}

ByteBuilder& ByteBuilder::string(const std::string& text) {
    int32(static_cast<std::uint32_t>(text.size() + 1));
    data.insert(data.end(), text.begin(), text.end());
    return byte(0);
}

ByteBuilder& ByteBuilder::raw(const Bytes& more) {
    data.insert(data.end(), more.begin(), more.end());
    return *this;
}

ScratchFolder::ScratchFolder() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    root = fs::temp_directory_path() /
           ("tessak-persist-" + std::to_string(random()) + "-" + std::to_string(counter++));
    fs::create_directories(root);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
}

std::vector<std::string> ScratchFolder::listing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(root)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace persist_test
