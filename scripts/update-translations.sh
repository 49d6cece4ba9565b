#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Collects the program's texts into the translation catalogues (run after adding or changing
# a text; the build merges each language's catalogues into lang/<lang>.qm):
#   data/lang/<lang>.ts           the shell and the skinned widgets (app/, widgets/)
#   data/lang/<folder>_<lang>.ts  one page folder (macro/, buttons/, performance/, lighting/)
#                                 or the command line (cli/)
# scripts/update-translations.sh [FOLDER...] updates only the named page folders' catalogues.
set -euo pipefail
cd "$(dirname "$0")/.."
LUPDATE=$(command -v lupdate || echo /usr/lib/qt5/bin/lupdate)
pages=(macro buttons performance lighting cli)
[ $# -gt 0 ] && pages=("$@")
for lang in en sc tc; do
  if [ $# -eq 0 ]; then
    "$LUPDATE" -silent -no-obsolete -locations none app widgets -ts "data/lang/$lang.ts"
  fi
  for d in "${pages[@]}"; do
    [ -d "$d" ] || continue
    target=zh_CN
    [ "$lang" = tc ] && target=zh_TW
    [ "$lang" = en ] && target=en_US
    "$LUPDATE" -silent -no-obsolete -locations none -target-language "$target" "$d" \
      -ts "data/lang/${d}_$lang.ts"
  done
done
