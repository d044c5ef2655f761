#!/usr/bin/env bash
# Runs the state-file fuzz target for a bounded time over a copy of the seed
# corpus; fails when it finds a crash, a leak, a hang or runaway memory.
# Usage: tests/fuzz/run-fuzz.sh <build-dir> <seconds>
set -euo pipefail

if [[ $# -ne 2 ]]; then
    echo "usage: $0 <build-dir> <seconds>" >&2
    exit 2
fi
build=$1
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
target="$build/tests/fuzz/state_fuzz"
if [[ ! -x $target ]]; then
    echo "no fuzz target at $target (configure with -DTESSAK_FUZZ=ON)" >&2
    exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus" "$work/artifacts"
cp "$here"/corpus/* "$work/corpus/"

# Undefined behaviour counts as a finding; so does any single allocation above
# the memory limit (libFuzzer's malloc limit follows -rss_limit_mb).
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
status=0
"$target" "$work/corpus" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -max_len=4096 \
    -artifact_prefix="$work/artifacts/" -print_final_stats=1 || status=$?

if [[ $status -ne 0 ]] || compgen -G "$work/artifacts/*" > /dev/null; then
    kept="$build/fuzz-artifacts"
    mkdir -p "$kept"
    cp "$work"/artifacts/* "$kept/" 2> /dev/null || true
    echo "fuzzing failed (status $status); reproducers, kept in $kept:" >&2
    for artifact in "$work"/artifacts/*; do
        [[ -e $artifact ]] || continue
        echo "== $artifact" >&2
        od -A d -t x1 "$artifact" | head -20 >&2
    done
    exit 1
fi
echo "fuzzing passed: $seconds s without a finding"
