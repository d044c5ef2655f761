#!/usr/bin/env bash
# Fails when a C++ source differs from the tree's style (.clang-format at the root),
# naming each file and line. To format instead of checking:
#     bash tools/check-format.sh --fix
set -euo pipefail
cd "$(dirname "$0")/.."

mode=(--dry-run --Werror)
if [ "${1:-}" = "--fix" ]; then
  mode=(-i)
fi

# The tracked sources; a tree without git (an unpacked archive) checks what it holds.
if git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
  mapfile -t sources < <(git ls-files '*.cpp' '*.h')
else
  mapfile -t sources < <(find src tests bench examples -name '*.cpp' -o -name '*.h' | sort)
fi

clang-format --style=file "${mode[@]}" "${sources[@]}"
if [ "${mode[0]}" = "--dry-run" ]; then
  echo "format: ${#sources[@]} sources follow .clang-format"
fi
