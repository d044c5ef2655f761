// Windows, messages, keys, mouse, message boxes and device loss on the SDL
// backend, under a window manager.
#include "backend_fixture.h"

namespace {
using sdltest::BackendTest;
TEST_F(BackendTest, Placeholder) { createDevice(); }
}
