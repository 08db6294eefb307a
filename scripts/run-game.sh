#!/usr/bin/env bash
# Starts the game from its runnable folder.
set -euo pipefail
run_dir="$1"
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    echo "fyrel: no display found (DISPLAY is unset or unreachable); run it from a desktop session, under Xvfb with: xvfb-run -a make run, or watch the bot play headless with: make demo" >&2
    exit 1
fi
cd "$run_dir"
exec ./fyrel
