#!/usr/bin/env bash
# Runs a command with an X display, starting Xvfb when there is none (its screen
# FYREL_XVFB_SCREEN, by default 1280x1024x24).
set -euo pipefail
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$@"
fi
exec xvfb-run -a -s "-screen 0 ${FYREL_XVFB_SCREEN:-1280x1024x24} -nolisten tcp" "$@"
