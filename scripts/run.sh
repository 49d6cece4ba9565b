#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up the machine, builds, and runs the program with the virtual mouse plugged in.
# With a display the program opens there. Without one it runs on a private X server,
# saves a screenshot (shots/mousecfg.png, or the path in SHOT) and ends.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build

if [ -n "${DISPLAY:-}" ]; then
  exec build/virtual-mouse -- build/mousecfg "$@"
fi

shot=${SHOT:-$PWD/shots/mousecfg.png}
mkdir -p "$(dirname "$shot")"
# Xvfb reports no real screen size; 96 DPI makes one window pixel one design unit.
export QT_FONT_DPI=${QT_FONT_DPI:-96}
# A machine without a login session (a container, CI) has no runtime folder: one of the run's
# own, made for the owner only, holds the program's lock and sockets.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  export XDG_RUNTIME_DIR
  trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi
xvfb-run -a -s "-screen 0 1280x800x24 -noreset" bash -c '
  build/virtual-mouse -- build/mousecfg &
  pid=$!
  for i in $(seq 1 75); do
    xdotool search --onlyvisible --name "^TOLV$" >/dev/null 2>&1 && break
    sleep 0.2
  done
  sleep 2
  import -window root "$1"
  kill "$pid"
  wait "$pid" 2>/dev/null || true' _ "$shot"
echo "The program ran on a private X server; screenshot: $shot"
