#!/usr/bin/env bash
# Builds the two fuzzers and runs each for a short, bounded time over the seeds in corpus/,
# with the dictionary of the file's sections and keys; exits non-zero when one finds a crash.
# FUZZ_SECONDS changes the time (default 20).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
"$here/build.sh"
out=$root/build/fuzz
# New inputs go to a scratch corpus under build/, never into the committed seeds.
mkdir -p "$out/corpus"
"$out/ini_document_fuzz" -max_total_time="${FUZZ_SECONDS:-20}" -timeout=10 -rss_limit_mb=2048 \
    -max_len=16384 -print_final_stats=1 -dict="$here/launch.dict" -artifact_prefix="$out/" "$out/corpus" "$here/corpus"
# The launcher list loader, from the same seeds, into a scratch corpus of its own.
mkdir -p "$out/launcher_corpus"
"$out/launcher_fuzz" -max_total_time="${FUZZ_SECONDS:-20}" -timeout=10 -rss_limit_mb=2048 \
    -max_len=16384 -print_final_stats=1 -dict="$here/launch.dict" -artifact_prefix="$out/launcher-" "$out/launcher_corpus" "$here/corpus"
