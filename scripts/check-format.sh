#!/usr/bin/env bash
# Fails when a C++ file of the repository differs from .clang-format, and names the files.
# clang-format 15 is the first to know InsertBraces.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bad=()
while IFS= read -r file; do
    clang-format-15 --dry-run --Werror "$file" >/dev/null 2>&1 || bad+=("$file")
done < <(git ls-files '*.cpp' '*.h')
if [ ${#bad[@]} -gt 0 ]; then
    echo "These files differ from .clang-format (run: clang-format-15 -i FILE):" >&2
    printf '  %s\n' "${bad[@]}" >&2
    exit 1
fi
echo "format: every C++ file follows .clang-format"
