#!/usr/bin/env bash
# Cross-builds the engine, the game's portable libraries and their tests for 64-bit
# Windows with MinGW-w64, into build-windows/ (tools/run-windows-tests.sh runs the
# tests under Wine). On the first run it also builds what Windows lacks, into
# .cache/windows/ (git-ignored), and reuses it afterwards:
#   - Lua 5.1 from Debian's lua5.1 source package, as a static C library;
#   - GoogleTest from Debian's googletest package (/usr/src/googletest).
# Needs the packages of tools/install-deps.sh. Extra arguments go to cmake's
# configure step, e.g. -DCMAKE_BUILD_TYPE=Debug.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

toolchain=$root/cmake/toolchains/mingw-w64-x86_64.cmake
deps=$root/.cache/windows
prefix=$deps/prefix
build=$root/build-windows
jobs=$(nproc)

for tool in cmake x86_64-w64-mingw32-gcc-posix x86_64-w64-mingw32-g++-posix apt-get dpkg-source; do
  if ! command -v "$tool" > /dev/null; then
    echo "missing $tool: run 'bash tools/install-deps.sh' first" >&2
    exit 1
  fi
done

# Fetches the lua5.1 source package with apt-get source through an apt state of its
# own (one deb-src entry, its own lists and cache), so the machine's /etc/apt and
# package lists stay as they are. Prints the unpacked tree's path.
fetch_lua_sources() {
  local apt=$deps/apt
  local codename mirror
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  mirror=${TESSAK_DEBIAN_MIRROR:-http://deb.debian.org/debian}
  mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/cache/archives/partial" "$deps/src"
  cat > "$apt/sources.list.d/lua-sources.sources" <<EOF
Types: deb-src
URIs: $mirror
Suites: $codename
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  local options=(
    -o Dir::Etc::SourceList=/dev/null
    -o Dir::Etc::SourceParts="$apt/sources.list.d"
    -o Dir::State::Lists="$apt/lists"
    -o Dir::Cache="$apt/cache"
    # apt's download sandbox user could not write into a folder made by root.
    -o APT::Sandbox::User="$(id -un)"
  )
  apt-get "${options[@]}" -qq update >&2
  (cd "$deps/src" && apt-get "${options[@]}" -qq source lua5.1 >&2)
  local tree
  tree=$(find "$deps/src" -maxdepth 1 -type d -name 'lua5.1-5.1.5*' | head -n 1)
  if [ -z "$tree" ] || [ ! -f "$tree/src/lua.h" ]; then
    echo "build-windows: no Lua 5.1.5 source tree under $deps/src" >&2
    exit 1
  fi
  echo "$tree"
}

if [ ! -f "$prefix/lib/liblua5.1.a" ]; then
  echo "== Lua 5.1 for Windows"
  mkdir -p "$deps/src"
  lua_tree=$(find "$deps/src" -maxdepth 1 -type d -name 'lua5.1-5.1.5*' | head -n 1)
  if [ -z "$lua_tree" ]; then
    lua_tree=$(fetch_lua_sources)
  fi
  cmake -S cmake/windows-deps/lua51 -B "$deps/build/lua51" --toolchain "$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DLUA_SOURCE_DIR="$lua_tree" > /dev/null
  cmake --build "$deps/build/lua51" -j"$jobs"
  cmake --install "$deps/build/lua51" > /dev/null
fi

if [ ! -f "$prefix/lib/cmake/GTest/GTestConfig.cmake" ]; then
  echo "== GoogleTest for Windows"
  if [ ! -f /usr/src/googletest/CMakeLists.txt ]; then
    echo "missing /usr/src/googletest: run 'bash tools/install-deps.sh' first" >&2
    exit 1
  fi
  cmake -S /usr/src/googletest -B "$deps/build/googletest" --toolchain "$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -Dgtest_disable_pthreads=OFF > /dev/null
  cmake --build "$deps/build/googletest" -j"$jobs"
  cmake --install "$deps/build/googletest" > /dev/null
fi

echo "== build for Windows"
cmake -S . -B "$build" --toolchain "$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_FIND_ROOT_PATH="$prefix" "$@"
cmake --build "$build" -j"$jobs"
