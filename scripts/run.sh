#!/usr/bin/env bash
# The main job: installs what is missing, builds, makes a demo installation
# when none exists, runs zvsetup once, and starts the stand-in host window
# "Zarvomat", from which zvform starts.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh zv_programs  # the tests and benchmarks are the test command's
bin="$(pwd)/${ZV_BUILD_DIR:-build}/bin"

if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="/tmp/runtime-$(id -u)"
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
fi
export ZARVO_WINDIR="${ZARVO_WINDIR:-$HOME/.config/zarvo}"
home="${ZARVO_HOME:-$HOME/zarvo}"
mkdir -p "$ZARVO_WINDIR"
if [ ! -f "$ZARVO_WINDIR/ZVBAS.INI" ]; then
  echo "Making a demo installation in $home"
  "$bin/zvbase" --demo "$home"
  "$bin/zvsetup"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "There is no display. Run it under a virtual X server:"
  echo "  xvfb-run -a -s '-screen 0 1280x1024x24' bash scripts/run.sh"
  exit 1
fi
exec "$bin/zvhost"
