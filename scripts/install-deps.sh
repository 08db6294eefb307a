#!/usr/bin/env bash
# Installs the Debian packages that building, running, testing and packaging Fyrel need (and
# with them `make bench`, `make demo`, `make soak` and `make package`). Idempotent: installs only
# what is missing.
#
#   scripts/install-deps.sh               what every make target needs
#   scripts/install-deps.sh --profiling   also the tools for looking deeper, which no make
#                                         target runs: perf, valgrind (callgrind, massif),
#                                         Google Benchmark for the micro-benchmark fyrel_bench,
#                                         and glxinfo
set -euo pipefail

packages=(
    # Building; clang-format keeps every change in the repository's .clang-format style.
    build-essential cmake pkg-config clang-format
    libglfw3-dev libgl-dev libglm-dev
    libassimp-dev libfreeimage-dev libsdl2-mixer-dev libmp3lame-dev
    # Running: Mesa's drivers, llvmpipe among them.
    libgl1-mesa-dri
    # Testing: GoogleTest; Xvfb for a display; xdotool, xwd, xdpyinfo, xprop and ImageMagick
    # for the end-to-end tests, which are Python.
    libgtest-dev python3
    xvfb xauth xdotool x11-apps x11-utils imagemagick
    # Packaging: the manual page from --help; the Debian package's dependencies (dpkg-shlibdeps,
    # which needs file); the checks of the menu entry, AppStream file, manual page and package.
    help2man dpkg-dev file desktop-file-utils appstream man-db lintian
)

for arg in "$@"; do
    case "$arg" in
        --profiling) packages+=(linux-perf valgrind libbenchmark-dev mesa-utils) ;;
        *) echo "usage: $0 [--profiling]" >&2; exit 2 ;;
    esac
done

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
