#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole suite headless.
#   bash scripts/test.sh             the build in build/ (or $ZV_BUILD_DIR)
#   bash scripts/test.sh --sanitize  the whole suite built and run under
#                                    AddressSanitizer and UndefinedBehavior-
#                                    Sanitizer, in build-sanitize/ (or
#                                    $ZV_SANITIZE_BUILD_DIR)
set -euo pipefail
cd "$(dirname "$0")/.."
sanitize=0
case "${1:-}" in
  "") ;;
  --sanitize) sanitize=1 ;;
  *) echo "usage: $0 [--sanitize]" >&2; exit 2 ;;
esac
bash scripts/install-deps.sh
if [ "$sanitize" = 1 ]; then
  export ZV_BUILD_DIR="${ZV_SANITIZE_BUILD_DIR:-build-sanitize}"
  export ZV_CMAKE_ARGS="-DZV_SANITIZE=ON"
  # Set for the build too: it runs the test programs to list their cases.
  # Every program a test starts inherits them.
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
fi
bash scripts/build.sh
build="${ZV_BUILD_DIR:-build}"
unset DISPLAY WAYLAND_DISPLAY
cd "$build"
ctest --output-on-failure -j "$(nproc)"
