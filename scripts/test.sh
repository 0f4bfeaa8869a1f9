#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole suite headless.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
build="${ZV_BUILD_DIR:-build}"
unset DISPLAY WAYLAND_DISPLAY
cd "$build"
ctest --output-on-failure -j "$(nproc)"
