#!/usr/bin/env bash
# Builds and runs the folder-opening benchmark against an existing build
# folder's libraries, without touching the CMake set-up.
# Usage: bench/browser_open.sh [build-folder] [benchmark arguments...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=$(cd "${1:-$root/build}" && pwd)
shift || true
out="$build/bench_browser_open"
if [ ! -x "$out" ] || [ "$here/browser_open.cpp" -nt "$out" ] || [ "$build/libdovi_shell.a" -nt "$out" ]; then
    c++ -std=c++20 -O2 -fPIC -Wall -Wextra -I"$root/src" -I"$build/generated" \
        $(pkg-config --cflags Qt6Widgets) "$here/browser_open.cpp" -o "$out" \
        -Wl,--start-group "$build"/libdovi_*.a -Wl,--end-group \
        $(pkg-config --libs Qt6Widgets) -ljpeg -lpthread
fi
exec "$out" "$@"
