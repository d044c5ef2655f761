#pragma once
// A game over recording fakes: the graphics fakes started in the requested
// format, every picture loaded from fake image files, the game's state fresh.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_graphics.h"
#include "fakes/fake_platform.h"
#include "game/game.h"
#include "game/game_state.h"
#include "graphics/graphics.h"

namespace gametest {

// A recorded sprite draw, worked back to the arguments of Graphics::drawSprite.
struct Drawn {
    std::string path;  // the picture's file
    float x = 0;       // translation, given the rotation centre
    float y = 0;
    float width = 0;  // scale times the picture's image size
    float height = 0;
    platform::Rect source;
    std::uint32_t colour = 0;
    float angle = 0;  // degrees, clockwise
};

class GameTest : public ::testing::Test {
protected:
    fakes::FakePlatform platform;
    fakes::FakeGraphics graphics{platform};
    Game::State& state = Game::state;

    GameTest();
    ~GameTest() override;

    // Image sizes of the fake picture files: the sizes the screens draw.
    static std::uint32_t imageWidth(const std::string& path);
    static std::uint32_t imageHeight(const std::string& path);

    // Loads a picture for this test; the fixture frees it at the end.
    Texture* load(const std::string& path);

    void keyDown(int key) { platform.fakeInput.down.insert(key); }
    void keyUp(int key) { platform.fakeInput.down.erase(key); }
    void tap(int key) { platform.fakeInput.tapped.insert(key); }
    void setCursor(int x, int y) {
        platform.fakeInput.cursor.x = x;
        platform.fakeInput.cursor.y = y;
    }
    void deviceLost(bool lost);

    // Runs Game::frame `count` times.
    void frames(int count, float dt);

    // Straight to a fresh menu or a fresh game, as the screens would get there.
    void enterMenu();
    void enterPlay();

    // The draws recorded since the last call (or since the start), decoded.
    std::vector<Drawn> takeDraws(float centreX = 0, float centreY = 0);
    int presents() { return graphics.device().presents; }
    int destroyCalls() const;
    bool windowDestroyed() const;

    std::int32_t cell(std::int32_t row, std::int32_t column) const {
        return state.board.at(row, column);
    }
    void setCell(std::int32_t row, std::int32_t column, std::int32_t kind) {
        state.board.put(row, column, kind);
    }

private:
    std::size_t drawsTaken = 0;
    std::vector<std::unique_ptr<Texture>> loaded;
};

// Draws of one picture.
std::vector<Drawn> only(const std::vector<Drawn>& draws, const std::string& path);
std::uint32_t alphaOf(std::uint32_t colour);

}  // namespace gametest
