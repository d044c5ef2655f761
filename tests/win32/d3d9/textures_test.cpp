// The game's twenty pictures load with their image sizes into textures whose
// sides are the next powers of two.
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "d3d9_fixture.h"
#include "game/game.h"

namespace win32_d3d9_test {
namespace {

using TexturesTest = WindowedDeviceFixture;

struct ImageSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// The size in a PNG file's header; zero when the file is no PNG.
ImageSize pngSize(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
    if (bytes.size() < 24 || bytes[1] != 'P' || bytes[2] != 'N' || bytes[3] != 'G') {
        return {};
    }
    const auto bigEndian = [&bytes](std::size_t at) {
        return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
               (std::uint32_t{bytes[at + 2]} << 8) | std::uint32_t{bytes[at + 3]};
    };
    return {bigEndian(16), bigEndian(20)};
}

std::uint32_t nextPowerOfTwo(std::uint32_t size) {
    std::uint32_t power = 1;
    while (power < size) {
        power *= 2;
    }
    return power;
}

TEST_F(TexturesTest, EveryPictureLoadsWithItsImageSizeInAPowerOfTwoTexture) {
    const char* source = std::getenv("TESSAK_SOURCE_DIR");
    ASSERT_NE(source, nullptr) << "TESSAK_SOURCE_DIR is not set";
    int loaded = 0;
    bool somePaddedTexture = false;
    for (const Game::TextureFile& file : Game::textureFiles) {
        SCOPED_TRACE(file.path);
        const std::string path = std::string(source) + "/" + file.path;
        const ImageSize size = pngSize(path);
        ASSERT_GT(size.width, 0u);

        platform::ImageInfo info;
        platform::TextureResource* made = nullptr;
        ASSERT_EQ(device->createTextureFromFile(path, info, &made), platform::d3d::OK);
        std::unique_ptr<platform::TextureResource> texture(made);
        EXPECT_EQ(info.Width, size.width);
        EXPECT_EQ(info.Height, size.height);

        platform::SurfaceDesc level;
        ASSERT_EQ(texture->getLevelDesc(0, level), platform::d3d::OK);
        EXPECT_EQ(level.Width, nextPowerOfTwo(size.width));
        EXPECT_EQ(level.Height, nextPowerOfTwo(size.height));
        somePaddedTexture = somePaddedTexture || level.Width != size.width;
        // One level only: there is no second.
        EXPECT_TRUE(platform::failed(texture->getLevelDesc(1, level)));
        ++loaded;
    }
    EXPECT_EQ(loaded, 20);
    EXPECT_TRUE(somePaddedTexture);
}

TEST_F(TexturesTest, AMissingOrUndecodableFileFailsAndLeavesTheOutArgumentAlone) {
    platform::TextureResource* const sentinel = reinterpret_cast<platform::TextureResource*>(0x1);
    for (const std::string& path :
         {resourcePath("no-such-picture.png"), resourcePath("../README.md")}) {
        SCOPED_TRACE(path);
        platform::ImageInfo info;
        info.Width = 7;
        platform::TextureResource* texture = sentinel;
        EXPECT_TRUE(platform::failed(device->createTextureFromFile(path, info, &texture)));
        EXPECT_EQ(texture, sentinel);
        EXPECT_EQ(info.Width, 7u);
    }
}

}  // namespace
}  // namespace win32_d3d9_test
