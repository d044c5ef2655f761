#include "platform/sdl/message_box.h"

#include <cstdio>

#include "platform/win32_values.h"

namespace platform::sdl {

namespace {

SDL_MessageBoxButtonData button(int answer, const char* label, std::uint32_t flags = 0) {
    SDL_MessageBoxButtonData data{};
    data.flags = flags;
    data.buttonid = answer;
    data.text = label;
    return data;
}

constexpr std::uint32_t ENTER_KEY = SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
constexpr std::uint32_t ESCAPE_KEY = SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;

}  // namespace

std::vector<SDL_MessageBoxButtonData> messageBoxButtons(std::uint32_t style) {
    switch (style & mb::TYPEMASK) {
        case mb::YESNO:
            return {button(id::YES, "Yes", ENTER_KEY), button(id::NO, "No")};
        case mb::CANCELTRYCONTINUE:
            return {button(id::CANCEL, "Cancel", ENTER_KEY | ESCAPE_KEY),
                    button(id::TRYAGAIN, "Try Again"), button(id::CONTINUE, "Continue")};
        default:
            return {button(id::OK, "OK", ENTER_KEY | ESCAPE_KEY)};
    }
}

int closeAnswer(std::uint32_t style) {
    switch (style & mb::TYPEMASK) {
        case mb::YESNO:
            return id::NO;
        case mb::CANCELTRYCONTINUE:
            return id::CANCEL;
        default:
            return id::OK;
    }
}

std::uint32_t messageBoxIconFlag(std::uint32_t style) {
    switch (style & mb::ICONMASK) {
        case mb::ICONERROR:
            return SDL_MESSAGEBOX_ERROR;
        case mb::ICONWARNING:
            return SDL_MESSAGEBOX_WARNING;
        default:
            return SDL_MESSAGEBOX_INFORMATION;
    }
}

int showMessageBox(const std::string& text, const std::string& caption, std::uint32_t style,
                   SDL_Window* owner) {
    const std::vector<SDL_MessageBoxButtonData> buttons = messageBoxButtons(style);
    SDL_MessageBoxData box{};
    box.flags = messageBoxIconFlag(style) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    box.window = owner;
    box.title = caption.c_str();
    box.message = text.c_str();
    box.numbuttons = static_cast<int>(buttons.size());
    box.buttons = buttons.data();
    int answer = -1;
    if (SDL_ShowMessageBox(&box, &answer) != 0) {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return 0;
    }
    return answer < 0 ? closeAnswer(style) : answer;
}

}  // namespace platform::sdl
