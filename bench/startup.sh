#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up to the first visible window, peak memory and private memory (Private_Clean +
# Private_Dirty, a second after showing) of mousecfg against a bare Qt
# widgets window of the same size, both measured the same way in one run on a private X
# server: bench/startup.sh [BUILD_DIR] [RUNS]. Prints medians and mousecfg's ratios to the
# bare window, started directly (no mouse, no GLX) and under the virtual mouse.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-7}
export QT_FONT_DPI=96
# mousecfg sets this for itself; the bare window gets the same.
export QT_XCB_GL_INTEGRATION=none

median() { sort -n | sed -n "$(( (runs + 1) / 2 ))p"; }

# Sets ms and kb to the medians for a window titled $1 of the command that follows.
measure() {
  local title=$1; shift
  local times=() peaks=() privs=()
  for _ in $(seq "$runs"); do
    rm -f "${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -un)}"/*Mutex1.lock 2>/dev/null || true
    local t0 t1 pid
    t0=$(date +%s%N)
    "$@" >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; do sleep 0.005; done
    t1=$(date +%s%N)
    sleep 1
    # The launcher runs the program as its child.
    local child
    child=$(pgrep -n -P "$pid" || true)
    peaks+=("$(awk '/VmHWM/ {print $2}' "/proc/${child:-$pid}/status")")
    privs+=("$(awk '/^Private_(Clean|Dirty)/ {s += $2} END {print s}' \
      "/proc/${child:-$pid}/smaps_rollup")")
    times+=("$(( (t1 - t0) / 1000000 ))")
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  ms=$(printf '%s\n' "${times[@]}" | median)
  kb=$(printf '%s\n' "${peaks[@]}" | median)
  pkb=$(printf '%s\n' "${privs[@]}" | median)
}

mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

report() { # label, bare ms, bare kB, bare private kB
  echo "$1: first visible after $ms ms, peak memory $(mib "$kb") MiB," \
    "private $(mib "$pkb") MiB (medians of $runs);" \
    "$(awk -v a="$ms" -v b="$2" -v c="$kb" -v d="$3" -v e="$pkb" -v f="$4" \
      'BEGIN { printf "%.2fx the time, %.2fx the peak and %.2fx the private memory of the bare window", a / b, c / d, e / f }')"
}

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24 -noreset" "$0" "$build" "$runs"
fi
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
measure BARE "$build/bench/bare_window"
bare_ms=$ms bare_kb=$kb bare_pkb=$pkb
echo "bare window: first visible after $ms ms, peak memory $(mib "$kb") MiB," \
  "private $(mib "$pkb") MiB (medians of $runs)"
# With no mouse the window shows with the "Dongle Disconnect!" box, 200 ms after the window
# is made: the start-up check waits that long for a mouse to arrive.
measure TOLV "$build/mousecfg"
report "mousecfg, no mouse" "$bare_ms" "$bare_kb" "$bare_pkb"
ms=$((ms - 200))
echo "  less the 200 ms wait for a mouse: $ms ms;" \
  "$(awk -v a="$ms" -v b="$bare_ms" 'BEGIN { printf "%.2fx the time of the bare window", a / b }')"
# Under the virtual-mouse launcher, which adds its own start to both.
measure BARE "$build/virtual-mouse" -- "$build/bench/bare_window"
vbare_ms=$ms vbare_kb=$kb vbare_pkb=$pkb
echo "bare window under the launcher: first visible after $ms ms, peak memory $(mib "$kb") MiB," \
  "private $(mib "$pkb") MiB"
measure TOLV "$build/virtual-mouse" -- "$build/mousecfg"
report "mousecfg with the virtual mouse" "$vbare_ms" "$vbare_kb" "$vbare_pkb"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
