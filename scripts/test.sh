#!/usr/bin/env bash
# Runs every test: the portable code natively (with sanitizers) and a short fuzzing run,
# then the Windows tests and the end-to-end scenarios under Wine, on a private X display.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$here/.."

scripts/check-format.sh
ctest --preset native -j2
tests/fuzz/smoke.sh

. scripts/xvfb.sh
unset DISPLAY
start_xvfb
export WINEPREFIX=$PWD/build/wine/prefix
trap 'wineserver -k >/dev/null 2>&1 || true; stop_xvfb' EXIT
scripts/wine-prefix "$WINEPREFIX"
ctest --preset win32 -j2
