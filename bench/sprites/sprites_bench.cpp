// 10,000 turned, tinted 32 x 32 sprites a frame through Graphics::drawSprite, against
// the same pictures handed straight to SDL on the same renderer. Prints the frame
// rates of both and "RATIO sprites <Graphics frame time / SDL frame time>" (the
// median over alternating rounds).
// Needs a display; run.sh gives it one of its own.
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "graphics/graphics.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/texture.h"
#include "platform/sdl/window_registry.h"

namespace {

constexpr int spritesPerFrame = 10000;
constexpr int framesPerRound = 6;
constexpr int rounds = 15;

struct Sprite {
    int x, y, angle;
    std::uint32_t colour;
};

std::vector<Sprite> scatter() {
    std::vector<Sprite> sprites;
    std::uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    for (int i = 0; i < spritesPerFrame; ++i) {
        const std::uint32_t tint = next();
        sprites.push_back(Sprite{static_cast<int>(next() % 768), static_cast<int>(next() % 568),
                                 static_cast<int>(next() % 360),
                                 0xC0000000u | (tint & 0x00FFFFFFu) | 0x00404040u});
    }
    return sprites;
}

std::string writePiece(const std::string& folder) {
    SDL_Surface* piece = SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 32, SDL_PIXELFORMAT_ARGB8888);
    for (int y = 0; y < 32; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(piece->pixels) +
                                                     y * piece->pitch);
        for (int x = 0; x < 32; ++x) {
            const bool edge = x < 2 || y < 2 || x > 29 || y > 29;
            row[x] = edge ? 0xFF202020u : 0xFFE0E0E0u - static_cast<std::uint32_t>(x + y);
        }
    }
    const std::string path = folder + "/piece.png";
    IMG_SavePNG(piece, path.c_str());
    SDL_FreeSurface(piece);
    return path;
}

void pump(platform::System& system) {
    platform::Message message;
    while (system.peekMessage(message)) system.dispatchMessage(message);
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
    const std::string folder =
        (std::filesystem::temp_directory_path() / ("sprites-bench-" + std::to_string(getpid())))
            .string();
    std::filesystem::create_directories(folder);

    // Measure the drawing, not the wait for the retrace that present makes.
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    platform::sdl::SdlPlatform backend;
    platform::install(&backend);
    Graphics::initialize("SpritesBench", "Sprites", "");
    Graphics::setScreenFormat(Graphics::getDesktopScreenFormat());
    Texture* piece = Graphics::loadTexture(writePiece(folder));
    SDL_Texture* sdlPiece =
        dynamic_cast<platform::sdl::SdlTexture*>(piece->getTexture())->texture();
    auto* window = static_cast<platform::sdl::WindowRecord*>(Graphics::getWindow());
    SDL_Renderer* renderer = SDL_GetRenderer(window->sdl);
    const std::vector<Sprite> sprites = scatter();

    auto throughGraphics = [&] {
        int drawn = 0;
        while (drawn < framesPerRound) {
            pump(backend.system());
            if (!Graphics::beginFrame()) continue;
            for (const Sprite& s : sprites) {
                Graphics::drawSprite(piece, s.x, s.y, 32, 32, 0, 0, 32, 32, s.colour, 16, 16,
                                     s.angle);
            }
            Graphics::endFrame();
            ++drawn;
        }
    };
    auto straightToSdl = [&] {
        const SDL_Rect source{0, 0, 32, 32};
        const SDL_FPoint centre{16, 16};
        SDL_SetTextureBlendMode(sdlPiece, SDL_BLENDMODE_BLEND);
        for (int frame = 0; frame < framesPerRound; ++frame) {
            pump(backend.system());
            SDL_SetRenderDrawColor(renderer, 0, 0, 0, 0);
            SDL_RenderClear(renderer);
            for (const Sprite& s : sprites) {
                SDL_SetTextureColorMod(sdlPiece, static_cast<Uint8>(s.colour >> 16),
                                       static_cast<Uint8>(s.colour >> 8),
                                       static_cast<Uint8>(s.colour));
                SDL_SetTextureAlphaMod(sdlPiece, static_cast<Uint8>(s.colour >> 24));
                const SDL_FRect target{static_cast<float>(s.x), static_cast<float>(s.y), 32, 32};
                SDL_RenderCopyExF(renderer, sdlPiece, &source, &target, s.angle, &centre,
                                  SDL_FLIP_NONE);
            }
            SDL_RenderPresent(renderer);
        }
    };

    // One round of each first to settle the drivers, then alternate rounds so that
    // both sides meet the same load of the machine.
    throughGraphics();
    straightToSdl();
    // The machine is shared: the median of the rounds' ratios keeps a burst of
    // someone else's work on one side out of the answer.
    double graphicsSeconds = 0;
    double sdlSeconds = 0;
    std::vector<double> ratios;
    for (int round = 0; round < rounds; ++round) {
        auto start = std::chrono::steady_clock::now();
        throughGraphics();
        const double graphicsRound = secondsSince(start);
        start = std::chrono::steady_clock::now();
        straightToSdl();
        const double sdlRound = secondsSince(start);
        graphicsSeconds += graphicsRound;
        sdlSeconds += sdlRound;
        ratios.push_back(graphicsRound / sdlRound);
    }
    std::nth_element(ratios.begin(), ratios.begin() + rounds / 2, ratios.end());
    const double frames = framesPerRound * rounds;
    const char* driver = SDL_GetCurrentVideoDriver();
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer, &info);
    std::printf("video %s, renderer %s, %d sprites a frame, %d frames each\n",
                driver != nullptr ? driver : "?", info.name, spritesPerFrame,
                static_cast<int>(frames));
    std::printf("Graphics::drawSprite: %.2f frames/s\n", frames / graphicsSeconds);
    std::printf("SDL_RenderCopyExF:    %.2f frames/s\n", frames / sdlSeconds);
    std::printf("RATIO sprites %.3f\n", ratios[rounds / 2]);

    backend.windows().destroyWindow(Graphics::getWindow());
    platform::install(nullptr);
    std::filesystem::remove_all(folder);
    return 0;
}
