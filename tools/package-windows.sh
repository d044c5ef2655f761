#!/usr/bin/env bash
# Makes the Windows download, dist/tessak-windows-x64.zip: tessak.exe (cross-built
# by tools/build-windows.sh, linked statically) and the game's resources/ beside it.
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
mkdir -p dist
rm -f dist/tessak-windows-x64.zip
# Python's zipfile, already needed by the tests, rather than another package.
(cd "$stage" && python3 -m zipfile -c "$root/dist/tessak-windows-x64.zip" tessak.exe resources)
echo "dist/tessak-windows-x64.zip: $(stat -c %s dist/tessak-windows-x64.zip) bytes;" \
  "tessak.exe needs:" $needed
