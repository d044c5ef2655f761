// The committed pictures: every file the game loads is a PNG of 8 bits per
// channel with the size the screens draw it at.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "game/game.h"

namespace {

struct PngHeader {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitDepth = 0;
    int colourType = -1;
};

std::uint32_t bigEndian(const unsigned char* bytes) {
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
           (std::uint32_t{bytes[2]} << 8) | std::uint32_t{bytes[3]};
}

// Reads the signature and the IHDR chunk, which must come first. A file that is
// missing or is not a PNG gives colour type -1.
PngHeader readHeader(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::array<unsigned char, 8 + 8 + 13> bytes{};
    if (!file.read(reinterpret_cast<char*>(bytes.data()), bytes.size())) {
        return {};
    }
    static const unsigned char SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (!std::equal(SIGNATURE, SIGNATURE + 8, bytes.begin()) || bigEndian(&bytes[8]) != 13 ||
        std::string(bytes.begin() + 12, bytes.begin() + 16) != "IHDR") {
        return {};
    }
    PngHeader header;
    header.width = bigEndian(&bytes[16]);
    header.height = bigEndian(&bytes[20]);
    header.bitDepth = bytes[24];
    header.colourType = bytes[25];
    return header;
}

std::string sourceDir() {
    const char* dir = std::getenv("TESSAK_SOURCE_DIR");
    return dir != nullptr ? dir : "";
}

TEST(ResourcesTest, EveryPictureTheGameLoadsHasItsDrawnSize) {
    const std::string root = sourceDir();
    ASSERT_FALSE(root.empty()) << "TESSAK_SOURCE_DIR is not set";
    // Width and height as the screens draw them; aaa.png is drawn by none.
    const std::map<std::string, std::pair<std::uint32_t, std::uint32_t>> drawn = {
        {"resources/backdrop.png", {800, 600}}, {"resources/mainmenu1.png", {348, 600}},
        {"resources/logo.png", {400, 100}},     {"resources/tessak.png", {306, 155}},
        {"resources/whitefade.png", {32, 32}},  {"resources/peice1.png", {32, 32}},
        {"resources/peice2.png", {32, 32}},     {"resources/peice3.png", {32, 32}},
        {"resources/peice4.png", {32, 32}},
    };
    int checkedSizes = 0;
    for (const Game::TextureFile& file : Game::textureFiles) {
        const std::string path = file.path;
        const PngHeader header = readHeader(root + "/" + path);
        ASSERT_NE(header.colourType, -1) << path << " is missing or not a PNG";
        EXPECT_EQ(header.bitDepth, 8) << path;
        // Truecolour or grey, with or without alpha; not a palette.
        EXPECT_TRUE(header.colourType == 0 || header.colourType == 2 || header.colourType == 4 ||
                    header.colourType == 6)
            << path << " has colour type " << header.colourType;
        std::pair<std::uint32_t, std::uint32_t> size{0, 0};
        if (path.rfind("resources/button", 0) == 0) {
            size = {229, 50};
        } else if (const auto found = drawn.find(path); found != drawn.end()) {
            size = found->second;
        } else {
            EXPECT_GT(header.width, 0u) << path;
            EXPECT_GT(header.height, 0u) << path;
            continue;
        }
        EXPECT_EQ(header.width, size.first) << path;
        EXPECT_EQ(header.height, size.second) << path;
        ++checkedSizes;
    }
    EXPECT_EQ(checkedSizes, 19);
}

TEST(ResourcesTest, HeaderReaderRejectsWhatIsNotAPng) {
    const std::string path = ::testing::TempDir() + "not_a_png.png";
    {
        std::ofstream file(path, std::ios::binary);
        file << "GIF89a, certainly not a PNG picture at all";
    }
    EXPECT_EQ(readHeader(path).colourType, -1);
    EXPECT_EQ(readHeader(path + ".missing").colourType, -1);
    std::remove(path.c_str());
}

}  // namespace
