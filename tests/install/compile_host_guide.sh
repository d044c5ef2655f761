#!/bin/sh
# Every ```cpp block of the installed host guide is a whole source file: each one
# compiles against the installed engine alone; one with a main() links, and runs
# when it needs no window.
#   compile_host_guide.sh guide.md work-folder
# PKG_CONFIG_PATH must lead to the installed engine's .pc files.
set -eu

guide=$1
work=$2
mkdir -p "$work"
awk -v out="$work/block" '
    /^```cpp$/ { n++; file = sprintf("%s%02d.cpp", out, n); inside = 1; next }
    /^```$/    { if (inside) close(file); inside = 0; next }
    inside     { print > file }
' "$guide"

count=0
for source in "$work"/block*.cpp; do
    [ -f "$source" ] || continue
    count=$((count + 1))
    backend=tessak-engine-headless
    if grep -q 'tessak/platform/sdl/' "$source"; then
        backend=tessak-engine-sdl
        if ! pkg-config --exists "$backend"; then
            echo "$(basename "$source"): needs the SDL backend, which this engine was built without"
            continue
        fi
    fi
    program=${source%.cpp}
    if grep -q '^int main(' "$source"; then
        # shellcheck disable=SC2046
        c++ -std=c++17 -Wall -Wextra -Werror -o "$program" "$source" \
            $(pkg-config --cflags --libs "$backend") ||
            { echo "FAIL: $(basename "$source") of $guide does not build" >&2; exit 1; }
        if [ "$backend" = tessak-engine-headless ]; then
            "$program" || { echo "FAIL: $(basename "$source") of $guide ends with $?" >&2; exit 1; }
        fi
    else
        # shellcheck disable=SC2046
        c++ -std=c++17 -Wall -Wextra -Werror -c -o "$program.o" "$source" \
            $(pkg-config --cflags "$backend") ||
            { echo "FAIL: $(basename "$source") of $guide does not compile" >&2; exit 1; }
    fi
done
if [ "$count" -lt 5 ]; then
    echo "FAIL: only $count C++ examples found in $guide" >&2
    exit 1
fi
echo "PASS: the $count C++ examples of $(basename "$guide") build"
