#include "game_fixture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace gametest {

GameTest::GameTest() {
    for (const Game::TextureFile& file : Game::textureFiles) {
        graphics.addImage(file.path, imageWidth(file.path), imageHeight(file.path));
    }
    graphics.start();
    for (const Game::TextureFile& file : Game::textureFiles) {
        Game::textures.*file.slot = load(file.path);
    }
    Game::resetState();
    std::srand(7);
    state.nextPivotKind = Game::randomKind();
    state.nextSecondKind = Game::randomKind();
}

GameTest::~GameTest() {
    Game::resetState();
    Game::textures = Game::Textures{};
}

Texture* GameTest::load(const std::string& path) {
    loaded.emplace_back(Graphics::loadTexture(path));
    return loaded.back().get();
}

std::uint32_t GameTest::imageWidth(const std::string& path) {
    if (path == "resources/backdrop.png") {
        return 800;
    }
    if (path == "resources/mainmenu1.png") {
        return 348;
    }
    if (path.rfind("resources/button", 0) == 0) {
        return 229;
    }
    if (path == "resources/logo.png") {
        return 400;
    }
    if (path == "resources/tessak.png") {
        return 306;
    }
    return 32;
}

std::uint32_t GameTest::imageHeight(const std::string& path) {
    if (path == "resources/backdrop.png" || path == "resources/mainmenu1.png") {
        return 600;
    }
    if (path.rfind("resources/button", 0) == 0) {
        return 50;
    }
    if (path == "resources/logo.png") {
        return 100;
    }
    if (path == "resources/tessak.png") {
        return 155;
    }
    return 32;
}

void GameTest::deviceLost(bool lost) {
    graphics.device().cooperativeDefault = lost ? platform::d3derr::DEVICELOST : platform::d3d::OK;
}

void GameTest::frames(int count, float dt) {
    for (int i = 0; i < count; ++i) {
        Game::frame(dt);
    }
}

void GameTest::enterMenu() {
    state.introActive = false;
    state.introFadeIn = false;
    state.menuActive = true;
}

void GameTest::enterPlay() {
    state.introActive = false;
    state.introFadeIn = false;
    state.playActive = true;
    Game::clearBoard();
}

std::vector<Drawn> GameTest::takeDraws(float centreX, float centreY) {
    const std::vector<fakes::SpriteDraw>& recorded = graphics.sprite().draws;
    std::vector<Drawn> result;
    for (; drawsTaken < recorded.size(); ++drawsTaken) {
        const fakes::SpriteDraw& draw = recorded[drawsTaken];
        const auto* texture = static_cast<const fakes::FakeTexture*>(draw.texture);
        const float(&m)[4][4] = draw.transform.m;
        Drawn d;
        d.path = texture->path;
        const float scaleX = std::hypot(m[0][0], m[0][1]);
        const float scaleY = std::hypot(m[1][0], m[1][1]);
        const float c = m[0][0] / scaleX;
        const float s = m[0][1] / scaleX;
        d.angle = std::atan2(s, c) * 180.0f / 3.14159265f;
        // The origin lands at R(-centre) + centre + translation.
        d.x = m[3][0] - centreX + (centreX * c - centreY * s);
        d.y = m[3][1] - centreY + (centreX * s + centreY * c);
        d.width = scaleX * static_cast<float>(imageWidth(d.path));
        d.height = scaleY * static_cast<float>(imageHeight(d.path));
        d.source = draw.source;
        d.colour = draw.colour;
        result.push_back(d);
    }
    return result;
}

int GameTest::destroyCalls() const {
    return static_cast<int>(
        std::count(graphics.windows.calls.begin(), graphics.windows.calls.end(), "destroyWindow"));
}

bool GameTest::windowDestroyed() const {
    return graphics.windows.find(Graphics::getWindow())->destroyed;
}

std::vector<Drawn> only(const std::vector<Drawn>& draws, const std::string& path) {
    std::vector<Drawn> result;
    std::copy_if(draws.begin(), draws.end(), std::back_inserter(result),
                 [&](const Drawn& d) { return d.path == path; });
    return result;
}

std::uint32_t alphaOf(std::uint32_t colour) { return colour >> 24; }

}  // namespace gametest
