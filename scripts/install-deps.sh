#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages Dovi needs that are not there yet.
# Usage: install-deps.sh [build|bench|fuzz|screenshot]...  (build is always included)
set -euo pipefail

packages=(build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev libjpeg-dev
          libgtest-dev adwaita-icon-theme)
for extra in "$@"; do
    case "$extra" in
        build) ;;
        # The tools compared, GNU time for peak memory, and wallpaper packages
        # whose photos make the data set.
        bench) packages+=(libvips-tools imagemagick graphicsmagick time mate-backgrounds
                          plasma-workspace-wallpapers ukui-wallpapers sway-backgrounds
                          lomiri-wallpapers lomiri-wallpapers-16.04 lomiri-wallpapers-20.04) ;;
        fuzz) packages+=(clang libclang-rt-dev) ;;
        screenshot) packages+=(xvfb xauth x11-apps imagemagick xdotool desktop-base) ;;
        *) echo "install-deps: unknown group '$extra'" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    # A virtual name (libjpeg-dev on some releases) counts as present when it resolves.
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "install-deps: need root or sudo to install ${missing[*]}" >&2; exit 1; }
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
