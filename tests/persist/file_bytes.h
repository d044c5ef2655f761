#pragma once
// Helpers for tests that look at files byte by byte.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace persist_test {

using Bytes = std::vector<std::uint8_t>;

Bytes readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const Bytes& bytes);

// Builds crafted file contents in the little-endian encoding.
class ByteBuilder {
public:
    ByteBuilder& byte(std::uint8_t value);
    ByteBuilder& int32(std::uint32_t value);
    ByteBuilder& real64(double value);
    ByteBuilder& real32(float value);
    // Length (characters + 1), characters, zero byte.
    ByteBuilder& string(const std::string& text);
    ByteBuilder& raw(const Bytes& more);
    const Bytes& bytes() const { return data; }

private:
    Bytes data;
};

// A fresh folder under the system's temporary folder, removed on destruction.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::filesystem::path file(const std::string& name) const { return root / name; }
    // Names of the files in the folder, sorted.
    std::vector<std::string> listing() const;

private:
    std::filesystem::path root;
};

}  // namespace persist_test
