#!/usr/bin/env bash
# HOOK.DLL's export table against a fixed list, read from the DLL itself: each ordinal must
# lead to the function of that name in the DLL's own symbol table. The import library is made
# from the same HOOK.def as the DLL, so two functions swapped there would still link and load;
# programs built against the published ordinals would then call the wrong one.
#   hook_ordinals.sh OBJDUMP NM HOOK.DLL
set -euo pipefail
objdump=$1 nm=$2 dll=$3

expected='2 _InstallHook@4
3 _RemoveHook@0
4 _GetHookMessage@8'

headers=$("$objdump" -p "$dll")
image_base=$(awk '$1 == "ImageBase" { print $2; exit }' <<<"$headers")
[ -n "$image_base" ] || { echo "FAIL: no ImageBase in the headers of $dll" >&2; exit 1; }

# "[   0] +base[   2] 16f0 Export RVA": the ordinal and the function's address in the image.
exports=$(sed -n '/^Export Address Table -- Ordinal Base/,/^$/p' <<<"$headers" |
    sed -n 's/^\s*\[ *[0-9]*\] +base\[ *\([0-9]*\)\] \([0-9a-fA-F]*\) Export RVA$/\1 \2/p')
[ -n "$exports" ] || { echo "FAIL: no export table in $dll" >&2; exit 1; }
names=$(awk '/\[Name Pointer\/Ordinal\] Table/ { print $NF; exit }' <<<"$headers")
[ "$((10#${names:-1}))" = 0 ] || { echo "FAIL: $dll exports names; it must export by ordinal only" >&2; exit 1; }

symbols=$("$nm" "$dll")
actual=$(while read -r ordinal rva; do
    address=$(printf '%08x' $((0x$image_base + 0x$rva)))
    name=$(awk -v a="$address" 'tolower($1) == a && ($2 == "T" || $2 == "t") { print $3; exit }' <<<"$symbols")
    echo "$ordinal ${name:-(no symbol at $address)}"
done <<<"$exports")

if [ "$actual" != "$expected" ]; then
    echo "FAIL: the exports of $dll by ordinal are" >&2
    sed 's/^/    /' <<<"$actual" >&2
    echo "  expected" >&2
    sed 's/^/    /' <<<"$expected" >&2
    exit 1
fi
echo "ok: $dll exports by ordinal only:"
sed 's/^/    /' <<<"$actual"
