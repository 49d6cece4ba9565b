#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The longest stalls of the window's GUI thread against the virtual mouse:
# bench/stalls.sh [BUILD_DIR] [ROUNDS]. Offscreen by default; with XVFB=1 the window (and the
# OSD it starts) run on a private X server instead.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
rounds=${2:-3}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
run=("$build/virtual-mouse" --control "$dir/control" -- "$build/bench/bench_stalls"
  "$dir/control" "$rounds")
if [ "${XVFB:-0}" = 1 ]; then
  # 96 DPI makes one window pixel one design unit, as scripts/run.sh does.
  QT_QPA_PLATFORM=xcb QT_FONT_DPI=96 \
    xvfb-run -a -s "-screen 0 1280x800x24 -noreset" "${run[@]}"
else
  "${run[@]}"
fi
