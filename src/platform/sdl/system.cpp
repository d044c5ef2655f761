#include "platform/sdl/system.h"

#include <SDL.h>

#include "platform/posix/posix_calls.h"
#include "platform/sdl/data_folder.h"
#include "platform/sdl/event_translation.h"
#include "platform/sdl/message_box.h"

namespace platform::sdl {

bool SdlSystem::peekMessage(Message& out) {
    // The quit message goes ahead of waiting input: a stream of mouse motion must
    // not keep the program from ending.
    if (quitPosted) {
        quitPosted = false;
        out = Message{};
        out.message = wm::QUIT;
        out.wParam = static_cast<std::uintptr_t>(postedExitCode);
        return true;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        if (translateEvent(event, windows, out)) {
            return true;
        }
    }
    return false;
}

void SdlSystem::dispatchMessage(const Message& message) {
    WindowRecord* window = windows.find(message.window);
    if (window == nullptr || !window->alive() || window->procedure == nullptr) {
        return;
    }
    window->procedure(message.window, message.message, message.wParam, message.lParam);
}

void SdlSystem::postQuitMessage(int exitCode) {
    quitPosted = true;
    postedExitCode = exitCode;
}

void SdlSystem::sleep(std::uint32_t milliseconds) { SDL_Delay(milliseconds); }

std::uint32_t SdlSystem::milliseconds() { return SDL_GetTicks(); }

int SdlSystem::messageBox(const std::string& text, const std::string& caption,
                          std::uint32_t style) {
    // Over the program's own window: a system-modal box beneath a full-screen game
    // would leave the player looking at a screen that seems hung.
    return showMessageBox(text, caption, style, windows.frontWindow());
}

std::string SdlSystem::dataFolder(const std::string& subFolder) {
    return userDataFolder(subFolder);
}

bool SdlSystem::syncFile(std::FILE* file) { return posix::syncFile(file); }

std::tm SdlSystem::localTime(std::time_t seconds) { return posix::localTime(seconds); }

}  // namespace platform::sdl
