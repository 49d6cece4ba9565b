#!/usr/bin/env bash
# Collects the program's texts into the translation catalogues data/lang/*.ts (run after
# adding or changing a text; the build turns the catalogues into lang/*.qm).
set -euo pipefail
cd "$(dirname "$0")/.."
LUPDATE=$(command -v lupdate || echo /usr/lib/qt5/bin/lupdate)
dirs=()
for d in app widgets macro buttons performance lighting; do
  [ -d "$d" ] && dirs+=("$d")
done
for lang in en sc tc; do
  "$LUPDATE" -no-obsolete -locations none "${dirs[@]}" -ts "data/lang/$lang.ts"
done
