#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a program on a Wayland compositor of its own: weston-run.sh [--on-x11] PROGRAM [ARGS...]
# The compositor's socket lives in a private runtime folder (mode 0700); the program gets
# XDG_RUNTIME_DIR, WAYLAND_DISPLAY and QT_QPA_PLATFORM=wayland. Headless by default; with
# --on-x11 weston runs as a window on the X display in DISPLAY and takes its keyboard from
# there (the window gets the X focus here, so xdotool types into the compositor). Ends with
# the program's status, or 77 (skipped) when weston is not installed.
set -euo pipefail

backend=(--backend=headless-backend.so)
if [ "${1:-}" = --on-x11 ]; then
  backend=(--backend=x11-backend.so --use-pixman --width=800 --height=600)
  shift
fi
if ! command -v weston >/dev/null; then
  echo "weston-run: weston is not installed"
  exit 77
fi

runtime=$(mktemp -d "${TMPDIR:-/tmp}/weston-run.XXXXXX")
chmod 700 "$runtime"
socket=wayland-test
weston_pid=
finish() {
  # Its shell and keyboard helpers end with it.
  if [ -n "$weston_pid" ]; then
    kill "$weston_pid" 2>/dev/null || true
    wait "$weston_pid" 2>/dev/null || true
  fi
  rm -rf "$runtime"
}
trap finish EXIT

XDG_RUNTIME_DIR=$runtime weston "${backend[@]}" --socket="$socket" --idle-time=0 \
  >"$runtime/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 200); do
  [ -S "$runtime/$socket" ] && break
  kill -0 "$weston_pid" 2>/dev/null || break
  sleep 0.05
done
if [ ! -S "$runtime/$socket" ]; then
  echo "weston-run: weston did not start"
  cat "$runtime/weston.log"
  exit 1
fi
if [ "${backend[0]}" = --backend=x11-backend.so ]; then
  xdotool windowfocus --sync "$(xdotool search --sync --class weston | head -n 1)"
fi

status=0
XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland "$@" || status=$?
exit "$status"
