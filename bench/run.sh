#!/usr/bin/env bash
# Times dovi-batch against vipsthumbnail, ImageMagick and GraphicsMagick,
# (viewer_ops.sh) the viewer's pixel operations against ImageMagick, and
# (thumbs.sh) the thumbnail generator, grid and slideshow.
# Every tool runs on the same files in the same run, interleaved round by round
# (the order rotates so none always goes first), and every number is a median
# over the rounds. Results: a markdown table on stdout and in results/latest.md.
#
# Usage: bench/run.sh BUILD_DIR
#   BENCH_ROUNDS    rounds per comparison (3)
#   BENCH_MAX_WAIT  seconds to wait for a quiet machine before timing (900)
#   BENCH_PHOTOS    photos in the data set (100)
#   BENCH_DATA      where the data set is made and kept (bench/data)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
dovi=$build/dovi-batch
colours=$build/dovi-bench-colours
rounds=${BENCH_ROUNDS:-3}
max_wait=${BENCH_MAX_WAIT:-900}
cores=$(nproc)
data=${BENCH_DATA:-$here/data}
photos=$data/photos mixed=$data/mixed big=$data/big/big.jpg
work=$data/work
results=$here/results
log=$results/run.log
times=$results/times.txt
report=$results/latest.md

for tool in "$dovi" "$colours" "$build/dovi-bench-viewer" "$build/dovi-bench-thumbs"; do
    [ -x "$tool" ] || { echo "run.sh: $tool is missing; build first" >&2; exit 1; }
done
for tool in vipsthumbnail mogrify convert compare identify gm /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "run.sh: $tool is missing (make bench installs it)" >&2; exit 1; }
done

mkdir -p "$results"
: > "$log"
: > "$times"
"$here/prepare-data.sh" "$data"

# JPEG settings every tool writes with. dovi's default factor 1 means the
# standard tables at a tenth, which is "quality 95"; it keeps full-resolution
# chroma at that level, and optimises the Huffman tables for pictures up to a
# megapixel only (every 800x600 output; no full-size photo here). The others are
# told the same, so the files are alike in size and quality.
q=95
vips_out="[Q=$q,optimize_coding,subsample_mode=off]"
im_fit=(-quality "$q" -sampling-factor 1x1 -define jpeg:optimize-coding=true)
im_full=(-quality "$q" -sampling-factor 1x1 -define jpeg:optimize-coding=false)

load1() { cut -d' ' -f1 /proc/loadavg; }
loads=()
note_load() { loads+=("$(load1)"); }

wait_for_quiet() {
    local waited=0
    while awk -v limit="$cores" '{ exit !($1 > 1.5 * limit) }' /proc/loadavg &&
        [ "$waited" -lt "$max_wait" ]; do
        [ "$waited" -eq 0 ] && echo "run.sh: load $(load1) on $cores cores; waiting up to ${max_wait}s" >&2
        sleep 15
        waited=$((waited + 15))
    done
}

# Runs case_NAME once into a fresh output folder; appends "NAME wall cpu".
time_case() {
    local name=$1 out=$work/$1 t
    rm -rf "$out"
    mkdir -p "$out"
    t=$( { TIMEFORMAT='%3R %3U %3S'; time "case_$name" "$out" >>"$log" 2>&1; } 2>&1 ) ||
        { echo "run.sh: $name failed; see $log" >&2; exit 1; }
    echo "$name $t" | awk '{ printf "%s %.3f %.3f\n", $1, $2, $3 + $4 }' >> "$times"
}

# race NAME...: every case once per round, rotating which goes first.
race() {
    local n=$# r i
    local cases=("$@")
    note_load
    for ((r = 0; r < rounds; r++)); do
        for ((i = 0; i < n; i++)); do
            time_case "${cases[(i + r) % n]}"
        done
    done
    note_load
}

median_of() { # median_of NAME COLUMN(2 wall, 3 cpu)
    awk -v n="$1" -v c="$2" '$1 == n { print $c }' "$times" | sort -g |
        awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.3f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
runs_of() { awk -v n="$1" '$1 == n { printf "%s%s", sep, $2; sep = " / " }' "$times"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
outputs_of() { # files and total size of a case's last outputs
    local dir=$work/$1
    find "$dir" -type f | wc -l | tr -d '\n'
    printf ' files, %s MB' "$(du -sb "$dir" | awk '{ printf "%.1f", $1 / 1e6 }')"
}

# Each tool works from inside the input folder on relative names, so every one
# writes the same names into its output folder.
in_photos() { (cd "$photos" && "$@" ./*.jpg); }
# per_core DIR CMD...: one process per core, the files of DIR dealt to them in
# turn, so each tool starts only once per core.
per_core() {
    local dir=$1 k j rc=0
    shift
    local files pids=()
    files=$(cd "$dir" && printf '%s\n' *)
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

# --- 1. Fit into 800x600 -------------------------------------------------
case_fit_dovi() { in_photos "$dovi" convert --to jpg --fit 800x600 --lum 1 --chrom 1 --out "$1"; }
case_fit_vips_cores() {
    per_core "$photos" vipsthumbnail --vips-concurrency=1 --size 800x600 -o "$1/%s.jpg$vips_out"
}
case_fit_vips_plain() {
    per_core "$photos" vipsthumbnail --vips-concurrency=1 --size 800x600 -o "$1/%s.jpg[Q=$q]"
}
case_fit_im_one() { in_photos mogrify -path "$1" -resize 800x600 "${im_fit[@]}"; }
case_fit_im_cores() {
    MAGICK_THREAD_LIMIT=1 per_core "$photos" mogrify -path "$1" -resize 800x600 "${im_fit[@]}"
}
case_fit_im_hint() {
    MAGICK_THREAD_LIMIT=1 per_core "$photos" mogrify -path "$1" -define jpeg:size=800x600 \
        -resize 800x600 "${im_fit[@]}"
}
case_fit_gm_cores() {
    OMP_NUM_THREADS=1 per_core "$photos" gm mogrify -output-directory "$1" -resize 800x600 \
        "${im_fit[@]}"
}

# --- 4. Convert the mixed set to JPEG ------------------------------------
in_mixed() { (cd "$mixed" && "$@" ./*.*); }
case_conv_dovi() { in_mixed "$dovi" convert --to jpg --lum 1 --chrom 1 --out "$1"; }
case_conv_gm_one() { in_mixed gm mogrify -output-directory "$1" -format jpg "${im_full[@]}"; }
case_conv_gm_cores() {
    OMP_NUM_THREADS=1 per_core "$mixed" gm mogrify -output-directory "$1" -format jpg "${im_full[@]}"
}
case_conv_im_cores() {
    MAGICK_THREAD_LIMIT=1 per_core "$mixed" mogrify -path "$1" -format jpg "${im_full[@]}"
}

echo "run.sh: warming the page cache" >&2
cat "$photos"/*.jpg "$mixed"/* "$big" > /dev/null
wait_for_quiet
start_load=$(cut -d' ' -f1-3 /proc/loadavg)

echo "run.sh: 1/7 fit into 800x600 ($rounds rounds)" >&2
fit_cases=(fit_dovi fit_vips_cores fit_vips_plain fit_im_one fit_im_cores fit_im_hint fit_gm_cores)
race "${fit_cases[@]}"

echo "run.sh: 2/7 mixed set to JPEG ($rounds rounds)" >&2
conv_cases=(conv_dovi conv_gm_cores conv_gm_one conv_im_cores)
race "${conv_cases[@]}"

echo "run.sh: 3/7 colour count cost" >&2
note_load
"$colours" --rounds "$rounds" "$photos"/*.jpg > "$results/colours.txt"
note_load

echo "run.sh: 4/7 peak memory on a 50 MP JPEG" >&2
rss=$results/rss.txt
: > "$rss"
note_load
for ((r = 0; r < rounds; r++)); do
    for tool in dovi vips; do
        out=$work/rss_$tool
        rm -rf "$out" && mkdir -p "$out"
        if [ "$tool" = dovi ]; then
            cmd=("$dovi" convert --to jpg --fit 800x600 --lum 1 --chrom 1 --jobs 1 --out "$out" "$big")
        else
            cmd=(vipsthumbnail --size 800x600 -o "$out/%s.jpg$vips_out" "$big")
        fi
        /usr/bin/time -f "$tool %M %e" -a -o "$rss" "${cmd[@]}" >>"$log" 2>&1
    done
done
note_load

echo "run.sh: 5/7 quality against a full-size ImageMagick resize" >&2
# dovi's lossless output at its own size; ImageMagick resizes the full decode to
# exactly that size; PSNR between the two. The JPEGs of the fit race (last
# round) are held against the same reference where their size matches.
qdir=$work/quality
rm -rf "$qdir" && mkdir -p "$qdir/dovi" "$qdir/ref"
in_photos "$dovi" convert --to png --fit 800x600 --out "$qdir/dovi" >>"$log" 2>&1
(cd "$qdir/dovi" && identify -ping -format '%t %w %h\n' ./*.png) > "$qdir/sizes.txt"
while read -r name w h; do
    printf '%s\0%s\0%s\0' "$photos/$name.jpg" "${w}x${h}!" "$qdir/ref/$name.png"
done < "$qdir/sizes.txt" | xargs -0 -n 3 -P "$cores" sh -c 'convert "$0" -resize "$1" "$2"'
psnr_of() { # psnr_of DIR EXT: "matched min median" over files whose size matches
    local dir=$1 ext=$2 name w h size
    while read -r name w h; do
        [ -f "$dir/$name.$ext" ] || continue
        size=$(identify -ping -format '%wx%h' "$dir/$name.$ext")
        [ "$size" = "${w}x${h}" ] || continue
        compare -metric PSNR "$dir/$name.$ext" "$qdir/ref/$name.png" null: 2>&1 || true
        echo
    done < "$qdir/sizes.txt" | awk 'NF { print ($1 == "inf" ? 99 : $1) }' | sort -g |
        awk '{ v[++n] = $1 } END { if (!n) { print "0 - -"; exit }
             printf "%d %.1f %.1f\n", n, v[1], (n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2) }'
}
psnr_png=$(psnr_of "$qdir/dovi" png)
declare -A psnr_jpg
for c in fit_dovi fit_vips_cores fit_vips_plain fit_im_one fit_im_cores fit_im_hint fit_gm_cores; do
    psnr_jpg[$c]=$(psnr_of "$work/$c" jpg)
done
end_load=$(cut -d' ' -f1-3 /proc/loadavg)

# --- The report ----------------------------------------------------------
{
    n_photos=$(find "$photos" -name '*.jpg' | wc -l)
    echo "# dovi-batch benchmark"
    echo
    echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $cores cores ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')),"
    echo "$rounds rounds, medians. Load average (1, 5, 15 min) at start: $start_load; at end: $end_load;"
    echo "1-minute load sampled around each part: ${loads[*]}."
    echo "Data: $n_photos photos ($(cat "$data/photos-origin.txt")), JPEG quality 92;"
    echo "the mixed set holds the same pictures, a quarter each as JPEG, BMP, TGA and PCX."
    echo "Tools: $(vips --version), $(convert -version | head -1 | cut -d' ' -f2-3), GraphicsMagick $(gm version | head -1 | cut -d' ' -f2)."
    echo "JPEG output for all: quality $q tables, 4:4:4; optimised Huffman tables for the 800x600"
    echo "outputs, standard ones for the full-size conversions (as dovi-batch does)."
    echo
    echo "Ratio = the tool's median / dovi-batch's median: above 1 means dovi-batch is faster."
    echo "CPU = user + system time of all processes, which load from other work disturbs less."
    echo
    echo "| task | tool | wall s (median) | wall runs | × dovi (wall) | CPU s | × dovi (CPU) | outputs | PSNR vs reference (n, min, median dB) |"
    echo "|---|---|---|---|---|---|---|---|---|"
    row() { # row TASK LABEL CASE BASECASE
        local w c bw bc p
        w=$(median_of "$3" 2) c=$(median_of "$3" 3) bw=$(median_of "$4" 2) bc=$(median_of "$4" 3)
        p=${psnr_jpg[$3]:-}
        echo "| $1 | $2 | $w | $(runs_of "$3") | $(ratio "$w" "$bw") | $c | $(ratio "$c" "$bc") | $(outputs_of "$3") | ${p:-–} |"
    }
    row "fit 800x600" "dovi-batch convert --fit (one process, $cores jobs)" fit_dovi fit_dovi
    row "fit 800x600" "vipsthumbnail, a process per core, same JPEG settings" fit_vips_cores fit_dovi
    row "fit 800x600" "vipsthumbnail, a process per core, Q=$q only" fit_vips_plain fit_dovi
    row "fit 800x600" "mogrify -resize, one call" fit_im_one fit_dovi
    row "fit 800x600" "mogrify -resize, a process per core" fit_im_cores fit_dovi
    row "fit 800x600" "mogrify -define jpeg:size=800x600 -resize (reduced decode), a process per core" fit_im_hint fit_dovi
    row "fit 800x600" "gm mogrify -resize, a process per core" fit_gm_cores fit_dovi
    row "mixed to JPEG" "dovi-batch convert --to jpg" conv_dovi conv_dovi
    row "mixed to JPEG" "gm mogrify -format jpg, a process per core" conv_gm_cores conv_dovi
    row "mixed to JPEG" "gm mogrify -format jpg, one call" conv_gm_one conv_dovi
    row "mixed to JPEG" "mogrify -format jpg, a process per core" conv_im_cores conv_dovi
    echo
    field() { grep "^$1 " "$results/colours.txt" | sed "s/.*$2=\([0-9.]*\).*/\1/"; }
    count_ratio=$(field total ratio)
    echo "| measure | what | median | ratio |"
    echo "|---|---|---|---|"
    echo "| colour count | decode alone, all photos (sum of per-file medians; thread CPU time, wall in brackets) | $(field total decode_ms) ms ($(field wall decode_ms) ms) | 1 |"
    echo "| colour count | exact colour count on top | $(field total count_ms) ms ($(field wall count_ms) ms) | $count_ratio of the decode ($(field wall ratio) by wall time; per file: $(grep '^per-file' "$results/colours.txt" | cut -d' ' -f3-4)) |"
    rss_dovi=$(awk '$1 == "dovi" { print $2 }' "$rss" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
    rss_vips=$(awk '$1 == "vips" { print $2 }' "$rss" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
    echo "| peak RSS, 50 MP JPEG to 800x600 | dovi-batch --jobs 1 | $((rss_dovi / 1024)) MiB | $(ratio "$rss_dovi" "$rss_vips") × vipsthumbnail's |"
    echo "| peak RSS, 50 MP JPEG to 800x600 | vipsthumbnail | $((rss_vips / 1024)) MiB | 1 |"
    read -r pn pmin pmed <<< "$psnr_png"
    echo "| quality | dovi-batch --to png --fit vs ImageMagick full-decode resize, same size | min $pmin dB, median $pmed dB | $pn files |"
    echo
    echo "## Targets"
    echo
    target() { # target TEXT OK(1/0)
        if [ "$2" = 1 ]; then echo "- met: $1"; else echo "- MISSED: $1"; fi
    }
    at_least() { awk -v a="$1" -v b="$2" 'BEGIN { print (a >= b ? 1 : 0) }'; }
    # Judged on wall time; the CPU-time ratio beside it shows what load did to it.
    both() { # both CASE BASECASE: "wall × a, CPU × b"
        echo "wall × $(ratio "$(median_of "$1" 2)" "$(median_of "$2" 2)"), CPU × $(ratio "$(median_of "$1" 3)" "$(median_of "$2" 3)")"
    }
    faster() { # the case of the two with the lower median wall time
        if awk -v a="$(median_of "$1" 2)" -v b="$(median_of "$2" 2)" 'BEGIN { exit !(a <= b) }'; then
            echo "$1"
        else
            echo "$2"
        fi
    }
    dw=$(median_of fit_dovi 2)
    target "fit: dovi-batch at least as fast as vipsthumbnail per core ($(both fit_vips_cores fit_dovi))" \
        "$(at_least "$(median_of fit_vips_cores 2)" "$dw")"
    im=$(faster fit_im_one fit_im_cores)
    target "fit: dovi-batch at least 3× faster than mogrify, its faster way, $im ($(both "$im" fit_dovi))" \
        "$(at_least "$(ratio "$(median_of "$im" 2)" "$dw")" 3)"
    target "quality: PSNR at least 32 dB against the full-decode resize (min $pmin, median $pmed)" \
        "$(at_least "$pmin" 32)"
    gm=$(faster conv_gm_one conv_gm_cores)
    target "mixed to JPEG: at least 2× faster than gm, its faster way, $gm ($(both "$gm" conv_dovi))" \
        "$(at_least "$(ratio "$(median_of "$gm" 2)" "$(median_of conv_dovi 2)")" 2)"
    per_file_median=$(grep '^per-file' "$results/colours.txt" | sed 's/.*median=\([0-9.]*\).*/\1/')
    target "colour count adds under 25% to a photo's decode (per-file median $per_file_median; all photos together $count_ratio)" \
        "$(awk -v r="$per_file_median" 'BEGIN { print (r < 0.25 ? 1 : 0) }')"
    target "peak RSS at most 1.5× vipsthumbnail's ($(ratio "$rss_dovi" "$rss_vips"))" \
        "$(awk -v a="$rss_dovi" -v b="$rss_vips" 'BEGIN { print (a <= 1.5 * b ? 1 : 0) }')"
} > "$report"

# --- 6. The viewer's operations against ImageMagick ----------------------
# Its own script (it can run alone); its table joins the report.
echo "run.sh: 6/7 viewer operations against ImageMagick ($rounds rounds)" >&2
BENCH_ROUNDS=$rounds BENCH_MAX_WAIT=0 BENCH_DATA=$data "$here/viewer_ops.sh" "$build" >>"$log"
{
    echo
    cat "$results/viewer.md"
} >> "$report"

# --- 7. Thumbnails, the grid and the slideshow ----------------------------
echo "run.sh: 7/7 thumbnails against gm and vipsthumbnail, grid, slideshow ($rounds rounds)" >&2
BENCH_ROUNDS=$rounds BENCH_DATA=$data "$here/thumbs.sh" "$build" >>"$log"
{
    echo
    cat "$results/thumbs.md"
} >> "$report"
cat "$report"
