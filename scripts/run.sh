#!/usr/bin/env bash
# Sets up the machine, builds, and runs the program from the build tree.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
exec build/mousecfg "$@"
