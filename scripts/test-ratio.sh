#!/bin/sh
# Prints non-blank lines of tests/<folder> against src/<folder> (tools/ for
# tools), per folder and overall. With a git revision, measures that commit
# instead of the working tree.
set -e
cd "$(dirname "$0")/.."
rev="$1"

count() { # non-blank lines of C++ files under a folder
    if [ -n "$rev" ]; then
        git ls-tree -r --name-only "$rev" -- "$1" 2>/dev/null | grep -E '\.(cpp|h)$' |
            while read -r f; do git show "$rev:$f"; done | grep -c '[^[:space:]]' || true
    else
        [ -d "$1" ] || { echo 0; return; }
        find "$1" -name '*.cpp' -o -name '*.h' | xargs -r cat | grep -c '[^[:space:]]' || true
    fi
}

folders=$( (if [ -n "$rev" ]; then git ls-tree --name-only "$rev" src/; else ls -d src/*/; fi) |
    sed 's:/$::; s:^src/::' | grep -v '\.')
printf '%-10s %7s %7s %6s\n' folder code tests ratio
total_code=0
total_tests=0
for f in $folders tools; do
    if [ "$f" = tools ]; then code=$(count tools); else code=$(count "src/$f"); fi
    tests=$(count "tests/$f")
    total_code=$((total_code + code))
    total_tests=$((total_tests + tests))
    ratio=$(awk -v t="$tests" -v c="$code" 'BEGIN { if (c) printf "%.2f", t / c; else print "-" }')
    printf '%-10s %7d %7d %6s\n' "$f" "$code" "$tests" "$ratio"
done
support=$(count tests/support)
printf '%-10s %7s %7d\n' support '' "$support"
total_tests=$((total_tests + support))
printf '%-10s %7d %7d %6s\n' overall "$total_code" "$total_tests" \
    "$(awk -v t="$total_tests" -v c="$total_code" 'BEGIN { printf "%.2f", t / c }')"
