#pragma once
// Tessak, the falling-pair game: the per-frame callback that runs the intro, the
// menu and the play screen, and the pictures the program loads for it at start-up.
#include <cstddef>
#include <cstdint>

class Texture;

namespace Game {

// Every picture the game draws (plus one it only loads), filled once at start-up.
struct Textures {
    Texture* backdrop = nullptr;
    Texture* menuPicture = nullptr;
    Texture* arcadeButton = nullptr;
    Texture* arcadeButtonOver = nullptr;
    Texture* optionsButton = nullptr;
    Texture* optionsButtonOver = nullptr;
    Texture* creditsButton = nullptr;
    Texture* creditsButtonOver = nullptr;
    Texture* advancedButton = nullptr;
    Texture* advancedButtonOver = nullptr;
    Texture* quitButton = nullptr;
    Texture* quitButtonOver = nullptr;
    Texture* extra = nullptr;
    Texture* piece1 = nullptr;
    Texture* piece2 = nullptr;
    Texture* piece3 = nullptr;
    Texture* piece4 = nullptr;
    Texture* whiteFade = nullptr;
    Texture* logo = nullptr;
    Texture* title = nullptr;
};

extern Textures textures;

// One picture file and the slot of `textures` that holds it.
struct TextureFile {
    const char* path;
    Texture* Textures::*slot;
};

// The files in the order the program loads them.
constexpr std::size_t TEXTURE_FILE_COUNT = 20;
extern const TextureFile textureFiles[TEXTURE_FILE_COUNT];

// The per-frame callback handed to the Core: runs every active screen.
void frame(float dt);
void updateIntro(float dt);
void updateMenu(float dt);
void updatePlay(float dt);

// Empties the field proper of `state.board` for a new game (Board::clearForNewGame).
void clearBoard();
void drawBoard();
void drawPreview();
void drawPlayScreen();

// Destroys the game window, once.
void quit();

// A piece kind from the runtime random generator: 1 to 4.
std::int32_t randomKind();

}  // namespace Game
