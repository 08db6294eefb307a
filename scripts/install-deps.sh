#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Fyrel needs.
# Idempotent: installs only what is missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config clang-format python3
    libglfw3-dev libgl-dev libgl1-mesa-dri libglm-dev
    libassimp-dev libfreeimage-dev libsdl2-mixer-dev libmp3lame-dev libmpg123-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xdotool x11-apps x11-utils imagemagick mesa-utils
    # Profiling what `make bench` reports: perf, and valgrind's callgrind and massif.
    linux-perf valgrind
)

missing=()
for pkg in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$pkg")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
