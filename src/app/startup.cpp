#include "app/startup.h"

#include <cstdlib>
#include <ctime>
#include <exception>

#include "core/core.h"
#include "game/game.h"
#include "game/game_state.h"
#include "graphics/graphics.h"
#include "graphics/screen_format.h"
#include "log/log.h"
#include "platform/win32_values.h"

namespace App {

Core* core = nullptr;

namespace {

// The program's own object types: none. Scripts can only make plain objects.
Object* makeNoObject(std::int32_t) { return nullptr; }

}  // namespace

int run(unsigned seed) {
    // Before the first entry, so that a player's failure leaves its message behind.
    Log::open(LOG_FOLDER);
    std::srand(seed);

    core = new Core(makeNoObject, Game::frame);

    Graphics::initialize(WINDOW_CLASS, WINDOW_TITLE, ICON_PATH);
    Graphics::setScreenFormat(
        ScreenFormat(800, 600, platform::d3dfmt::X8R8G8B8, 100, ScreenFormat::FULLSCREEN));

    for (const Game::TextureFile& file : Game::textureFiles) {
        Game::textures.*file.slot = Graphics::loadTexture(file.path);
    }

    Game::state.nextPivotKind = Game::randomKind();
    Game::state.nextSecondKind = Game::randomKind();

    core->reset();
    core->run();
    return 0;
}

int runProgram(void (*reportFailure)(const std::string& text)) {
    try {
        return run(static_cast<unsigned>(std::time(nullptr)));
    } catch (const Log::Fatal&) {
        return 1;  // its message box has been shown and its entry written
    } catch (const std::exception& failure) {
        reportFailure(std::string("Tessak: ") + failure.what());
        return 1;
    }
}

}  // namespace App
