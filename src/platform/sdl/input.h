#pragma once
// Keyboard and mouse on SDL: keys by virtual-key code, the cursor in back-buffer
// pixels of a window.
#include "platform/platform.h"
#include "platform/sdl/key_latch.h"
#include "platform/sdl/window_registry.h"

namespace platform::sdl {

class SdlInput : public Input {
public:
    SdlInput(KeyLatch& latch, WindowRegistry& windows) : latch(latch), windows(windows) {}

    bool keyPressed(int virtualKey) override;
    bool keyDown(int virtualKey) override;
    Point cursorPosition(WindowHandle window) override;

private:
    KeyLatch& latch;
    WindowRegistry& windows;
};

}  // namespace platform::sdl
