#include "platform/sdl/key_latch.h"

#include "platform/sdl/key_map.h"

namespace platform::sdl {

KeyLatch::KeyLatch() { SDL_AddEventWatch(&KeyLatch::watch, this); }

KeyLatch::~KeyLatch() { SDL_DelEventWatch(&KeyLatch::watch, this); }

bool KeyLatch::take(int virtualKey) {
    if (virtualKey < 0 || virtualKey >= static_cast<int>(pressed.size())) {
        return false;
    }
    const bool was = pressed.test(virtualKey);
    pressed.reset(virtualKey);
    return was;
}

int KeyLatch::watch(void* self, SDL_Event* event) {
    auto& latch = *static_cast<KeyLatch*>(self);
    int virtualKey = 0;
    if (event->type == SDL_KEYDOWN) {
        virtualKey = virtualKeyOf(event->key.keysym.scancode);
    } else if (event->type == SDL_MOUSEBUTTONDOWN) {
        virtualKey = virtualKeyOfMouseButton(event->button.button);
    }
    if (virtualKey > 0 && virtualKey < static_cast<int>(latch.pressed.size())) {
        latch.pressed.set(virtualKey);
    }
    return 1;
}

}  // namespace platform::sdl
