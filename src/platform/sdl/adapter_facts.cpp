#include "platform/sdl/adapter_facts.h"

#include <cctype>
#include <vector>

namespace platform::sdl {

namespace {

constexpr unsigned GL_RENDERER = 0x1F01;
constexpr unsigned GL_VERSION = 0x1F02;
using GetString = const unsigned char*(SDLCALL*)(unsigned);

std::string glString(GetString getString, unsigned name) {
    const unsigned char* text = getString != nullptr ? getString(name) : nullptr;
    return text != nullptr ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

}  // namespace

AdapterFacts probeAdapter() {
    AdapterFacts facts;
    SDL_Window* window = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_HIDDEN);
    if (window == nullptr) {
        return facts;
    }
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    if (renderer == nullptr) {
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    }
    SDL_RendererInfo info{};
    if (renderer != nullptr && SDL_GetRendererInfo(renderer, &info) == 0) {
        facts.found = true;
        facts.accelerated = (info.flags & SDL_RENDERER_ACCELERATED) != 0;
        facts.renderDriver = info.name != nullptr ? info.name : "";
        facts.description = facts.renderDriver;
        // The OpenGL renderers leave their context current: ask it what it runs on.
        if (facts.renderDriver.rfind("opengl", 0) == 0) {
            auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
            const std::string rendererName = glString(getString, GL_RENDERER);
            if (!rendererName.empty()) {
                facts.description = rendererName;
            }
            facts.version = glString(getString, GL_VERSION);
        }
    }
    if (renderer != nullptr) {
        SDL_DestroyRenderer(renderer);
    }
    SDL_DestroyWindow(window);
    return facts;
}

std::int64_t driverVersion(const std::string& versionText) {
    // Find every run of digits and dots that holds a dot; keep the last.
    std::string last;
    for (std::size_t at = 0; at < versionText.size();) {
        if (!std::isdigit(static_cast<unsigned char>(versionText[at]))) {
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < versionText.size() &&
               (std::isdigit(static_cast<unsigned char>(versionText[end])) ||
                versionText[end] == '.')) {
            ++end;
        }
        const std::string run = versionText.substr(at, end - at);
        if (run.find('.') != std::string::npos) {
            last = run;
        }
        at = end;
    }
    std::vector<std::int64_t> parts;
    std::int64_t part = -1;
    for (char c : last + ".") {
        if (c == '.') {
            if (part >= 0) {
                parts.push_back(part > 0xFFFF ? 0xFFFF : part);
            }
            part = -1;
            if (parts.size() == 4) {
                break;
            }
        } else {
            part = (part < 0 ? 0 : part) * 10 + (c - '0');
            if (part > 0xFFFFF) {
                part = 0xFFFFF;
            }
        }
    }
    std::int64_t version = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        version = (version << 16) | (i < parts.size() ? parts[i] : 0);
    }
    return version;
}

}  // namespace platform::sdl
