#!/usr/bin/env bash
# Runs clang-tidy (the checks of .clang-tidy) over the program's own sources
# and prints its findings with a count per check. A report only: it never
# fails on a finding. Arguments: folder names to look at (default: every layer).
set -uo pipefail
cd "$(dirname "$0")/.."
command -v run-clang-tidy >/dev/null || { echo "tools/tidy.sh needs clang-tidy (apt install clang-tidy)" >&2; exit 1; }
folders=("$@")
[ ${#folders[@]} -gt 0 ] || folders=(store history logic online window screens app)
out=build-tidy
cmake -S . -B "$out" -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
    -DHOSHI_TESTS=OFF >/dev/null || exit 1
files=()
for f in "${folders[@]}"; do
    [ -d "$f" ] || continue
    while IFS= read -r -d '' src; do files+=("$src"); done < <(find "$f" -name '*.cpp' -print0)
done
[ ${#files[@]} -gt 0 ] || { echo "Nothing to look at."; exit 0; }
log="$out/tidy.log"
# run-clang-tidy takes regular expressions: anchor each file's whole path.
patterns=()
for src in "${files[@]}"; do patterns+=("$PWD/$src\$"); done
run-clang-tidy -quiet -p "$out" -j "$(nproc)" "${patterns[@]}" >"$log" 2>/dev/null
# Each finding once (a header's finding is reported by every file that includes it).
sed 's/\x1b\[[0-9;]*m//g' "$log" | grep -E '^/.*: (warning|error): ' | sed "s|^$PWD/||" |
    sort -u >"$out/tidy-findings.txt"
cat "$out/tidy-findings.txt"
echo
echo "Findings per check:"
grep -oE '\[[a-z0-9.,-]+\]$' "$out/tidy-findings.txt" | sort | uniq -c | sort -rn
echo "$(wc -l <"$out/tidy-findings.txt") findings in all (full output: $log)"
exit 0
