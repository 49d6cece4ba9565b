#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A soak run of the command line beside the window, with the virtual mouse:
#   cli/soak.sh [BUILD_DIR] [SECONDS] [POLL_SECONDS] [APPLY_EVERY]
# The window runs (offscreen) in a private installation; a status-bar loop polls
# `mousecfg-cli status --json` every POLL_SECONDS; every fifth poll the stage is changed on
# the mouse itself, and the polls from 1.5 s later on must show it (a report the window lost
# would show the old stage); with APPLY_EVERY > 0, every APPLY_EVERY-th poll also sends
# everything through the window (`apply --all`). At the end: polls, failures, stages not seen,
# the time to answer, and the sends with the ones that failed (by apply's exit status).
set -euo pipefail
build=$(realpath "${1:-build}")
seconds=${2:-600}
poll=${3:-2}
apply_every=${4:-0}
source "$(dirname "$0")/private-install.sh"
private_install "$build"

cat > loop.sh <<EOF
./mousecfg > app.log 2>&1 &
window=\$!
until [ -S "$window_socket" ]; do sleep 0.1; done
sleep 2
now() { date +%s%N; }
end=\$(( \$(now) + $seconds * 1000000000 ))
n=0; failed=0; unseen=0; expected=; changed=0; sends=0; unsent=0
while [ \$(now) -lt \$end ]; do
  n=\$((n + 1))
  if [ \$((n % 5)) -eq 0 ]; then
    stage=\$((RANDOM % 6)); echo "dpi \$stage" > control; expected=\$((stage + 1)); changed=\$(now)
  fi
  if [ $apply_every -gt 0 ] && [ \$((n % $apply_every)) -eq 0 ]; then
    sends=\$((sends + 1))
    ./mousecfg-cli apply --all || { echo "apply failed: \$?" >> failures; unsent=\$((unsent + 1)); }
  fi
  t=\$(now)
  if out=\$(./mousecfg-cli status --json 2>>failures); then rc=0; else rc=\$?; fi
  echo \$(( (\$(now) - t) / 1000000 )) >> times
  [ \$rc -eq 0 ] || { failed=\$((failed + 1)); echo "poll \$n: exit \$rc" >> failures; }
  if [ -n "\$expected" ] && [ \$(( (\$(now) - changed) / 1000000 )) -gt 1500 ]; then
    case "\$out" in *"\"dpiStage\":\$expected,"*) ;; *) unseen=\$((unseen + 1)); echo "poll \$n: stage \$expected not seen: \$out" >> failures;; esac
  fi
  sleep $poll
done
kill \$window; wait \$window || true
echo "polls \$n, failed \$failed, stages not seen \$unseen"
echo "window sends: \$sends, failed: \$unsent"
EOF

"$build/virtual-mouse" --control control -- /bin/sh loop.sh 2>/dev/null
sort -n times | awk '{a[NR]=$1} END {printf "status --json: median %d ms, 95%% %d ms, max %d ms\n", a[int(NR/2)+1], a[int(NR*0.95)], a[NR]}'
[ -s failures ] && head -20 failures || true
