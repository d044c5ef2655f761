#include "game/game_state.h"

#include <cstdlib>

namespace Game {

// Built at compile time: the game's state needs no start-up code and no heap.
constexpr State INITIAL_STATE{};

State state = INITIAL_STATE;
Textures textures;

const TextureFile textureFiles[TEXTURE_FILE_COUNT] = {
    {"resources/backdrop.png", &Textures::backdrop},
    {"resources/mainmenu1.png", &Textures::menuPicture},
    {"resources/buttonarcade.png", &Textures::arcadeButton},
    {"resources/buttonarcadeover.png", &Textures::arcadeButtonOver},
    {"resources/buttonoptions.png", &Textures::optionsButton},
    {"resources/buttonoptionsover.png", &Textures::optionsButtonOver},
    {"resources/buttoncredits.png", &Textures::creditsButton},
    {"resources/buttoncreditsover.png", &Textures::creditsButtonOver},
    {"resources/buttonadvanced.png", &Textures::advancedButton},
    {"resources/buttonadvancedover.png", &Textures::advancedButtonOver},
    {"resources/buttonquit.png", &Textures::quitButton},
    {"resources/buttonquitover.png", &Textures::quitButtonOver},
    {"resources/aaa.png", &Textures::extra},
    {"resources/peice1.png", &Textures::piece1},
    {"resources/peice2.png", &Textures::piece2},
    {"resources/peice3.png", &Textures::piece3},
    {"resources/peice4.png", &Textures::piece4},
    {"resources/whitefade.png", &Textures::whiteFade},
    {"resources/logo.png", &Textures::logo},
    {"resources/tessak.png", &Textures::title},
};

void resetState() { state = INITIAL_STATE; }

std::int32_t randomKind() { return std::rand() % 4 + 1; }

}  // namespace Game
