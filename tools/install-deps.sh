#!/usr/bin/env bash
# Installs everything the project needs on Debian 12: the build tools and libraries,
# clang-format for the style check, and what the tests use (GoogleTest, Google
# Benchmark, clang for the fuzzer, Xvfb, openbox and the X tools that drive the game
# in the end-to-end test), LuaJIT for a script benchmark's comparison, and the
# cross-compilers and Wine of the Windows build.
# Recommended packages come along: the X server's fonts and the GL drivers the tests
# draw with.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  liblua5.1-0-dev libsdl2-dev libsdl2-image-dev
  libgtest-dev libgmock-dev libbenchmark-dev clang clang-format luajit
  xvfb xauth xfonts-base openbox xdotool x11-utils libx11-dev libxtst-dev imagemagick
  desktop-file-utils
  python3 python3-pil
  fonts-dejavu-core
  # The Windows build: MinGW-w64 (posix threads), Wine to run its tests, dpkg-dev for
  # apt-get source (Lua's sources), googletest's sources, xrandr for an 800 x 600 mode.
  mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine wine64
  dpkg-dev googletest x11-xserver-utils
)

run_as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

run_as_root apt-get update -qq
run_as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${packages[@]}"
