#!/usr/bin/env bash
# Installs what is missing, builds Vestrel and starts it. Arguments go to the program.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh" "$here/build" -DCMAKE_BUILD_TYPE=Release -DVESTREL_TESTS=OFF -DVESTREL_BENCH=OFF
program="$here/build/vestrel/vestrel"
# Until the desktop program is built, the command-line scanner is the program.
[[ -x "$program" ]] || program="$here/build/vestrel/vestrel-scan"
if [[ ! -x "$program" ]]; then
  echo "Nothing to start yet: the build made neither vestrel nor vestrel-scan." >&2
  exit 1
fi
# Without any camera the program would say so and end; start it on the virtual camera then.
if ! compgen -G "/dev/video*" >/dev/null && [[ -z "${VESTREL_CAMERA:-}" ]]; then
  export VESTREL_CAMERA=virtual
fi
exec "$program" "$@"
