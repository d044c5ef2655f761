#!/usr/bin/env bash
# Checks the sources' format, then builds and runs every test: the unit, scenario and end-to-end tests (those that need
# a window start their own Xvfb), the same tests built again with AddressSanitizer and
# UndefinedBehaviorSanitizer, the state-file fuzzer for a bounded time, then the
# portable tests and the Win32 backend's cross-built for Windows and run under Wine,
# and the Windows download (tools/package-windows.sh) played under Wine; the
# renderer's tests and the play once more with Wine's D3DX 9 disabled.
# Needs the packages of tools/install-deps.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

for tool in cmake g++ clang++ clang-format pkg-config Xvfb x86_64-w64-mingw32-g++-posix wine; do
  if ! command -v "$tool" > /dev/null; then
    echo "missing $tool: run 'bash tools/install-deps.sh' first" >&2
    exit 1
  fi
done

jobs=$(nproc)
fuzz_seconds=${TESSAK_FUZZ_SECONDS:-60}
summary=$(mktemp)
trap 'rm -f "$summary"' EXIT

run_ctest() {
  local dir=$1
  shift
  ctest --test-dir "$dir" --output-on-failure -j"$jobs" "$@" | tee -a "$summary"
}

echo "== check the sources' format"
bash tools/check-format.sh

echo "== build and run the tests"
# Tests on, whatever an earlier configure of build/ left in its cache.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSAK_TESTS=ON
cmake --build build -j"$jobs"
run_ctest build

echo "== the same tests with AddressSanitizer and UndefinedBehaviorSanitizer"
# The SDL backend and the tests that need a display are left out here: the X and GL
# libraries underneath them are not built for the sanitizers.
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTESSAK_SANITIZE=ON \
  -DTESSAK_SDL=OFF -DTESSAK_BENCH=OFF
cmake --build build-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_ctest build-sanitize

echo "== fuzz the state-file loader for ${fuzz_seconds} s"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTESSAK_FUZZ=ON -DTESSAK_TESTS=OFF -DTESSAK_SDL=OFF -DTESSAK_BENCH=OFF
cmake --build build-fuzz -j"$jobs"
bash tests/fuzz/run-fuzz.sh build-fuzz "$fuzz_seconds"

echo "== build for Windows, pack the download, run the tests under Wine"
windows_started=$(date +%s)
bash tools/package-windows.sh
windows_log=$(mktemp)
trap 'rm -f "$summary" "$windows_log"' EXIT
# On a display: the backend's tests open windows and boxes, the end-to-end test
# plays the unpacked zip.
bash tools/run-windows-tests.sh --display build-windows | tee "$windows_log"
# Again without D3DX 9, as on a Windows without the DirectX runtime: the renderer's
# tests (which also compare both) and the download's play, now with the stand-in.
bash tools/run-windows-tests.sh --without-d3dx --display build-windows \
  -R '^(win32_d3d9_tests|win32_play_game)$' | tee -a "$windows_log"
echo "Windows part: $(( $(date +%s) - windows_started )) s"
# Only its own closing line: the ctest line above it counts programs, not tests.
grep '^test cases under Wine:' "$windows_log" >> "$summary"

# One closing line for every test run together.
awk '/tests passed, .* tests failed out of/ {
       failed += $4; passed += $NF - $4
     }
     /^test cases under Wine:/ {
       passed += $5; failed += $7
     }
     END { printf "tests: %d passed, %d failed\n", passed, failed }' "$summary"
