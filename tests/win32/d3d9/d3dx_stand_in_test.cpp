// D3DX 9 and the backend's stand-in side by side: the same pictures loaded and
// the same sprites drawn through each, the textures and frames compared.
#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "d3d9_fixture.h"
#include "game/game.h"
#include "graphics/transform2d.h"
#include "platform/win32/d3d9/d3dx_library.h"
#include "platform/win32/d3d9/direct3d9.h"
#include "platform/win32/d3d9/raw_access.h"

namespace win32_d3d9_test {
namespace {

using platform::win32::noD3dx;
using platform::win32::systemD3dx;

// One sprite the way the engine draws it.
struct Sprite {
    const char* picture;
    float x, y, scale, centre;
    int degrees;
    std::uint32_t colour;
    platform::Rect source;
};

// Position, rotation, scale, tint, alpha, and source rectangles inside, past the
// picture (into the padding) and past the texture (its edge repeated).
const Sprite scene[] = {
    {"backdrop.png", 0, 0, 1.0f, 0, 0, 0xFFFFFFFFu, {0, 0, 800, 600}},
    {"logo.png", 200, 40, 1.0f, 0, 0, 0x80FFFFFFu, {0, 0, 400, 100}},
    {"peice1.png", 60, 400, 1.0f, 16, 90, 0xFFFFFFFFu, {0, 0, 32, 32}},
    {"peice2.png", 150, 400, 2.0f, 32, 45, 0xFFFFFFFFu, {0, 0, 32, 32}},
    {"peice3.png", 250, 400, 1.5f, 24, 270, 0xFFFF8040u, {0, 0, 32, 32}},
    {"peice4.png", 330, 400, 1.0f, 16, 180, 0xC0FFFFFFu, {8, 8, 24, 24}},
    {"buttonarcade.png", 450, 300, 0.5f, 0, 0, 0xFFFFFFFFu, {0, 0, 229, 50}},
    {"buttonquitover.png", 450, 360, 1.0f, 0, 10, 0xFFFFFFFFu, {0, 0, 229, 50}},
    {"tessak.png", 480, 420, 1.0f, 0, 0, 0xFFFFFFFFu, {100, 50, 400, 260}},
    {"whitefade.png", 0, 0, 1.0f, 0, 0, 0x40FFFFFFu, {0, 0, 800, 600}},
};

class D3dxStandInTest : public D3D9Fixture {
protected:
    void SetUp() override {
        if (!systemD3dx().available()) {
            GTEST_SKIP() << "no d3dx9_43.dll to compare with";
        }
        D3D9Fixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        standIn.reset(platform::win32::createDirect3D(noD3dx()));
        ASSERT_NE(standIn, nullptr);
    }

    // A windowed device made through `through` (D3DX or the stand-in).
    std::unique_ptr<platform::Device> deviceThrough(platform::Direct3D* through) {
        platform::Direct3D* shared = direct3D;
        direct3D = through;
        platform::PresentParameters presentParameters = parameters(true);
        std::unique_ptr<platform::Device> device = createDevice(presentParameters);
        direct3D = shared;
        return device;
    }

    std::unique_ptr<platform::TextureResource> load(platform::Device& device,
                                                    const std::string& name,
                                                    platform::ImageInfo& info) {
        platform::TextureResource* made = nullptr;
        EXPECT_EQ(device.createTextureFromFile(resourcePath(name), info, &made), platform::d3d::OK)
            << name;
        return std::unique_ptr<platform::TextureResource>(made);
    }

    FrameCopy drawScene(platform::Direct3D* through) {
        std::unique_ptr<platform::Device> device = deviceThrough(through);
        platform::SpriteBatch* made = nullptr;
        if (device == nullptr || device->createSprite(&made) != platform::d3d::OK) {
            ADD_FAILURE() << "no device or sprite";
            return {};
        }
        std::unique_ptr<platform::SpriteBatch> sprite(made);
        std::vector<std::unique_ptr<platform::TextureResource>> textures;
        for (const Sprite& each : scene) {
            platform::ImageInfo info;
            textures.push_back(load(*device, each.picture, info));
        }
        EXPECT_EQ(device->clear(platform::d3dclear::TARGET | platform::d3dclear::ZBUFFER,
                                0xFF203040u, 1.0f, 0),
                  platform::d3d::OK);
        EXPECT_EQ(device->beginScene(), platform::d3d::OK);
        EXPECT_EQ(sprite->begin(platform::d3dxsprite::ALPHABLEND), platform::d3d::OK);
        for (std::size_t i = 0; i < std::size(scene); ++i) {
            const Sprite& each = scene[i];
            sprite->setTransform(graphics::transformation2D(
                {each.scale, each.scale}, {each.centre, each.centre},
                static_cast<float>(each.degrees * 0.017453292), {each.x, each.y}));
            EXPECT_EQ(sprite->draw(textures[i].get(), &each.source, each.colour),
                      platform::d3d::OK);
        }
        EXPECT_EQ(sprite->end(), platform::d3d::OK);
        EXPECT_EQ(device->endScene(), platform::d3d::OK);
        return readBack(*device);
    }

    std::unique_ptr<platform::Direct3D> standIn;
};

// The texels of level 0 as A8R8G8B8 (an X8R8G8B8 texture reads as opaque).
std::vector<std::uint32_t> texels(platform::TextureResource& texture, std::uint32_t& width,
                                  std::uint32_t& height) {
    IDirect3DTexture9* raw = platform::win32::rawTexture(texture);
    D3DSURFACE_DESC level{};
    D3DLOCKED_RECT locked{};
    std::vector<std::uint32_t> out;
    if (raw == nullptr || FAILED(raw->GetLevelDesc(0, &level)) ||
        (level.Format != D3DFMT_A8R8G8B8 && level.Format != D3DFMT_X8R8G8B8) ||
        FAILED(raw->LockRect(0, &locked, nullptr, D3DLOCK_READONLY))) {
        ADD_FAILURE() << "the texture cannot be read";
        return out;
    }
    width = level.Width;
    height = level.Height;
    const std::uint32_t opaque = level.Format == D3DFMT_X8R8G8B8 ? 0xFF000000u : 0;
    for (std::uint32_t y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            static_cast<const unsigned char*>(locked.pBits) + y * locked.Pitch);
        for (std::uint32_t x = 0; x < width; ++x) {
            out.push_back(row[x] | opaque);
        }
    }
    raw->UnlockRect(0);
    return out;
}

TEST(D3dxLibrary, IsFoundUnlessWineWasToldToLeaveItOut) {
    // tools/run-windows-tests.sh --without-d3dx disables d3dx9_43.dll and says so.
    const bool leftOut = std::getenv("TESSAK_WITHOUT_D3DX") != nullptr;
    EXPECT_EQ(systemD3dx().available(), !leftOut);
    EXPECT_FALSE(noD3dx().available());
}

TEST_F(D3dxStandInTest, EveryPictureLoadsIntoTheSameTexels) {
    std::unique_ptr<platform::Device> withD3dx = deviceThrough(direct3D);
    std::unique_ptr<platform::Device> withStandIn = deviceThrough(standIn.get());
    ASSERT_TRUE(withD3dx != nullptr && withStandIn != nullptr);
    for (const Game::TextureFile& file : Game::textureFiles) {
        const std::string name = std::string(file.path).substr(std::string("resources/").size());
        SCOPED_TRACE(name);
        platform::ImageInfo d3dxInfo;
        platform::ImageInfo standInInfo;
        auto d3dxTexture = load(*withD3dx, name, d3dxInfo);
        auto standInTexture = load(*withStandIn, name, standInInfo);
        ASSERT_TRUE(d3dxTexture != nullptr && standInTexture != nullptr);
        EXPECT_EQ(standInInfo.Width, d3dxInfo.Width);
        EXPECT_EQ(standInInfo.Height, d3dxInfo.Height);
        std::uint32_t d3dxWidth = 0, d3dxHeight = 0, width = 0, height = 0;
        const auto expected = texels(*d3dxTexture, d3dxWidth, d3dxHeight);
        const auto actual = texels(*standInTexture, width, height);
        EXPECT_EQ(width, d3dxWidth);
        EXPECT_EQ(height, d3dxHeight);
        // Fully transparent texels may differ in colour: they draw nothing.
        std::size_t differing = 0;
        for (std::size_t i = 0; i < std::min(expected.size(), actual.size()); ++i) {
            const bool bothClear = (expected[i] >> 24) == 0 && (actual[i] >> 24) == 0;
            differing += !bothClear && expected[i] != actual[i] ? 1 : 0;
        }
        EXPECT_EQ(differing, 0u);
    }
}

TEST_F(D3dxStandInTest, TheSameSpritesDrawTheSameFrame) {
    const FrameCopy expected = drawScene(direct3D);
    const FrameCopy actual = drawScene(standIn.get());
    ASSERT_EQ(actual.pixels.size(), expected.pixels.size());
    ASSERT_EQ(actual.pixels.size(), static_cast<std::size_t>(SCREEN_WIDTH) * SCREEN_HEIGHT);
    int largest = 0;
    std::size_t drawn = 0;
    std::size_t differing = 0;
    std::size_t distant = 0;
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            const Pixel a = expected.at(x, y);
            const Pixel b = actual.at(x, y);
            const int difference = std::max(
                {std::abs(a.red - b.red), std::abs(a.green - b.green), std::abs(a.blue - b.blue)});
            largest = std::max(largest, difference);
            drawn += closeTo(a, Pixel{0x20, 0x30, 0x40}, 0) ? 0 : 1;
            differing += difference > 0 ? 1 : 0;
            distant += difference > 8 ? 1 : 0;
        }
    }
    std::cout << "D3DX and stand-in frames: " << differing << " of " << actual.pixels.size()
              << " pixels differ, the largest difference " << largest << ", " << distant
              << " pixels by more than 8\n";
    RecordProperty("differingPixels", static_cast<int>(differing));
    RecordProperty("largestDifference", largest);
    // The backdrop covers the clear colour: the scene was drawn, not two blanks.
    EXPECT_GT(drawn, actual.pixels.size() * 9 / 10);
    // Rounding may differ by a step; an edge of a turned sprite may fall on the
    // other side of a pixel centre. Nothing more.
    EXPECT_LE(distant, 50u);
    EXPECT_LE(differing, actual.pixels.size() / 1000);
}

}  // namespace
}  // namespace win32_d3d9_test
