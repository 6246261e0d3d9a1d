#!/usr/bin/env bash
# The thumbnail viewer's generator against GraphicsMagick and libvips on the
# same photos in the same run (each tool a process per core), the thumbnail
# grid opened over 20,000 small files, and the slideshow's next slide on
# 24 MP photos. Prints a markdown table and writes it to results/thumbs.md.
#
# Usage: bench/thumbs.sh BUILD_DIR
#   BENCH_ROUNDS    rounds (3); every number is a median over them
#   BENCH_DATA      where the data set is made and kept (bench/data)
#   GRID_FILES      files in the grid measurement (20000)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: thumbs.sh BUILD_DIR}" && pwd)
bench=$build/dovi-bench-thumbs
rounds=${BENCH_ROUNDS:-3}
data=${BENCH_DATA:-$here/data}
grid_files=${GRID_FILES:-20000}
cores=$(nproc)
results=$here/results
work=$data/thumbs
report=$results/thumbs.md
times=$results/thumbs-times.txt

[ -x "$bench" ] || { echo "thumbs.sh: $bench is missing; build first" >&2; exit 1; }
for tool in gm vipsthumbnail vips; do
    command -v "$tool" >/dev/null || { echo "thumbs.sh: $tool is missing (make bench installs it)" >&2; exit 1; }
done
mkdir -p "$results" "$work"
: > "$times"
"$here/prepare-data.sh" "$data" >&2
"$here/prepare-data.sh" "$data" big >&2
photos=$data/photos

# per_core DIR CMD...: one process per core, the files of DIR dealt to them in turn.
per_core() {
    local dir=$1 k j rc=0
    shift
    local files pids=()
    files=$(cd "$dir" && printf '%s\n' *.jpg)
    mapfile -t files <<< "$files"
    for ((k = 0; k < cores; k++)); do
        local chunk=()
        for ((j = k; j < ${#files[@]}; j += cores)); do chunk+=("${files[j]}"); done
        (cd "$dir" && "$@" "${chunk[@]}") &
        pids+=($!)
    done
    for k in "${pids[@]}"; do wait "$k" || rc=1; done
    return "$rc"
}

# Every tool writes an uncompressed 81 x 76 picture per photo, proportions not
# kept: dovi and gm a BMP, vipsthumbnail a PPM (its BMP goes through ImageMagick).
case_dovi() { (cd "$photos" && "$bench" generate "$1" ./*.jpg); }
case_gm() {
    OMP_NUM_THREADS=1 per_core "$photos" gm mogrify -output-directory "$1" -size 162x152 \
        -resize '81x76!' -format bmp
}
case_vips() {
    per_core "$photos" vipsthumbnail --vips-concurrency=1 --size '81x76!' -o "$1/%s.ppm"
}

time_case() {
    local name=$1 out=$work/$1 t
    rm -rf "$out" && mkdir -p "$out"
    t=$( { TIMEFORMAT='%3R %3U %3S'; time "case_$name" "$out" >/dev/null 2>&1; } 2>&1 ) ||
        { echo "thumbs.sh: $name failed" >&2; exit 1; }
    echo "$name $t" | awk '{ printf "%s %.3f %.3f\n", $1, $2, $3 + $4 }' >> "$times"
}
median_of() {
    awk -v n="$1" -v c="$2" '$1 == n { print $c }' "$times" | sort -g |
        awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.3f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
outputs() { find "$work/$1" -type f \( -name '*.bmp' -o -name '*.ppm' \) | wc -l; }

cat "$photos"/*.jpg > /dev/null
echo "thumbs.sh: 1/3 thumbnails of $(ls "$photos"/*.jpg | wc -l) photos ($rounds rounds)" >&2
cases=(dovi gm vips)
for ((r = 0; r < rounds; r++)); do
    for ((i = 0; i < ${#cases[@]}; i++)); do
        time_case "${cases[(i + r) % ${#cases[@]}]}"
    done
done

echo "thumbs.sh: 2/3 the grid over $grid_files small files" >&2
small=$data/small-$grid_files
if [ ! -f "$small/.done" ]; then
    rm -rf "$small"
    "$bench" make-small "$small" "$grid_files"
    touch "$small/.done"
fi
cat "$small"/*.jpg > /dev/null
grid_line=$("$bench" grid "$small")

echo "thumbs.sh: 3/3 the next slide on 24 MP photos" >&2
slides=$data/slides24
if [ ! -f "$slides/.done" ]; then
    rm -rf "$slides" && mkdir -p "$slides"
    # Six 6000 x 4000 photos cut from the 50 MP one at different places.
    for k in 0 1 2 3 4 5; do
        vips crop "$data/big/big.jpg" "$slides/s$k.jpg[Q=92]" $((k * 500)) $((k * 300)) 6000 4000
    done
    touch "$slides/.done"
fi
slide_line=$("$bench" slides "$slides"/*.jpg)

field() { sed "s/.* $2=\([-0-9.]*\).*/\1/" <<< "$1"; }
{
    echo "## Thumbnails, grid and slideshow"
    echo
    echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $cores cores, $rounds rounds, medians;"
    echo "$(gm version | head -1), $(vips --version)."
    echo
    echo "| thumbnails of the photos (81 x 76) | wall s | runs | × dovi (wall) | CPU s | × dovi (CPU) | outputs |"
    echo "|---|---|---|---|---|---|---|"
    dw=$(median_of dovi 2) dc=$(median_of dovi 3)
    for c in dovi gm vips; do
        label=$c
        [ $c = dovi ] && label="Dovi's generator (one process, $cores workers)"
        [ $c = gm ] && label="gm mogrify -size 162x152 -resize 81x76!, a process per core"
        [ $c = vips ] && label="vipsthumbnail --size 81x76!, a process per core"
        runs=$(awk -v n=$c '$1 == n { printf "%s%s", s, $2; s = " / " }' "$times")
        echo "| $label | $(median_of $c 2) | $runs | $(ratio "$(median_of $c 2)" "$dw") | $(median_of $c 3) | $(ratio "$(median_of $c 3)" "$dc") | $(outputs $c) |"
    done
    echo
    echo "| measure | value |"
    echo "|---|---|"
    echo "| grid over $(field "$grid_line" files) small JPEGs: first row shown | $(field "$grid_line" first_row_ms) ms |"
    echo "| grid: every thumbnail made and placed | $(field "$grid_line" all_ms) ms ($(field "$grid_line" per_file_ms) ms a file) |"
    echo "| grid: widgets in the window / pictures held in memory | $(field "$grid_line" widgets) / $(field "$grid_line" cached) |"
    echo "| grid: peak RSS (process before the window: $(( $(field "$grid_line" rss_before_kb) / 1024 )) MiB) | $(( $(field "$grid_line" peak_rss_kb) / 1024 )) MiB |"
    echo "| slideshow, 24 MP JPEG on 1920 x 1080: step after a second's showing (median / max) | $(field "$slide_line" step_median_ms) / $(field "$slide_line" step_max_ms) ms |"
    echo "| slideshow: the same slide without the background decode (median / max) | $(field "$slide_line" without_background_median_ms) / $(field "$slide_line" without_background_max_ms) ms |"
    echo
    met() { if [ "$2" = 1 ]; then echo "- met: $1"; else echo "- MISSED: $1"; fi; }
    faster() { awk -v a="$1" -v b="$2" 'BEGIN { print (a < b ? 1 : 0) }'; }
    met "thumbnails faster than gm ($(ratio "$(median_of gm 2)" "$dw")×) and vipsthumbnail ($(ratio "$(median_of vips 2)" "$dw")×)" \
        "$(( $(faster "$dw" "$(median_of gm 2)") * $(faster "$dw" "$(median_of vips 2)") ))"
    met "thumbnails of the photos under 2 s ($dw s)" "$(faster "$dw" 2)"
    met "next 24 MP slide under 100 ms ($(field "$slide_line" step_max_ms) ms at most)" \
        "$(faster "$(field "$slide_line" step_max_ms)" 100)"
} > "$report"
cat "$report"
