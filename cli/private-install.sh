# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts beside it: a private installation of the window and the command line
# in a temporary folder, with a runtime folder of its own and the offscreen platform, so that
# a run never meets the user's own window, lock or settings. Afterwards $dir is the
# installation (removed at exit) and the shell's working folder.
#   private_install BUILD_DIR
private_install() {
  local build source_dir
  build=$(realpath "$1")
  source_dir=$(realpath "$(dirname "${BASH_SOURCE[0]}")/..")
  dir=$(mktemp -d)
  trap 'rm -rf "$dir"' EXIT
  # Copies, not links: a rebuild while the run goes on does not change what it runs.
  cp "$build/mousecfg" "$build/mousecfg-cli" "$build/DefaultProfile.bin" "$dir/"
  mkdir -p "$dir/Configs" "$dir/rt"
  chmod 700 "$dir/rt"
  cp "$source_dir/data/Configs/Config.ini" "$dir/Configs/"
  mkfifo "$dir/control"
  export XDG_RUNTIME_DIR=$dir/rt QT_QPA_PLATFORM=offscreen
  unset DISPLAY
  cd "$dir"
}

# The window's socket, there once the window takes commands.
window_socket="rt/TOLV Wireless Gaming Mouse Mutex1.sock"
