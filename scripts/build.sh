#!/usr/bin/env bash
# Configures and builds one build folder. Used by run.sh and test.sh.
#   scripts/build.sh <build-dir> [cmake options...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$1; shift
generator=()
if command -v ninja >/dev/null && [[ ! -f "$build/CMakeCache.txt" || -f "$build/build.ninja" ]]; then
  generator=(-G Ninja)
fi
cmake -S "$here" -B "$build" "${generator[@]}" "$@" >/dev/null
cmake --build "$build" --parallel "${VESTREL_JOBS:-2}"
