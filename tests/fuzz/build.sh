#!/usr/bin/env bash
# Builds the INI document fuzzer with clang (libFuzzer, ASan, UBSan) into build/fuzz/.
# The portable code is compiled as it is, without the project's Shift-JIS literal flags.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
out=$root/build/fuzz
mkdir -p "$out"
clang++ -std=c++17 -g -O1 -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root/src" "$root"/src/base/*.cpp "$root/tests/fuzz/ini_document_fuzz.cpp" \
    -o "$out/ini_document_fuzz"
# The launcher list loader and saver on top of it, with the tree model.
clang++ -std=c++17 -g -O1 -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root/src" "$root"/src/base/*.cpp "$root"/src/launcher/launch_file.cpp \
    "$root"/src/launcher/launch_menu_plan.cpp "$root"/src/launcher/launch_tree.cpp \
    "$root"/src/launcher/preorder_index.cpp "$root/tests/fuzz/launcher_fuzz.cpp" \
    -o "$out/launcher_fuzz"
