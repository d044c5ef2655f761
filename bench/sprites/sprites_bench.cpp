// Turned, tinted 32 x 32 sprites through Graphics::drawSprite, against the same
// pictures handed straight to SDL on the same renderer, at each sprite count given
// on the command line (1,000, 10,000 and 50,000 when none is). Prints the frame
// rates of both and "RATIO sprites_<count> <Graphics frame time / SDL frame time>"
// (the median over alternating rounds).
//
// A figure is only worth having for the scene it names: before timing, the
// benchmark checks that the window's client area is as large as the back buffer
// and that a frame read back from each side lights the area the sprites cover.
// When either check fails it says why and prints no RATIO.
// Needs a display; run.sh gives it one of its own.
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <chrono>
#include <cmath>
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
#include "window_size.h"

namespace {

constexpr int SPRITE_SIZE = 32;
// The sprites lie in the top-left 800 x 600 of the scene.
constexpr int SCENE_WIDTH = 800;
constexpr int SCENE_HEIGHT = 600;
// Each side draws about this many sprites a round, so that every count takes
// about the same time.
constexpr int SPRITES_PER_ROUND = 30000;
constexpr int ROUNDS = 11;
// How far a read-back frame's lit area may lie from the covered area: the edges
// of turned sprites are rounded to pixels by the renderer's own rules.
constexpr double AREA_TOLERANCE = 0.03;

struct Sprite {
    int x, y, angle;
    std::uint32_t colour;
};

std::vector<Sprite> scatter(int count) {
    std::vector<Sprite> sprites;
    std::uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    for (int i = 0; i < count; ++i) {
        const std::uint32_t tint = next();
        sprites.push_back(Sprite{static_cast<int>(next() % (SCENE_WIDTH - SPRITE_SIZE)),
                                 static_cast<int>(next() % (SCENE_HEIGHT - SPRITE_SIZE)),
                                 static_cast<int>(next() % 360),
                                 0xC0000000u | (tint & 0x00FFFFFFu) | 0x00404040u});
    }
    return sprites;
}

// The number of pixels whose centres some sprite covers: each sprite is its
// 32 x 32 target turned clockwise about its centre.
long coveredArea(const std::vector<Sprite>& sprites, int width, int height) {
    std::vector<std::uint8_t> lit(static_cast<std::size_t>(width) * height, 0);
    constexpr double half = SPRITE_SIZE / 2.0;
    const double reach = half * std::sqrt(2.0) + 1;
    for (const Sprite& s : sprites) {
        const double cx = s.x + half;
        const double cy = s.y + half;
        const double radians = s.angle * M_PI / 180.0;
        const double c = std::cos(radians);
        const double n = std::sin(radians);
        const int left = std::max(0, static_cast<int>(cx - reach));
        const int right = std::min(width - 1, static_cast<int>(cx + reach));
        const int top = std::max(0, static_cast<int>(cy - reach));
        const int bottom = std::min(height - 1, static_cast<int>(cy + reach));
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) {
                // Turn the pixel centre back by the sprite's angle.
                const double dx = x + 0.5 - cx;
                const double dy = y + 0.5 - cy;
                const double u = c * dx + n * dy;
                const double v = -n * dx + c * dy;
                if (std::fabs(u) < half && std::fabs(v) < half) {
                    lit[static_cast<std::size_t>(y) * width + x] = 1;
                }
            }
        }
    }
    long count = 0;
    for (std::uint8_t pixel : lit) {
        count += pixel;
    }
    return count;
}

// Reads the frame drawn so far (before it is presented) and counts the pixels
// that are not black. Sets `width` and `height` to the size read.
long litArea(SDL_Renderer* renderer, int& width, int& height) {
    SDL_GetRendererOutputSize(renderer, &width, &height);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    if (SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                             width * 4) != 0) {
        std::fprintf(stderr, "cannot read the frame back: %s\n", SDL_GetError());
        return -1;
    }
    long count = 0;
    for (std::uint32_t pixel : pixels) {
        count += (pixel & 0x00FFFFFFu) != 0;
    }
    return count;
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
    while (system.peekMessage(message)) {
        system.dispatchMessage(message);
    }
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

class Bench {
public:
    Bench(platform::sdl::SdlPlatform& backend, Texture* piece, int count)
        : backend(backend),
          piece(piece),
          sdlPiece(dynamic_cast<platform::sdl::SdlTexture*>(piece->getTexture())->texture()),
          renderer(SDL_GetRenderer(
              static_cast<platform::sdl::WindowRecord*>(Graphics::getWindow())->sdl)),
          sprites(scatter(count)) {}

    // Draws one frame through Graphics; `check` runs on the finished frame before
    // it is presented.
    template <typename Check>
    void graphicsFrame(Check check) {
        for (;;) {
            pump(backend.system());
            if (Graphics::beginFrame()) {
                break;
            }
        }
        for (const Sprite& s : sprites) {
            Graphics::drawSprite(piece, s.x, s.y, SPRITE_SIZE, SPRITE_SIZE, 0, 0, SPRITE_SIZE,
                                 SPRITE_SIZE, s.colour, SPRITE_SIZE / 2, SPRITE_SIZE / 2, s.angle);
        }
        check();
        Graphics::endFrame();
    }

    template <typename Check>
    void sdlFrame(Check check) {
        const SDL_Rect source{0, 0, SPRITE_SIZE, SPRITE_SIZE};
        const SDL_FPoint centre{SPRITE_SIZE / 2, SPRITE_SIZE / 2};
        pump(backend.system());
        SDL_SetTextureBlendMode(sdlPiece, SDL_BLENDMODE_BLEND);
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 0);
        SDL_RenderClear(renderer);
        for (const Sprite& s : sprites) {
            SDL_SetTextureColorMod(sdlPiece, static_cast<Uint8>(s.colour >> 16),
                                   static_cast<Uint8>(s.colour >> 8), static_cast<Uint8>(s.colour));
            SDL_SetTextureAlphaMod(sdlPiece, static_cast<Uint8>(s.colour >> 24));
            const SDL_FRect target{static_cast<float>(s.x), static_cast<float>(s.y), SPRITE_SIZE,
                                   SPRITE_SIZE};
            SDL_RenderCopyExF(renderer, sdlPiece, &source, &target, s.angle, &centre,
                              SDL_FLIP_NONE);
        }
        check();
        SDL_RenderPresent(renderer);
    }

    // True when the window shows the whole back buffer and both sides light the
    // area their sprites cover; otherwise says what is wrong.
    bool sceneHolds() {
        const ScreenFormat format = Graphics::getCurrentScreenFormat();
        int clientWidth = 0;
        int clientHeight = 0;
        if (!windowSystemClientSize(SDL_RenderGetWindow(renderer), clientWidth, clientHeight)) {
            std::printf("cannot ask the window system for the window's size\n");
            return false;
        }
        if (clientWidth != format.width || clientHeight != format.height) {
            std::printf(
                "the window's client area is %d x %d, the back buffer %d x %d: "
                "the frames would not be the scene measured\n",
                clientWidth, clientHeight, format.width, format.height);
            return false;
        }
        if (format.width < SCENE_WIDTH || format.height < SCENE_HEIGHT) {
            std::printf("the back buffer %d x %d is smaller than the %d x %d scene\n", format.width,
                        format.height, SCENE_WIDTH, SCENE_HEIGHT);
            return false;
        }
        const long expected = coveredArea(sprites, format.width, format.height);
        bool holds = true;
        auto checkSide = [&](const char* side, long lit, int width, int height) {
            const double off = std::fabs(static_cast<double>(lit - expected)) / expected;
            std::printf("%s: read back %d x %d, %ld lit pixels, %ld covered\n", side, width, height,
                        lit, expected);
            if (width != format.width || height != format.height || !(off <= AREA_TOLERANCE)) {
                std::printf("%s: the frame read back is not the scene measured\n", side);
                holds = false;
            }
        };
        int width = 0;
        int height = 0;
        long lit = 0;
        graphicsFrame([&] { lit = litArea(renderer, width, height); });
        checkSide("Graphics::drawSprite", lit, width, height);
        sdlFrame([&] { lit = litArea(renderer, width, height); });
        checkSide("SDL_RenderCopyExF", lit, width, height);
        return holds;
    }

    // Alternates rounds of the two sides, so that both meet the same load of the
    // machine; returns false when the scene does not hold.
    bool measure() {
        const int count = static_cast<int>(sprites.size());
        const int framesPerRound = std::max(1, SPRITES_PER_ROUND / count);
        auto nothing = [] {};
        auto graphicsRound = [&] {
            for (int frame = 0; frame < framesPerRound; ++frame) {
                graphicsFrame(nothing);
            }
        };
        auto sdlRound = [&] {
            for (int frame = 0; frame < framesPerRound; ++frame) {
                sdlFrame(nothing);
            }
        };
        // One round of each first to settle the drivers and to let the window
        // take the size that the screen format gave it.
        graphicsRound();
        sdlRound();
        if (!sceneHolds()) {
            return false;
        }
        // The machine is shared: the median of the rounds' ratios keeps a burst of
        // someone else's work on one side out of the answer.
        double graphicsSeconds = 0;
        double sdlSeconds = 0;
        std::vector<double> ratios;
        for (int round = 0; round < ROUNDS; ++round) {
            auto start = std::chrono::steady_clock::now();
            graphicsRound();
            const double graphicsTook = secondsSince(start);
            start = std::chrono::steady_clock::now();
            sdlRound();
            const double sdlTook = secondsSince(start);
            graphicsSeconds += graphicsTook;
            sdlSeconds += sdlTook;
            ratios.push_back(graphicsTook / sdlTook);
        }
        std::sort(ratios.begin(), ratios.end());
        const double frames = framesPerRound * ROUNDS;
        std::printf("%d sprites a frame, %d frames each\n", count, static_cast<int>(frames));
        std::printf("Graphics::drawSprite: %.2f frames/s\n", frames / graphicsSeconds);
        std::printf("SDL_RenderCopyExF:    %.2f frames/s\n", frames / sdlSeconds);
        std::printf("round ratios from %.3f to %.3f\n", ratios.front(), ratios.back());
        std::printf("RATIO sprites_%d %.3f\n", count, ratios[ROUNDS / 2]);
        return true;
    }

private:
    platform::sdl::SdlPlatform& backend;
    Texture* piece;
    SDL_Texture* sdlPiece;
    SDL_Renderer* renderer;
    std::vector<Sprite> sprites;
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) {
        const int count = std::atoi(argv[i]);
        if (count <= 0) {
            std::fprintf(stderr, "usage: %s [sprite count...]\n", argv[0]);
            return 2;
        }
        counts.push_back(count);
    }
    if (counts.empty()) counts = {1000, 10000, 50000};

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

    const char* driver = SDL_GetCurrentVideoDriver();
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(
        SDL_GetRenderer(static_cast<platform::sdl::WindowRecord*>(Graphics::getWindow())->sdl),
        &info);
    const ScreenFormat format = Graphics::getCurrentScreenFormat();
    std::printf("video %s, renderer %s, back buffer %d x %d\n", driver != nullptr ? driver : "?",
                info.name, format.width, format.height);

    bool allHeld = true;
    for (int count : counts) {
        Bench bench(backend, piece, count);
        allHeld = bench.measure() && allHeld;
    }

    backend.windowing().destroyWindow(Graphics::getWindow());
    platform::install(nullptr);
    std::filesystem::remove_all(folder);
    return allHeld ? 0 : 1;
}
