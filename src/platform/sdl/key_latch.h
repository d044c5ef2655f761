#pragma once
// Remembers which keys and mouse buttons went down since each was last asked about.
// It watches events as SDL queues them, so a tap that is pressed and released
// between two queries is still seen, whoever takes the events from the queue.
#include <SDL.h>

#include <bitset>

namespace platform::sdl {

class KeyLatch {
public:
    KeyLatch();
    ~KeyLatch();
    KeyLatch(const KeyLatch&) = delete;
    KeyLatch& operator=(const KeyLatch&) = delete;

    // Whether the virtual key went down since the previous call for it; clears it.
    bool take(int virtualKey);

private:
    static int watch(void* self, SDL_Event* event);
    std::bitset<256> pressed;
};

}  // namespace platform::sdl
