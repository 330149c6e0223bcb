#!/usr/bin/env bash
# Sets everything up, builds, and runs the whole test suite (unit and integration).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
# The folders include only downward, and no function of the code outgrows the limit.
python3 "$here/scripts/check-layers.py"
python3 "$here/scripts/code-stats.py"
bash "$here/scripts/build.sh"
build="${QORVID_BUILD_DIR:-$here/build}"
cd "$build"
ctest --output-on-failure -j2 --timeout 900
