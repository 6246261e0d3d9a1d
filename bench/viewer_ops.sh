#!/usr/bin/env bash
# The viewer's pixel operations against ImageMagick's nearest equivalents, on
# the same 12 MP and 50 MP photos, decoding and encoding left out on both
# sides (see README.md, "Viewer operations"). Prints a markdown table and
# writes it to results/viewer.md (raw times beside it).
#
# Usage: bench/viewer_ops.sh BUILD_DIR
#   BENCH_ROUNDS    rounds (3)
#   BENCH_MAX_WAIT  seconds to wait for a quiet machine before timing (900)
#   BENCH_DATA      where the data set is made and kept (bench/data)
#   VIEWER_SIZES    which photos: "12 50" (default), "12" or "50"
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: viewer_ops.sh BUILD_DIR}" && pwd)
bench=$build/dovi-bench-viewer
rounds=${BENCH_ROUNDS:-3}
max_wait=${BENCH_MAX_WAIT:-900}
data=${BENCH_DATA:-$here/data}
sizes=${VIEWER_SIZES:-12 50}
cores=$(nproc)
results=$here/results
work=$data/viewer
report=$results/viewer.md
times=$results/viewer-times.txt

[ -x "$bench" ] || { echo "viewer_ops.sh: $bench is missing; build first" >&2; exit 1; }
command -v convert >/dev/null || { echo "viewer_ops.sh: ImageMagick is missing (make bench installs it)" >&2; exit 1; }
mkdir -p "$results" "$work"
: > "$times"

# ImageMagick at its best: Debian's policy caps its pixel cache at 256 MiB, so a
# 50 MP picture (400 MB at 16 bits a channel) would go to disk. A policy of
# our own lets it keep every picture in memory; it uses all cores (OpenMP).
policy=$work/magick
mkdir -p "$policy"
cat > "$policy/policy.xml" <<'EOF'
<policymap>
  <policy domain="resource" name="memory" value="8GiB"/>
  <policy domain="resource" name="map" value="8GiB"/>
  <policy domain="resource" name="area" value="1GP"/>
  <policy domain="resource" name="disk" value="16GiB"/>
</policymap>
EOF
export MAGICK_CONFIGURE_PATH=$policy

# The photos: the data set's 50 MP JPEG decoded once to raw 8-bit RGB, and a
# 12 MP one resampled from it by Dovi. Both tools read these very bytes.
"$here/prepare-data.sh" "$data" big
big_w=8660 big_h=5773
if [ ! -f "$work/50mp.rgb" ]; then
    convert "$data/big/big.jpg" -depth 8 "rgb:$work/50mp.rgb.tmp"
    mv "$work/50mp.rgb.tmp" "$work/50mp.rgb"
fi
if [ ! -f "$work/12mp.rgb" ]; then
    "$bench" shrink "$work/50mp.rgb" "$big_w" "$big_h" "$work/12mp.rgb.tmp" 4243 2829
    mv "$work/12mp.rgb.tmp" "$work/12mp.rgb"
fi

wait_for_quiet() {
    local waited=0
    while awk -v limit="$cores" '{ exit !($1 > 1.5 * limit) }' /proc/loadavg &&
        [ "$waited" -lt "$max_wait" ]; do
        [ "$waited" -eq 0 ] && echo "viewer_ops.sh: load $(cut -d' ' -f1 /proc/loadavg); waiting up to ${max_wait}s" >&2
        sleep 15
        waited=$((waited + 15))
    done
}

median() { sort -g | awk '{ v[NR] = $1 } END { if (!NR) exit; print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

# One ImageMagick run: read the raw picture, apply ARGS (none for the
# baseline), write nothing (null:). Appends "SIZE NAME seconds outWxH".
magick_run() {
    local size=$1 name=$2 w=$3 h=$4
    shift 4
    local t out
    t=$( { TIMEFORMAT='%3R'; time convert -size "${w}x${h}" -depth 8 "rgb:$work/${size}mp.rgb" \
        "$@" -print '%wx%h' null: > "$work/im-size.txt"; } 2>&1 )
    out=$(cat "$work/im-size.txt")
    echo "$size $name $t $out" >> "$times"
}

declare -A dovi_ms dovi_trial dovi_out im_ms im_out im_repeat im_base
names=()
for size in $sizes; do
    case $size in
        12) w=4243 h=2829 ;;
        50) w=$big_w h=$big_h ;;
        *) echo "viewer_ops.sh: no $size MP photo" >&2; exit 2 ;;
    esac
    wait_for_quiet
    echo "viewer_ops.sh: $size MP, dovi ($rounds rounds)" >&2
    "$bench" run "$work/${size}mp.rgb" "$w" "$h" --rounds "$rounds" > "$results/viewer-dovi-$size.txt"
    while read -r name fields; do
        dovi_ms[$size.$name]=$(sed 's/^ms=\([0-9.]*\).*/\1/' <<< "$fields")
        dovi_out[$size.$name]=$(sed 's/.*out=\([0-9x]*\).*/\1/' <<< "$fields")
        case $fields in *trial_ms=*) dovi_trial[$size.$name]=$(sed 's/.*trial_ms=\([0-9.]*\).*/\1/' <<< "$fields") ;; esac
    done < "$results/viewer-dovi-$size.txt"

    # ImageMagick: the baseline and every operation once per round, the
    # order of the operations rotating from round to round. Cheap operations
    # that keep the size run `repeat` times in one call, so the subtraction
    # is not lost in the noise of reading the picture.
    mapfile -t ops < <("$bench" list "$w" "$h")
    names=()
    for ((r = 0; r < rounds; r++)); do
        echo "viewer_ops.sh: $size MP, ImageMagick round $((r + 1))/$rounds" >&2
        magick_run "$size" baseline "$w" "$h"
        n=${#ops[@]}
        for ((i = 0; i < n; i++)); do
            IFS=$'\t' read -r name repeat args <<< "${ops[(i + r) % n]}"
            [ "$r" -eq 0 ] && names+=("$name")
            [ "$args" = - ] && continue
            read -ra one <<< "$args"
            all=()
            for ((k = 0; k < repeat; k++)); do all+=("${one[@]}"); done
            im_repeat[$name]=$repeat
            magick_run "$size" "$name" "$w" "$h" "${all[@]}"
        done
    done
    base=$(awk -v s="$size" '$1 == s && $2 == "baseline" { print $3 }' "$times" | median)
    for name in "${names[@]}"; do
        t=$(awk -v s="$size" -v n="$name" '$1 == s && $2 == n { print $3 }' "$times" | median)
        [ -n "$t" ] || continue
        im_ms[$size.$name]=$(awk -v t="$t" -v b="$base" -v k="${im_repeat[$name]}" \
            'BEGIN { printf "%.1f", (t - b) * 1000 / k }')
        im_out[$size.$name]=$(awk -v s="$size" -v n="$name" '$1 == s && $2 == n { print $4 }' "$times" | tail -1)
    done
    im_base[$size]=$base
done

{
    echo "# Viewer operations against ImageMagick"
    echo
    echo "$(date -u '+%Y-%m-%d %H:%M UTC'), $cores cores ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')),"
    echo "$(convert -version | head -1 | cut -d' ' -f2-3), $rounds rounds, medians; load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)."
    echo "Photos: the data set's 50 MP JPEG (8660x5773) as raw RGB, and 4243x2829 (12 MP) resampled from it."
    echo "Dovi: the operation on the picture in memory (dovi-bench-viewer), wall time on all cores;"
    echo "\"trial\" is one slider move in a dialog: undo the previous trial, apply the new amount."
    echo "ImageMagick: \`convert -size WxH -depth 8 rgb:PHOTO ARGS null:\` less the same with no ARGS"
    echo "(reading the raw photo: median $(for s in $sizes; do printf '%s MP %.0f ms; ' "$s" "$(awk -v b="${im_base[$s]:-0}" 'BEGIN { print b * 1000 }')"; done | sed 's/; $//')), over the times ARGS is repeated."
    echo "Ratio = ImageMagick's time / Dovi's: above 1 means Dovi is faster."
    echo
    header="| operation | ImageMagick arguments (× repeats) |"
    rule="|---|---|"
    for s in $sizes; do
        header+=" Dovi ${s} MP ms | trial ms | ImageMagick ${s} MP ms | ratio | sizes (Dovi / IM) |"
        rule+="---|---|---|---|---|"
    done
    echo "$header"
    echo "$rule"
    for name in "${names[@]}"; do
        line=$(printf '%s\n' "${ops[@]}" | awk -F'\t' -v n="$name" '$1 == n { print ($3 == "-" ? "none" : "`" $3 "`" ($2 > 1 ? " × " $2 : "")) }')
        row="| $name | $line |"
        for s in $sizes; do
            d=${dovi_ms[$s.$name]:-} m=${im_ms[$s.$name]:-}
            ratio=–
            [ -n "$m" ] && ratio=$(awk -v a="$m" -v b="$d" 'BEGIN { printf "%.1f", (b > 0 ? a / b : 0) }')
            row+=" $d | ${dovi_trial[$s.$name]:-–} | ${m:-–} | $ratio | ${dovi_out[$s.$name]:-} / ${im_out[$s.$name]:-–} |"
        done
        echo "$row"
    done
} > "$report"
cat "$report"
