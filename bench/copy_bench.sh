#!/bin/sh
# Copy and move speed of Dovi's file commands against cp and mv.
# usage: bench/copy_bench.sh [BUILD-DIR] [dovi-bench-copy options...]
#   e.g. bench/copy_bench.sh build --files 2000 --megabytes 1100 --rounds 3
# Needs about twice the set's size free in the work folder ($TMPDIR or /tmp)
# and once more on the second file system (/dev/shm unless --other is given).
set -eu
build=${1:-build}
[ $# -gt 0 ] && shift
cmake --build "$build" --target dovi-bench-copy
exec "$build/dovi-bench-copy" --work "${TMPDIR:-/tmp}" "$@"
