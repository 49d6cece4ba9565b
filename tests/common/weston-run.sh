#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# weston-run.sh [--on-x11] PROGRAM [ARGS...]: runs a program on a weston of its own, headless
# or (--on-x11) as a window on the X display that takes its keyboard from there, with a
# private runtime folder and QT_QPA_PLATFORM=wayland. Exits 77 (skipped) without weston.
set -euo pipefail
backend=(--backend=headless-backend.so)
[ "${1:-}" = --on-x11 ] && shift && backend=(--backend=x11-backend.so --use-pixman --width=800 --height=600)
command -v weston >/dev/null || { echo "weston-run: no weston"; exit 77; }

export XDG_RUNTIME_DIR WAYLAND_DISPLAY=wayland-test QT_QPA_PLATFORM=wayland
XDG_RUNTIME_DIR=$(mktemp -d "${TMPDIR:-/tmp}/weston-run.XXXXXX") # made with mode 0700
weston "${backend[@]}" --socket="$WAYLAND_DISPLAY" --idle-time=0 >"$XDG_RUNTIME_DIR/log" 2>&1 &
weston_pid=$! # its shell and keyboard helpers end with it
trap 'kill $weston_pid; wait $weston_pid || true; rm -rf "$XDG_RUNTIME_DIR"' EXIT
for _ in $(seq 200); do
  [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || ! kill -0 $weston_pid 2>/dev/null && break
  sleep 0.05
done
[ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || { cat "$XDG_RUNTIME_DIR/log"; exit 1; }
if [ "${backend[0]}" = --backend=x11-backend.so ]; then # xdotool's keys go to weston
  xdotool windowfocus --sync "$(xdotool search --sync --class weston | head -n 1)"
fi
"$@"
