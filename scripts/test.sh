#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors under
# AddressSanitizer and UndefinedBehaviorSanitizer, and runs every test through CTest.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh" "$here/build-test" -DCMAKE_BUILD_TYPE=Debug \
  -DVESTREL_WERROR=ON -DVESTREL_SANITIZE=ON -DVESTREL_BENCH=OFF
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cd "$here/build-test"
ctest --output-on-failure --parallel "${VESTREL_JOBS:-2}" "$@"
