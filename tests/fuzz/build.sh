#!/usr/bin/env bash
# Builds the fuzzers with clang (libFuzzer, ASan, UBSan) into build/fuzz/. The portable code
# is compiled with its literals in Shift-JIS, as the shipped build has them: clang has no
# Shift-JIS execution character set, so the sources are copied with those characters
# written as octal escapes first (shift_jis_sources.py).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
out=$root/build/fuzz
src=$out/src
mkdir -p "$out"
python3 "$root/tests/fuzz/shift_jis_sources.py" "$root" "$out" src/base src/launcher tests/fuzz
flags=(-std=c++17 -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
    -fno-sanitize-recover=undefined -I"$src")
clang++ "${flags[@]}" "$src"/base/*.cpp "$out/tests/fuzz/ini_document_fuzz.cpp" -o "$out/ini_document_fuzz"
# The launcher list loader and saver on top of it, with the tree model.
clang++ "${flags[@]}" "$src"/base/*.cpp "$src"/launcher/launch_file.cpp \
    "$src"/launcher/launch_menu_plan.cpp "$src"/launcher/launch_tree.cpp \
    "$src"/launcher/preorder_index.cpp "$out/tests/fuzz/launcher_fuzz.cpp" -o "$out/launcher_fuzz"
