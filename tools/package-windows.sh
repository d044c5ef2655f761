#!/usr/bin/env bash
# Makes the Windows download, dist/tessak-windows-x64.zip: tessak.exe (cross-built
# by tools/build-windows.sh, linked statically) and the game's resources/ beside it,
# README.txt for players and licenses/ with the notices of the libraries linked in
# (taken from the installed Debian packages that provide them).
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
needed=$(x86_64-w64-mingw32-objdump -p "$program" | awk '/DLL Name:/ { print tolower($3) }')
strangers=$(grep -Ev "$allowed" <<< "$needed" || true)
if [ -n "$strangers" ]; then
  echo "package-windows: tessak.exe needs DLLs that do not come with Windows:" $strangers >&2
  exit 1
fi

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$program" "$stage/tessak.exe"
x86_64-w64-mingw32-strip "$stage/tessak.exe"
cp -r resources "$stage/resources"
cp packaging/windows/README.txt "$stage/README.txt"
mkdir "$stage/licenses"
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
  cp "$copyright" "$stage/licenses/${notice#*:}.txt"
done
if [ -f LICENSE ]; then
  cp LICENSE "$stage/licenses/Tessak.txt"
fi
mkdir -p dist
rm -f dist/tessak-windows-x64.zip
# Python's zipfile, already needed by the tests, rather than another package.
(cd "$stage" && python3 -m zipfile -c "$root/dist/tessak-windows-x64.zip" \
  tessak.exe README.txt licenses resources)
echo "dist/tessak-windows-x64.zip: $(stat -c %s dist/tessak-windows-x64.zip) bytes;" \
  "tessak.exe needs:" $needed
