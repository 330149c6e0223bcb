#!/usr/bin/env bash
# Sets everything up, builds, and runs the whole test suite (unit and integration).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/setup.sh"
bash "$here/scripts/build.sh"
build="${QORVID_BUILD_DIR:-$here/build}"
cd "$build"
ctest --output-on-failure -j2 --timeout 900
