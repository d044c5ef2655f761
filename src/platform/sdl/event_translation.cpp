#include "platform/sdl/event_translation.h"

#include "platform/sdl/key_map.h"

namespace platform::sdl {

namespace {

bool windowMessage(const SDL_WindowEvent& event, Message& out) {
    switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE:
            out.message = wm::CLOSE;
            return true;
        case SDL_WINDOWEVENT_MINIMIZED:
            out.message = wm::SIZE;
            out.wParam = SIZE_MINIMIZED;
            return true;
        case SDL_WINDOWEVENT_MAXIMIZED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
            out.message = wm::SIZE;
            out.wParam = event.event == SDL_WINDOWEVENT_MAXIMIZED ? SIZE_MAXIMIZED : SIZE_RESTORED;
            int width = 0;
            int height = 0;
            SDL_Window* window = SDL_GetWindowFromID(event.windowID);
            if (window != nullptr) {
                SDL_GetWindowSize(window, &width, &height);
            }
            out.lParam = packPoint(width, height);
            return true;
        }
        default:
            return false;
    }
}

bool keyMessage(const SDL_KeyboardEvent& event, Message& out) {
    const int virtualKey = virtualKeyOf(event.keysym.scancode);
    if (virtualKey == 0) {
        return false;
    }
    out.wParam = static_cast<std::uintptr_t>(virtualKey);
    // Repeat count 1; bit 30 = the key was down before; bit 31 = it is being released.
    std::uint32_t flags = 1;
    if (event.type == SDL_KEYDOWN) {
        out.message = wm::KEYDOWN;
        if (event.repeat != 0) {
            flags |= 1u << 30;
        }
    } else {
        out.message = wm::KEYUP;
        flags |= (1u << 30) | (1u << 31);
    }
    out.lParam = static_cast<std::intptr_t>(static_cast<std::int32_t>(flags));
    return true;
}

}  // namespace

std::intptr_t packPoint(int x, int y) {
    const auto low = static_cast<std::uint32_t>(static_cast<std::uint16_t>(x));
    const auto high = static_cast<std::uint32_t>(static_cast<std::uint16_t>(y));
    return static_cast<std::intptr_t>(low | (high << 16));
}

bool translateEvent(const SDL_Event& event, WindowRegistry& windows, Message& out) {
    std::uint32_t windowId = 0;
    Message message;
    bool mapped = false;
    switch (event.type) {
        case SDL_WINDOWEVENT:
            windowId = event.window.windowID;
            mapped = windowMessage(event.window, message);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            windowId = event.key.windowID;
            mapped = keyMessage(event.key, message);
            break;
        case SDL_MOUSEMOTION:
            windowId = event.motion.windowID;
            message.message = wm::MOUSEMOVE;
            message.wParam = (event.motion.state & SDL_BUTTON_LMASK) != 0 ? MK_LBUTTON : 0;
            message.lParam = packPoint(event.motion.x, event.motion.y);
            mapped = true;
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            windowId = event.button.windowID;
            if (event.button.button == SDL_BUTTON_LEFT) {
                message.message =
                    event.type == SDL_MOUSEBUTTONDOWN ? wm::LBUTTONDOWN : wm::LBUTTONUP;
                message.wParam = event.type == SDL_MOUSEBUTTONDOWN ? MK_LBUTTON : 0;
                message.lParam = packPoint(event.button.x, event.button.y);
                mapped = true;
            }
            break;
        default:
            // SDL_QUIT follows the close of the last window, which is already wm::CLOSE.
            break;
    }
    if (!mapped) {
        return false;
    }
    WindowRecord* window = windows.findBySdlId(windowId);
    if (window == nullptr) {
        return false;
    }
    message.window = WindowRegistry::handle(*window);
    out = message;
    return true;
}

}  // namespace platform::sdl
