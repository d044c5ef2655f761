#include "graphics/graphics.h"

std::intptr_t Graphics::windowProcedure(platform::WindowHandle window, std::uint32_t message,
                                        std::uintptr_t wParam, std::intptr_t lParam) {
    platform::Platform& host = platform::current();
    switch (message) {
        case platform::wm::CLOSE:
            host.system().postQuitMessage(0);
            return 0;
        case platform::wm::SYSCOMMAND:
            // Keep the screen saver and monitor power-saving away while the game runs.
            if (wParam == platform::sc::SCREENSAVE || wParam == platform::sc::MONITORPOWER) {
                return 0;
            }
            break;
        case platform::wm::DESTROY:
            // The game quits by destroying its window; the main loop ends only on
            // the quit message.
            host.system().postQuitMessage(0);
            break;
        default:
            break;
    }
    return host.windowing().defWindowProc(window, message, wParam, lParam);
}
