#!/bin/sh
# Runs the sprite benchmark on a private X server: run.sh <path to bench_sprites>
here=$(dirname "$0")
exec "$here/../../tests/sdl/with-xvfb.sh" "$@"
