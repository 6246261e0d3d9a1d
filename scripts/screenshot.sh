#!/usr/bin/env bash
# Takes docs/screenshots/main-window.png and viewer.png: Dovi under Xvfb on a folder of
# sample photos (made from the wallpapers the system ships), one selected and
# two held; then thumbnails.png (the thumbnail viewer over every photo) and
# slideshow.png (the first slide). Usage: scripts/screenshot.sh [build-folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
display=${SCREENSHOT_DISPLAY:-:77}
work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
    [ -n "${photos:-}" ] && rm -rf "$photos"
}
trap cleanup EXIT

# The photos sit in the user's own Pictures folder, so the tree shows the home
# folder unfolded down to them; the folder is removed again afterwards.
photos=${SCREENSHOT_PHOTOS:-$HOME/Pictures/Dovi Samples}
[ -e "$photos" ] && { echo "screenshot: $photos exists already; set SCREENSHOT_PHOTOS" >&2; exit 1; }
mkdir -p "$photos" "$work/config/Dovi"
mapfile -t sources < <(find /usr/share/backgrounds /usr/share/images/desktop-base \
    /usr/share/desktop-base /usr/share/wallpapers -type f \
    \( -iname '*.jpg' -o -iname '*.png' \) 2>/dev/null | sort | head -n 8)
[ ${#sources[@]} -gt 0 ] || { echo "screenshot: no wallpapers found to use as photos" >&2; exit 1; }
formats=(jpg jpg bmp jpg tga pcx jpg jpg)
widths=(1600 1024 800 1280 640 640 1024 1920)
for i in "${!sources[@]}"; do
    f=${formats[$i]}
    out="$photos/landscape-$((i + 1)).$f"
    case "$f" in
        bmp) convert "${sources[$i]}" -resize "${widths[$i]}x>" -flatten BMP3:"$out" ;;
        *) convert "${sources[$i]}" -resize "${widths[$i]}x>" -flatten -quality 88 "$out" ;;
    esac
done
printf '[System]\nstarted=1\n\n[File System]\nstartup=%s\nfilter=1\n' "$photos" \
    > "$work/config/Dovi/Dovi.ini"

# Waits up to ten seconds for a window whose title holds $1 and moves it to the
# corner at the screen's size; $2 says what did not appear.
place_window() {
    local id=""
    for _ in $(seq 1 50); do
        id=$(xdotool search --name "$1" 2>/dev/null | head -n 1) && [ -n "$id" ] && break
        sleep 0.2
    done
    [ -n "$id" ] || { echo "screenshot: $2" >&2; exit 1; }
    xdotool windowmove "$id" 0 0 windowsize "$id" 1280 800
    sleep 1.5
}

Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
sleep 2
XDG_CONFIG_HOME="$work/config" "$build/dovi" >/dev/null 2>&1 &
pids=($! "${pids[@]}")
place_window "Dovi v" "the main window did not appear"
# The file list's first row, found from the window's layout at this size.
row() { xdotool mousemove 470 $((79 + 14 * $1)) click "$2"; sleep 0.6; }
row 0 1; row 0 3    # select the first photo and hold it
row 6 1; row 6 3    # and the seventh
row 4 1             # preview the fifth
sleep 3
mkdir -p "$root/docs/screenshots"
import -window root "$root/docs/screenshots/main-window.png"
echo "wrote docs/screenshots/main-window.png"

# The viewer on the fifth photo, with a selection dragged over it.
xdotool mousemove 470 $((79 + 14 * 4)) click --repeat 2 --delay 80 1
place_window "landscape-5" "the viewer did not appear"
xdotool mousemove 520 300 mousedown 1 mousemove 600 360 mousemove 700 420 sleep 0.3 mouseup 1
sleep 1
import -window root "$root/docs/screenshots/viewer.png"
echo "wrote docs/screenshots/viewer.png"
# A fresh start with nothing held or selected: the View menu's commands act on
# every listed photo. The menu opens on its first entry, the quick links;
# the slideshow and the thumbnails follow it.
restart() {
    kill "${pids[0]}" 2>/dev/null || true
    wait "${pids[0]}" 2>/dev/null || true
    XDG_CONFIG_HOME="$work/config" "$build/dovi" >/dev/null 2>&1 &
    pids[0]=$!
    place_window "Dovi v" "the main window did not come back"
    # Without a window manager a click gives the keyboard to the window: one
    # on the preview, which a single click leaves alone.
    xdotool mousemove 1000 300 click 1
    sleep 0.5
}
restart
xdotool key alt+v Down Down Return
sleep 4
grid=$(xdotool search --name "Thumbnail Viewer" 2>/dev/null | head -n 1) || true
[ -n "$grid" ] && xdotool windowmove "$grid" 340 120
sleep 1
import -window root "$root/docs/screenshots/thumbnails.png"
echo "wrote docs/screenshots/thumbnails.png"
restart
xdotool key alt+v Down Return
sleep 3
import -window root "$root/docs/screenshots/slideshow.png"
echo "wrote docs/screenshots/slideshow.png"
