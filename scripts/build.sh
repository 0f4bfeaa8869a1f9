#!/usr/bin/env bash
# Configures and builds into build/ (or $ZV_BUILD_DIR); $ZV_CMAKE_ARGS are
# added to the configuration (cmake -D options). With no argument it builds
# every target; arguments name the targets to build instead
# (bash scripts/build.sh zv_programs: the six programs only).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${ZV_BUILD_DIR:-build}"
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
read -r -a extra <<< "${ZV_CMAKE_ARGS:-}"
if [ ! -f "$build/CMakeCache.txt" ] || [ ${#extra[@]} -gt 0 ]; then
  cmake -S . -B "$build" "${generator[@]}" "${extra[@]}" >/dev/null
fi
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" -j "$(nproc)" "${targets[@]}"
