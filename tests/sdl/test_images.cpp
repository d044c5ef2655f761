#include "test_images.h"

#include <SDL_image.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace sdltest {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "sdl-backend-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("no temporary folder");
    }
    folderPath = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folderPath, ignored);
}

namespace {

std::string writePicture(const std::string& path, int width, int height,
                         std::uint32_t (*colourAt)(int, int, int, int, const std::uint32_t*),
                         const std::uint32_t* colours) {
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) {
        throw std::runtime_error(SDL_GetError());
    }
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(surface->pixels) +
                                                     y * surface->pitch);
        for (int x = 0; x < width; ++x) {
            row[x] = colourAt(x, y, width, height, colours);
        }
    }
    const int saved = IMG_SavePNG(surface, path.c_str());
    SDL_FreeSurface(surface);
    if (saved != 0) {
        throw std::runtime_error(SDL_GetError());
    }
    return path;
}

}  // namespace

std::string writeQuadrants(const std::string& path, int width, int height,
                           const std::uint32_t (&colours)[4]) {
    return writePicture(
        path, width, height,
        [](int x, int y, int w, int h, const std::uint32_t* c) {
            return c[(y < h / 2 ? 0 : 2) + (x < w / 2 ? 0 : 1)];
        },
        colours);
}

std::string writeUniform(const std::string& path, int width, int height, std::uint32_t colour) {
    const std::uint32_t colours[4] = {colour, colour, colour, colour};
    return writeQuadrants(path, width, height, colours);
}

namespace {

void put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

}  // namespace

std::string writeIcon(const std::string& path, int size, std::uint32_t colour) {
    const std::uint32_t maskRow = ((static_cast<std::uint32_t>(size) + 31) / 32) * 4;
    const std::uint32_t imageBytes = 40 + size * size * 4 + maskRow * size;
    std::string file;
    put16(file, 0);  // icon directory: reserved, type 1 (icon), one image
    put16(file, 1);
    put16(file, 1);
    file += static_cast<char>(size);  // the image's entry
    file += static_cast<char>(size);
    file += '\0';
    file += '\0';
    put16(file, 1);
    put16(file, 32);
    put32(file, imageBytes);
    put32(file, 6 + 16);
    put32(file, 40);  // bitmap header; the height counts the colour and mask halves
    put32(file, static_cast<std::uint32_t>(size));
    put32(file, static_cast<std::uint32_t>(size) * 2);
    put16(file, 1);
    put16(file, 32);
    for (int field = 0; field < 6; ++field) {
        put32(file, 0);
    }
    for (int pixel = 0; pixel < size * size; ++pixel) {
        put32(file, colour);  // BGRA in memory
    }
    file.append(maskRow * size, '\0');
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        throw std::runtime_error("cannot write " + path);
    }
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
    return path;
}

Pixels::Pixels(SDL_Renderer* renderer) {
    if (SDL_GetRendererOutputSize(renderer, &outputWidth, &outputHeight) != 0) {
        throw std::runtime_error(SDL_GetError());
    }
    data.resize(static_cast<std::size_t>(outputWidth) * outputHeight);
    if (SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, data.data(),
                             outputWidth * 4) != 0) {
        throw std::runtime_error(SDL_GetError());
    }
}

std::uint32_t Pixels::at(int x, int y) const {
    return data[static_cast<std::size_t>(y) * outputWidth + x] & 0xFFFFFFu;
}

int Pixels::count(int x0, int y0, int x1, int y1, std::uint32_t rgb) const {
    int found = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            found += at(x, y) == rgb ? 1 : 0;
        }
    }
    return found;
}

}  // namespace sdltest
