#!/usr/bin/env bash
# The hook's replay fuzzer for a long run: N random sequences (default 1000) of clicks, drags,
# long presses, wheel turns and chords injected with the hook on, in batches of 100, on an
# X display and a Wine prefix of their own (build/wine/hook-soak), so that nothing else's input
# gets in. Prints each batch's count and every failing sequence (its seed replays it:
# MIVTRA_REPLAY_SEED=S MIVTRA_REPLAY_SEQUENCES=1). Exits non-zero when any sequence failed.
#   scripts/hook-soak.sh [N]          (after make)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
total=${1:-1000}
exe=$root/build/win32/bin/hook_tests.exe
[ -f "$exe" ] || { echo "no $exe: run make first" >&2; exit 2; }
export MIVTRA_WINEPREFIX=$root/build/wine/hook-soak
unset DISPLAY
# A copy of the test and the library: a build during the run does not change what runs.
copy=$(mktemp -d "${TMPDIR:-/tmp}/hook-soak.XXXXXX")
trap 'rm -rf "$copy"' EXIT
cp "$exe" "$(dirname "$exe")/HOOK.DLL" "$copy/"
exe=$copy/hook_tests.exe

seed=${MIVTRA_REPLAY_SEED:-$(date +%s)}
done_count=0 failed=0 batch=100
while [ "$done_count" -lt "$total" ]; do
    n=$((total - done_count < batch ? total - done_count : batch))
    out=$(MIVTRA_REPLAY_SEQUENCES=$n MIVTRA_REPLAY_SEED=$seed \
        "$here/wine" "$exe" --gtest_filter='HookTest.ReplayFuzz*' 2>&1) || true
    summary=$(tr -d '\r' <<<"$out" | grep -a '^replay fuzzer:' || echo "replay fuzzer: no summary (crash?)")
    echo "$summary"
    case $summary in
        *", 0 failed") ;;
        *)
            failed=$((failed + 1))
            grep -a -A8 'Failure' <<<"$out" || true
            ;;
    esac
    done_count=$((done_count + n))
    seed=$((seed + n))
done
echo "hook soak: $done_count sequences, $failed batch(es) with failures"
[ "$failed" = 0 ]
