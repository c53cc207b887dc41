#!/usr/bin/env bash
# The clicks scenario for a long run: N rounds (default 1600: about 1,070 right clicks, 270 left
# clicks and 270 chords) through the X server, from a random seed, half of them with two
# CPU-bound processes running. Prints the counts and every failing round (the seed replays
# the run: CLICKS_SEED=S). Exits non-zero when any round failed.
#   scripts/click-soak.sh [N [SEED]]          (after make)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
bin=$root/build/win32/bin
wintool=$root/build/win32/tests/e2e/wintool.exe
[ -f "$bin/Mivtra.exe" ] && [ -f "$wintool" ] || { echo "no build: run make first" >&2; exit 2; }
seed=${2:-$(date +%s)}
out=$root/build/click-soak
echo "click soak: ${1:-1600} rounds from seed $seed; screenshots of failures in $out"
CLICKS_ROUNDS=${1:-1600} CLICKS_SEED=$seed bash "$root/tests/e2e/clicks.sh" "$bin" "$wintool" "$out" |
    grep -E 'FAIL|menu:|in front|held:|right clicks|Wine kept|ok: every|all checks'
