#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Each command's time to answer, with the virtual mouse, first with the command line alone
# (it opens the mouse itself) and then beside the running window (which carries it out):
#   cli/times.sh [BUILD_DIR] [RUNS]
# Prints per command and way the median, lowest and highest wall-clock time of RUNS runs in
# milliseconds, with the exit statuses seen. The time includes the program's own start.
set -euo pipefail
build=$(realpath "${1:-build}")
runs=${2:-5}
source "$(dirname "$0")/private-install.sh"
private_install "$build"

cat > measure.sh <<EOF
now() { date +%s%N; }
# way label command...: times one command RUNS times; {i} in it becomes the run's number.
measure() {
  way=\$1; label=\$2; shift 2
  : > t
  codes=; template=\$*
  for i in \$(seq $runs); do
    t0=\$(now); rc=0; ./mousecfg-cli \$(echo "\$template" | sed "s/{i}/\$i/g") > /dev/null 2>> errors || rc=\$?
    echo \$(( (\$(now) - t0) / 1000000 )) >> t
    case " \$codes " in *" \$rc "*) ;; *) codes="\$codes \$rc";; esac
  done
  sort -n t | awk -v way="\$way" -v label="\$label" -v codes="\$codes" \
    '{a[NR]=\$1} END {printf "%-7s %-22s %6d %6d %6d   exit%s\n", way, label, a[int((NR+1)/2)], a[1], a[NR], codes}'
}
all() {
  measure \$1 "list" list
  measure \$1 "status" status
  measure \$1 "status --json" status --json
  measure \$1 "profile N" profile 2
  measure \$1 "dpi N" dpi 3
  measure \$1 "apply" apply
  measure \$1 "apply --all" apply --all
  measure \$1 "export FILE.prof" export t\$1{i}.prof
  measure \$1 "export FILE.conf" export t\$1{i}.conf
  measure \$1 "import FILE.prof" import t\$1{i}.prof
  measure \$1 "import FILE.conf" import t\$1{i}.conf
  measure \$1 "apply FILE.conf" apply t\$1{i}.conf
}
printf "%-7s %-22s %6s %6s %6s   (ms)\n" way command median low high
all alone
./mousecfg > app.log 2>&1 &
window=\$!
until [ -S "$window_socket" ]; do sleep 0.1; done
sleep 2
all window
kill \$window; wait \$window || true
EOF

"$build/virtual-mouse" --control control -- /bin/sh measure.sh 2> /dev/null
[ -s errors ] && { echo "messages:"; sort errors | uniq -c; } || true
