#!/usr/bin/env bash
# Start-up to the first visible window, and peak memory, of mousecfg (with the virtual
# mouse) against a bare Qt widgets window, both measured the same way on a private X
# server: bench/startup.sh [BUILD_DIR] [RUNS]. Prints medians.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-7}
export QT_FONT_DPI=96

measure() { # title, command...
  local title=$1; shift
  local times=() peaks=()
  for _ in $(seq "$runs"); do
    rm -f "${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -un)}"/*Mutex1.lock 2>/dev/null || true
    local t0 t1 pid
    t0=$(date +%s%N)
    "$@" >/dev/null 2>&1 &
    until xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; do sleep 0.005; done
    t1=$(date +%s%N)
    sleep 1
    pid=$(pgrep -n -x "$(basename "$title" | tr A-Z a-z | sed 's/tolv/mousecfg/;s/bare/bare_window/')" || true)
    peaks+=("$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")")
    times+=("$(( (t1 - t0) / 1000000 ))")
    kill %1 2>/dev/null || true
    wait 2>/dev/null || true
  done
  local tm pm
  tm=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
  pm=$(printf '%s\n' "${peaks[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
  echo "$title: first visible after ${tm} ms, peak memory $(( pm / 1024 )) MB (medians of $runs)"
}

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24 -noreset" "$0" "$build" "$runs"
fi
# Both run under the virtual-mouse launcher, which costs the same for each.
echo "bare window, default GL integration:"
measure BARE "$build/virtual-mouse" -- "$build/bench/bare_window"
echo "bare window without GLX (as mousecfg sets it for itself):"
QT_XCB_GL_INTEGRATION=none measure BARE "$build/virtual-mouse" -- "$build/bench/bare_window"
echo "the launcher alone (start-up of an empty command):"
t0=$(date +%s%N); "$build/virtual-mouse" -- true; echo "  $(( ($(date +%s%N) - t0) / 1000000 )) ms"
echo "mousecfg:"
measure TOLV "$build/virtual-mouse" -- "$build/mousecfg"
