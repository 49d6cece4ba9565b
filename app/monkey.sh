#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A random soak of the window: clicks and keys anywhere in its windows and dialogs, and the
# virtual mouse plugged, unplugged, put to sleep, answering wrongly or late, for SECONDS:
#   app/monkey.sh [BUILD_DIR] [SECONDS] [RUN]
# RUN numbers the run: the same number gives the same random order.
# With STORM=1 command lines (status, dpi, profile, import, export, apply) run beside it;
# LANGUAGE_ID=1 or 2 runs it in Chinese, and QT_SCALE_FACTOR=2 with SCREEN=2560x1600 at twice
# the size.
# The window runs in a private installation on a private X server. When it ends through its
# own close path (close, OK or Cancel without a tray) it is started again; any other end is
# reported with the last actions and screenshots, kept in OUT (default ./monkey-out).
set -euo pipefail
build=$(realpath "${1:-build}")
seconds=${2:-300}
run=${3:-1}
out=$(realpath -m "${OUT:-monkey-out}")
mkdir -p "$out"
source "$(dirname "$0")/../cli/private-install.sh"
private_install "$build"
cp "$build/virtual-mouse" "$build/OSD" "$dir/"
cp -r "$build/skin" "$build/lang" "$dir/"
printf '[Config]\nLangID=%s\n' "${LANGUAGE_ID:-0}" > "$dir/Configs/LangConfig.ini"
unset QT_QPA_PLATFORM
export QT_FONT_DPI=96 QT_LOGGING_RULES="mousecfg.app.debug=true" XDG_STATE_HOME=$dir/state
export HOME=$dir OUT=$out SECONDS_TO_RUN=$seconds RUN_NUMBER=$run STORM=${STORM:-0}

cat > monkey-run.sh <<'EOF'
set -u
RANDOM=$RUN_NUMBER
runs=0
start() {
  runs=$((runs + 1))
  ./virtual-mouse --cable --receiver --control control -- ./mousecfg > app-$runs.log 2>&1 &
  launcher=$!
  exec 9> control
  for _ in $(seq 1 100); do
    window=$(xdotool search --onlyvisible --name '^TOLV$' 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.2
  done
}
start
if [ "$STORM" = 1 ]; then
  (RANDOM=$((RUN_NUMBER + 1))
   clis=(status "status --json" "dpi 2" "dpi 5" "profile 1" "profile 3" "export e.prof"
         "import e.prof" apply list "export c.conf")
   while [ -e control ]; do
     c=${clis[$((RANDOM % ${#clis[@]}))]}
     timeout 90 ./mousecfg-cli $c > /dev/null 2>> cli.err && rc=0 || rc=$?
     echo "$rc $c" >> cli.rc
     sleep 0.$((RANDOM % 5))
   done) &
  storm=$!
fi
mouse=("unplug cable" "plug cable" "battery 3600 0" "battery 4100 1" "battery 3300 0" sleep wake
       "dpi 1" "dpi 5" "profile 2" "profile 4" "rate 2" "answer wrong-data"
       "answer wrong-header" "answer ok" "delay 300" "delay 0")
keys=(Tab Tab Tab shift+Tab space Return Escape Left Right Up Down Page_Up Page_Down a 1 Home End)
actions=0
ended=
end=$((SECONDS + SECONDS_TO_RUN))
while [ $SECONDS -lt $end ]; do
  if ! kill -0 $launcher 2>/dev/null; then
    wait $launcher && rc=0 || rc=$?
    if [ $rc -eq 0 ] && grep -q "window closed: quitting" app-$runs.log; then
      echo "(closed by its own close path, started again)" >> actions
      exec 9>&-
      start
      continue
    fi
    ended="the program ended with status $rc in start $runs"
    break
  fi
  r=$((RANDOM % 10))
  if [ $r -lt 1 ]; then
    m=${mouse[$((RANDOM % ${#mouse[@]}))]}
    echo "mouse: $m" >> actions
    echo "$m" >&9
  elif [ $r -lt 6 ]; then
    shown=($(xdotool search --onlyvisible --name . 2>/dev/null || true))
    [ ${#shown[@]} -gt 0 ] || { sleep 0.2; continue; }
    eval "$(xdotool getwindowgeometry --shell "${shown[$((RANDOM % ${#shown[@]}))]}" 2>/dev/null)" || continue
    x=$((X + RANDOM % WIDTH)); y=$((Y + RANDOM % HEIGHT))
    echo "click $x $y" >> actions
    xdotool mousemove $x $y click 1
  else
    k=${keys[$((RANDOM % ${#keys[@]}))]}
    echo "key $k" >> actions
    xdotool key "$k"
  fi
  actions=$((actions + 1))
  sleep 0.$((RANDOM % 3))
  import -window root "$OUT/after-$((actions % 3)).png"
done
if [ -z "$ended" ]; then
  answer=$(timeout 30 ./mousecfg-cli status --json 2>&1 | head -c 300) || true
  echo "after $actions actions and $runs starts the window still answers: $answer"
  kill $launcher; wait $launcher || true
else
  echo "$ended after $actions actions; the last ones:"
  tail -5 actions
fi
if [ -n "${storm:-}" ]; then
  rm -f control; wait $storm || true
  echo "command lines by exit status: $(cut -d' ' -f1 cli.rc | sort | uniq -c | tr -s ' \n' ' ')"
fi
grep -h -i -E "fatal|assert|runtime error|Sanitizer" app-*.log | head || true
cp actions app-*.log "$OUT/"
[ -z "$ended" ]
EOF

xvfb-run -a -s "-screen 0 ${SCREEN:-1280x800}x24 -noreset" bash monkey-run.sh
