#!/usr/bin/env bash
# Makes the benchmark pictures once; later runs reuse them.
#   data/photos/pNNN.jpg  Debian's wallpaper photos as JPEG (quality 92, 4:2:0 like a
#                         camera), topped up with crops of the largest ones when
#                         fewer than BENCH_PHOTOS distinct pictures are installed
#   data/mixed/           the same pictures, in turn as JPEG, BMP, TGA and PCX
#   data/big/big.jpg      one 8660x5773 (50 MP) JPEG, a real photograph enlarged
# Usage: prepare-data.sh DATA_DIR [big]   (big: only the 50 MP file, when it can be
#                                         made without the photo set)
set -euo pipefail

data=$1
only=${2:-}
want=${BENCH_PHOTOS:-100}
photos=$data/photos mixed=$data/mixed big=$data/big
jobs=$(nproc)

# Each part is made once and kept; new photos mean a new mixed set too.
make_photos() {
    # One entry per picture: wallpaper packages ship one picture at several sizes
    # (a folder per wallpaper, or a size in the name), so keep the largest of each.
    # Pictures smaller than 1200 px on the long side would not need the 800x600 fit.
    find /usr/share/backgrounds /usr/share/wallpapers -type f \
            \( -iname '*.jpg' -o -iname '*.jpeg' -o -iname '*.png' \) -print0 2>/dev/null |
        xargs -0 -r identify -ping -format '%w %h %i\n' 2>/dev/null |
        awk '{
            w = $1; h = $2; path = substr($0, length($1) + length($2) + 3)
            if ((w > h ? w : h) < 1200) next
            key = path
            if (match(path, /\/wallpapers\/[^/]+\/contents\/[^/]+\//))
                key = substr(path, RSTART, RLENGTH)
            else {
                gsub(/_[0-9]+x[0-9]+/, "", key); gsub(/_Portrait/, "", key)
                sub(/\.[^.\/]+$/, "", key)
            }
            if (w * h > area[key]) { area[key] = w * h; best[key] = path; size[key] = w " " h }
        }
        END { for (k in best) print size[k], best[k] }' | sort -k3 > "$list"
    count=$(wc -l < "$list")
    [ "$count" -gt 0 ] || { echo "prepare-data: no wallpaper pictures installed" >&2; exit 1; }

    # Sources first, then crops: each crop is 60% of a large photo from a different
    # corner or the centre, so no two files hold the same pixels.
    jobfile=$data/jobs.txt
    : > "$jobfile"
    n=0
    while read -r w h path; do
        n=$((n + 1))
        printf '%s\t%s\t\n' "$(printf 'p%03d' "$n")" "$path" >> "$jobfile"
    done < "$list"
    crops=0
    if [ "$n" -lt "$want" ]; then
        sort -k1,1nr -k2,2nr "$list" | awk '$1 * $2 >= 8000000' > "$data/large.txt"
        for gravity in NorthWest SouthEast NorthEast SouthWest Center; do
            while read -r w h path; do
                [ "$n" -ge "$want" ] && break 2
                n=$((n + 1)); crops=$((crops + 1))
                printf '%s\t%s\t%s\n' "$(printf 'p%03d' "$n")" "$path" "$gravity" >> "$jobfile"
            done < "$data/large.txt"
        done
    fi
    echo "$count distinct wallpaper pictures + $crops crops of them" > "$data/photos-origin.txt"

    # Flatten transparency onto white and drop metadata so every tool sees plain sRGB.
    make_photo() {
        local name=$1 src=$2 gravity=$3 out=$4
        local crop=()
        [ -n "$gravity" ] && crop=(-gravity "$gravity" -crop 60%x60%+0+0 +repage)
        convert "$src[0]" -auto-orient "${crop[@]}" -background white -alpha remove -alpha off \
            -colorspace sRGB -type TrueColor -depth 8 -strip \
            -quality 92 -sampling-factor 2x2 "$out/$name.jpg"
}
export -f make_photo
echo "prepare-data: making $n photos in $photos"
while IFS=$'\t' read -r name src gravity; do
    printf '%s\0%s\0%s\0' "$name" "$src" "$gravity"
done < "$jobfile" | xargs -0 -n 3 -P "$jobs" bash -c 'make_photo "$1" "$2" "$3" "'"$photos"'"' _
touch "$photos/.done"
}

# The mixed set: picture i as JPEG, BMP, TGA, PCX in turn (a quarter each), classic
# 24-bit layouts that every tool here reads.
make_mixed() {
    local kind=$1 src=$2 out=$3
    local name
    name=$(basename "$src" .jpg)
    case $kind in
        jpg) cp "$src" "$out/$name.jpg" ;;
        bmp) convert "$src" "BMP3:$out/$name.bmp" ;;
        tga) convert "$src" -compress None "$out/$name.tga" ;;
        pcx) convert "$src" "$out/$name.pcx" ;;
    esac
}
export -f make_mixed
make_mixed_set() {
    echo "prepare-data: making the mixed set in $mixed"
    kinds=(jpg bmp tga pcx)
    i=0
    for f in "$photos"/p*.jpg; do
        printf '%s\0%s\0' "${kinds[i % 4]}" "$f"
        i=$((i + 1))
    done | xargs -0 -n 2 -P "$jobs" bash -c 'make_mixed "$1" "$2" "'"$mixed"'"' _
    touch "$mixed/.done"
}

# The 50 MP file: a detailed real photograph (a bird on a tree trunk, 20 MP),
# else the JPEG with the most bytes per pixel (flat artwork would flatter every
# decoder), enlarged to 3:2 and cut to size.
make_big() {
    echo "prepare-data: making the 50 MP JPEG"
    local largest
    largest=/usr/share/backgrounds/Kleiber_by_Lukas_Baubkus.jpg
    if [ ! -f "$largest" ]; then
        largest=$(while read -r w h path; do
                      case $path in *.jpg | *.jpeg) echo "$(($(stat -c %s "$path") * 1000 / (w * h))) $path" ;; esac
                  done < "$list" | sort -k1,1nr | head -1 | cut -d' ' -f2-)
    fi
    # libvips streams the enlargement; ImageMagick would need 0.5 GB of pixel
    # cache here and falls back to disk under Debian's default limits.
    vips thumbnail "$largest" "$big/big.jpg.tmp.jpg[Q=92,strip,subsample_mode=on]" 8660 --height 5773 \
        --size both --crop centre
    mv "$big/big.jpg.tmp.jpg" "$big/big.jpg"
}

list=$data/sources.txt
if [ "$only" = big ] && { [ -f /usr/share/backgrounds/Kleiber_by_Lukas_Baubkus.jpg ] || [ -f "$list" ]; }; then
    if [ ! -f "$big/big.jpg" ]; then
        mkdir -p "$big"
        make_big
    fi
    exit 0
fi
if [ ! -f "$photos/.done" ]; then
    rm -rf "$photos" "$mixed"
    mkdir -p "$photos"
    make_photos
fi
if [ ! -f "$mixed/.done" ]; then
    rm -rf "$mixed"
    mkdir -p "$mixed"
    make_mixed_set
fi
if [ ! -f "$big/big.jpg" ]; then
    mkdir -p "$big"
    make_big
fi
