#!/bin/sh
# Runs the sprite benchmark on a private X server: run.sh <path to bench_sprites> [counts...]
# The window manager is what gives the full-screen window the size of the screen;
# without one the window keeps its placeholder size and the benchmark refuses.
here=$(dirname "$0")
exec "$here/../../tests/sdl/with-xvfb.sh" --wm "$@"
