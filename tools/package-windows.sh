#!/usr/bin/env bash
# Makes the Windows download, dist/tessak-windows-x64.zip: tessak.exe (cross-built
# by tools/build-windows.sh, linked statically) and the game's resources/ beside it,
# README.txt for players and licenses/ with the notices of the libraries linked in
# (taken from the installed Debian packages that provide them); and tessak-run's,
# dist/tessak-run-windows-x64.zip: tessak-run.exe, its font and icon in resources/,
# the example games in examples/games/ and the same licenses/.
# Refuses to pack a program that needs a DLL a stock Windows does not provide (D3DX 9
# is looked up at run time, never imported: it comes only with the DirectX runtime). Extra arguments go to tools/build-windows.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash tools/build-windows.sh "$@"
program=$root/build-windows/tessak.exe
if [ ! -f "$program" ]; then
  echo "package-windows: no $program after the build" >&2
  exit 1
fi

# Windows' own DLLs: Direct3D 9, and the Windows Imaging Component with COM.
allowed='^(kernel32|user32|gdi32|shell32|winmm|advapi32|msvcrt|ole32|oleaut32|windowscodecs|d3d9)\.dll$'
# Prints the DLLs a program needs; fails when one does not come with Windows.
needed_dlls() {
  local needed strangers
  needed=$(x86_64-w64-mingw32-objdump -p "$1" | awk '/DLL Name:/ { print tolower($3) }')
  strangers=$(grep -Ev "$allowed" <<< "$needed" || true)
  if [ -n "$strangers" ]; then
    echo "package-windows: $(basename "$1") needs DLLs that do not come with Windows:" $strangers >&2
    exit 1
  fi
  echo $needed
}
needed=$(needed_dlls "$program")

# licenses/ in a staging folder: the notices of what the programs link in.
add_licenses() {
  mkdir "$1/licenses"
  # Lua 5.1 (built from Debian's lua5.1 sources), the MinGW-w64 runtime with its
  # winpthreads library (mingw-w64-x86-64-dev's notices cover both), and GCC's
  # libstdc++ and libgcc, linked in statically (under the GCC Runtime Library
  # Exception, which gcc-mingw-w64-base's notice includes).
  for notice in liblua5.1-0:Lua-5.1 mingw-w64-x86-64-dev:MinGW-w64 gcc-mingw-w64-base:GCC-runtime; do
    copyright=/usr/share/doc/${notice%%:*}/copyright
    if [ ! -f "$copyright" ]; then
      echo "package-windows: no $copyright: run 'bash tools/install-deps.sh' first" >&2
      exit 1
    fi
    cp "$copyright" "$1/licenses/${notice#*:}.txt"
  done
  if [ -f LICENSE ]; then
    cp LICENSE "$1/licenses/Tessak.txt"
  fi
}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$program" "$stage/tessak.exe"
x86_64-w64-mingw32-strip "$stage/tessak.exe"
cp -r resources "$stage/resources"
cp packaging/windows/README.txt "$stage/README.txt"
add_licenses "$stage"
mkdir -p dist
rm -f dist/tessak-windows-x64.zip
# Python's zipfile, already needed by the tests, rather than another package.
(cd "$stage" && python3 -m zipfile -c "$root/dist/tessak-windows-x64.zip" \
  tessak.exe README.txt licenses resources)
echo "dist/tessak-windows-x64.zip: $(stat -c %s dist/tessak-windows-x64.zip) bytes;" \
  "tessak.exe needs:" $needed

runner=$root/build-windows/tessak-run.exe
runner_needs=$(needed_dlls "$runner")
runner_stage=$(mktemp -d)
trap 'rm -rf "$stage" "$runner_stage"' EXIT
cp "$runner" "$runner_stage/tessak-run.exe"
x86_64-w64-mingw32-strip "$runner_stage/tessak-run.exe"
mkdir -p "$runner_stage/resources" "$runner_stage/examples"
cp resources/font.png resources/icon.ico "$runner_stage/resources/"
cp -r examples/games "$runner_stage/examples/games"
add_licenses "$runner_stage"
rm -f dist/tessak-run-windows-x64.zip
(cd "$runner_stage" && python3 -m zipfile -c "$root/dist/tessak-run-windows-x64.zip" \
  tessak-run.exe licenses resources examples)
echo "dist/tessak-run-windows-x64.zip: $(stat -c %s dist/tessak-run-windows-x64.zip) bytes;" \
  "tessak-run.exe needs:" $runner_needs
