#!/usr/bin/env bash
# Builds VeScene for Linux (simulated desktop) and runs the vescene command line.
# usage: scripts/run.sh say 打开主窗口        scripts/run.sh --json run examples/scenes.jsonl
# Its own build directory (build-run, Release, no tests): scripts/test.sh keeps build/, and
# neither run reconfigures the other's.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
dir=build-run
if [[ ! -f $dir/build.ninja ]]; then
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVESCENE_TESTS=OFF >/dev/null
fi
cmake --build "$dir" >/dev/null
exec "$dir"/tools/vescene "$@"
