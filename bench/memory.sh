#!/bin/sh
# Peak resident size of `vescene run` over the examples repeated to 1,000 and to 100,000
# lines: a long session must not grow. Fails when the larger run's peak is more than 10 %
# above the smaller one's.
#   bench/memory.sh [BUILD_DIR]    (default: build)
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Repeats the examples until `count` lines.
lines() {
    per=$(cat "$here"/examples/*.jsonl | wc -l)
    i=0
    while [ $((i * per)) -lt "$1" ]; do
        cat "$here"/examples/*.jsonl
        i=$((i + 1))
    done | head -n "$1" >"$work/$1.jsonl"
}

peak() {
    lines "$1"
    /usr/bin/time -f %M -o "$work/peak" "$build/tools/vescene" --json --data "$build/data" run "$work/$1.jsonl" >/dev/null
    cat "$work/peak"
}

small=$(peak 1000)
large=$(peak 100000)
echo "peak RSS: $small KB after 1,000 lines, $large KB after 100,000 lines"
if [ "$large" -gt $((small + small / 10)) ]; then
    echo "memory grows over a long run" >&2
    exit 1
fi
