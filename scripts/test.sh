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
  # Every report goes to a file of its own as well: a helper or a program a
  # test leaves in the background reports there even when no test reads its
  # exit code. Set for the build too: it runs the test programs to list
  # their cases. Every program a test starts inherits them.
  reports="$PWD/$ZV_BUILD_DIR/sanitizer-reports"
  rm -rf "$reports"
  mkdir -p "$reports"
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1:log_path=$reports/asan"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:log_path=$reports/ubsan"
  export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
fi
bash scripts/build.sh
build="${ZV_BUILD_DIR:-build}"
unset DISPLAY WAYLAND_DISPLAY
cd "$build"
status=0
ctest --output-on-failure -j "$(nproc)" || status=$?
if [ "$sanitize" = 1 ] && [ -n "$(ls -A "$reports")" ]; then
  echo "Sanitizer reports ($(ls "$reports" | wc -l)):"
  cat "$reports"/*
  status=1
fi
exit "$status"
