#!/usr/bin/env bash
# Runs the Windows build's tests (tools/build-windows.sh) under Wine:
#   run-windows-tests.sh [--without-d3dx] [--display] [build folder] [ctest arguments...]
# Every run gets a Wine prefix of its own, made afresh in a temporary folder (or the
# one named by TESSAK_WINEPREFIX, kept for the next run), and stops its Wine server at
# the end. ctest starts one Wine process per test program.
# --display runs everything on a private X server with openbox, with an 800 x 600
# mode added, for tests that open windows (without a window manager Wine takes
# seconds over DestroyWindow and MessageBoxA).
# --without-d3dx disables Wine's d3dx9_43.dll, as on a Windows without the DirectX
# End-User Runtime: the programs then draw with the backend's stand-in.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

if [ "${1:-}" = "--without-d3dx" ]; then
  shift
  export TESSAK_WITHOUT_D3DX=1
fi

if [ "${1:-}" = "--display" ] && [ -z "${TESSAK_WINDOWS_TESTS_ON_DISPLAY:-}" ]; then
  shift
  export TESSAK_WINDOWS_TESTS_ON_DISPLAY=1
  exec "$root/tests/sdl/with-xvfb.sh" --wm "$root/tools/run-windows-tests.sh" "$@"
fi

build=${1:-build-windows}
[ $# -gt 0 ] && shift

for tool in wine wineserver ctest; do
  if ! command -v "$tool" > /dev/null; then
    echo "missing $tool: run 'bash tools/install-deps.sh' first" >&2
    exit 1
  fi
done
if [ ! -f "$build/CTestTestfile.cmake" ]; then
  echo "no tests in $build: run 'bash tools/build-windows.sh' first" >&2
  exit 1
fi

work=$(mktemp -d)
if [ -n "${TESSAK_WINEPREFIX:-}" ]; then
  WINEPREFIX=$TESSAK_WINEPREFIX
else
  WINEPREFIX=$work/prefix
fi
export WINEPREFIX
export WINEDEBUG=-all
# No Mono or Gecko: the tests need neither, and installing them would ask.
if [ -n "${TESSAK_WITHOUT_D3DX:-}" ]; then
  export WINEDLLOVERRIDES="mscoree,mshtml,d3dx9_43="
else
  export WINEDLLOVERRIDES="mscoree,mshtml="
fi
# llvmpipe offers anisotropic filtering, which blurs 1:1 sprites and slows frames
# about sixfold; hidden, the pictures are filtered as on hardware.
export MESA_EXTENSION_OVERRIDE="-GL_EXT_texture_filter_anisotropic -GL_ARB_texture_filter_anisotropic"

cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

if [ -n "${TESSAK_WINDOWS_TESTS_ON_DISPLAY:-}" ]; then
  # Xvfb lists only its screen size; full-screen tests want 800 x 600 as well.
  output=$(xrandr | awk '/ connected/ { print $1; exit }')
  xrandr --newmode 800x600_60 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync 2>/dev/null || true
  xrandr --addmode "$output" 800x600_60
else
  unset DISPLAY
fi

started=$(date +%s)
# The server stays up between the test programs instead of starting for each.
mkdir -p "$WINEPREFIX"
wineserver -p
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init > /dev/null 2>&1
fi
# A crashing test must fail, not wait for someone to close WineDbg's dialog.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f > /dev/null
echo "Wine prefix ready in $(( $(date +%s) - started )) s"

# Each program reports its test cases in a file of its own; a program that ends
# without one (a crash) counts as one failed test.
results=$work/results
# (as a Windows path: GoogleTest takes one without a drive letter as relative)
GTEST_OUTPUT="xml:$(winepath -w "$results/")"
export GTEST_OUTPUT
# Test programs that are not GoogleTest's (the end-to-end one) write theirs here.
export TESSAK_RESULTS_DIR=$results
status=0
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@" | tee "$work/ctest.log" ||
  status=$?

programs=$(awk '/tests passed, .* tests failed out of/ { print $NF }' "$work/ctest.log")
cat "$results"/*.xml 2>/dev/null | awk -v programs="${programs:-0}" -v status="$status" '
  /<testcase / {
    cases++
    if ($0 ~ /result="skipped"/) skipped++
  }
  /<testsuites / { reports++ }
  /<failure / { if (!failing[cases]++) failedCases++ }
  END {
    failed = failedCases + programs - reports
    if (status != 0 && failed == 0) failed = 1
    printf "test cases under Wine: %d passed, %d failed, %d skipped\n",
           cases - failedCases - skipped, failed, skipped
  }'
exit "$status"
