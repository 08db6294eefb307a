#!/usr/bin/env bash
# Lets the bot play one whole game under Xvfb (or on the current display) and keeps pictures of
# it in <build>/demo: start, a jump, a flight to another planet, each collected orb, the dimmed
# end, and an animated GIF of the run.
#   scripts/demo.sh <build dir>    (FYREL_DEMO_SEED picks the bot's random seed, default 1)
set -euo pipefail
build_dir=$(cd "$1" && pwd)
run_dir="$build_dir/run"
out_dir="$build_dir/demo"
here=$(cd "$(dirname "$0")" && pwd)

rm -rf "$out_dir"
mkdir -p "$out_dir"
# The player's settings and best time of this run only: the real home folder stays untouched.
player_dir=$(mktemp -d "${TMPDIR:-/tmp}/fyrel-demo-player-XXXXXX")
trap 'rm -rf "$player_dir"' EXIT
echo "fyrel demo: the bot plays a whole game (about two minutes here)..."
# Sound is not wanted in a headless run: the dummy driver keeps the audio device quiet.
(cd "$run_dir" && FYREL_CAPTURE_DIR="$out_dir" FYREL_CAPTURE_EVERY=8 \
    FYREL_AUTOPLAY="${FYREL_DEMO_SEED:-1}" FYREL_MAX_FRAMES=4000 SDL_AUDIODRIVER=dummy \
    XDG_CONFIG_HOME="$player_dir/config" XDG_STATE_HOME="$player_dir/state" \
    "$here/with-display.sh" ./fyrel)
if [ ! -f "$out_dir/end.png" ]; then
    echo "fyrel demo: the run ended before the bot won; pictures so far are in $out_dir" >&2
fi

frames=("$out_dir"/frames/*.png)
if [ -f "${frames[0]}" ]; then
    convert -delay 16 -loop 0 "${frames[@]}" -resize 400x300 +dither -colors 96 \
        -layers Optimize "$out_dir/demo.gif"
    rm -rf "$out_dir/frames"
fi

echo "fyrel demo pictures:"
for name in start jump transfer orb-1 orb-2 orb-3 orb-4 orb-5 orb-6 orb-7 orb-8 end; do
    [ -f "$out_dir/$name.png" ] && echo "  $out_dir/$name.png"
done
[ -f "$out_dir/demo.gif" ] && echo "  $out_dir/demo.gif"
exit 0
