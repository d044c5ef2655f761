#!/bin/sh
# Installs the engine from a build folder into a temporary prefix, builds the game
# under game/ against it (find_package, and pkg-config for a second copy), and
# runs them without a display:
#   build_game_against_install.sh engine-build-folder
set -eu

build=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" --component engine > "$work/install.log"

# The game must see nothing of the engine's source tree: only the prefix.
cmake -S "$here/game" -B "$work/game" -DCMAKE_PREFIX_PATH="$prefix" > "$work/configure.log" ||
    { cat "$work/configure.log"; exit 1; }
cmake --build "$work/game" > "$work/build.log" 2>&1 || { cat "$work/build.log"; exit 1; }
"$work/game/engine_client" "$here/game/scripts" "$work/state.bin"
if [ -x "$work/game/sdl_client" ]; then
    "$work/game/sdl_client"
fi

# tessak-run, installed with the engine, finds its font from bin/ and runs a game
# (on SDL's display-less driver) that draws a line of text and quits.
if [ -x "$prefix/bin/tessak-run" ]; then
    "$prefix/bin/tessak-run" --version
    [ -f "$prefix/share/tessak-run/examples/games/balls/main.lua" ] ||
        { echo "FAIL: the example games are not installed" >&2; exit 1; }
    mkdir "$work/quitter"
    echo 'function start(id) drawText(0, 0, "installed") quit() end' > "$work/quitter/main.lua"
    XDG_DATA_HOME="$work/data" SDL_VIDEODRIVER=dummy "$prefix/bin/tessak-run" "$work/quitter"
fi

PKG_CONFIG_PATH=$(dirname "$(find "$prefix" -name tessak-engine.pc)")
export PKG_CONFIG_PATH

# Every installed header compiles with no more than the prefix's include folder
# (and the libraries' own): none names a header that was left out.
backend=tessak-engine-headless
if [ -f "$PKG_CONFIG_PATH/tessak-engine-sdl.pc" ]; then
    backend=tessak-engine-sdl
fi
(cd "$prefix/include" && find tessak -name '*.h' | sort | sed 's/.*/#include <&>/') > "$work/headers.cpp"
if [ "$(wc -l < "$work/headers.cpp")" -lt 15 ]; then
    echo "FAIL: only $(wc -l < "$work/headers.cpp") headers installed" >&2
    exit 1
fi
# shellcheck disable=SC2046
c++ -std=c++17 -fsyntax-only "$work/headers.cpp" $(pkg-config --cflags "$backend")

# Only the public headers: no engine internal, no backend's own part.
for private in core/script_scope.h core/shared_chunk.h persist/file_sync.h \
    graphics/transform2d.h platform/posix/posix_calls.h platform/sdl/device.h; do
    if [ -e "$prefix/include/tessak/$private" ]; then
        echo "FAIL: the private header $private is installed" >&2
        exit 1
    fi
done

# The guides are installed, and every C++ example of the host guide builds
# against what was installed.
docs="$prefix/share/doc/tessak"
for guide in host.md scripting.md; do
    [ -f "$docs/$guide" ] || { echo "FAIL: $docs/$guide is not installed" >&2; exit 1; }
done
sh "$here/compile_host_guide.sh" "$docs/host.md" "$work/guide"

# The same game through pkg-config.
# shellcheck disable=SC2046
c++ -std=c++17 -o "$work/engine_client_pc" "$here/game/main.cpp" \
    $(pkg-config --cflags --libs tessak-engine-headless)
"$work/engine_client_pc" "$here/game/scripts" "$work/state-pc.bin"
