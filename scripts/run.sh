#!/usr/bin/env bash
# Builds VeScene for Linux (simulated desktop) and runs the vescene command line.
# usage: scripts/run.sh say 打开主窗口        scripts/run.sh --json run examples/demo.jsonl
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVESCENE_TESTS=OFF >/dev/null
cmake --build build >/dev/null
exec build/tools/vescene "$@"
