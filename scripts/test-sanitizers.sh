#!/usr/bin/env bash
# The whole native test suite again, built with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/, then once more in the plain build
# (-DMARLIVA_PLAIN=ON, every fast path off) in build-plain/, against the same
# golden files: the simple code stays the reference the fast paths match. Fails on
# any sanitizer report, also one from a program whose exit status a test does
# not look at.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh core
for build in build-asan build-plain; do
  plain=OFF
  [[ $build == build-plain ]] && plain=ON
  cmake -S . -B "$build" -DMARLIVA_SANITIZE=address,undefined -DMARLIVA_QT=OFF \
    -DMARLIVA_PLAIN=$plain -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j"$(nproc)"
done

# Every report goes to a file of its own as well as ending the program with a
# status no test expects; any file left there fails the stage.
logs="$PWD/build-asan/sanitizer-reports"
rm -rf "$logs"
mkdir -p "$logs"
common="halt_on_error=1:exitcode=86:log_path=$logs/report:print_stacktrace=1"
export ASAN_OPTIONS="$common:abort_on_error=0:detect_leaks=1:strict_string_checks=1:check_initialization_order=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="$common"
export LSAN_OPTIONS="exitcode=86:log_path=$logs/report"

status=0
for build in build-asan build-plain; do
  echo "test-sanitizers: $build"
  ctest --test-dir "$build" --output-on-failure -j"$(nproc)" || status=$?
done
if compgen -G "$logs/report*" >/dev/null; then
  echo "test-sanitizers: sanitizer reports:" >&2
  for report in "$logs"/report*; do
    echo "--- $report" >&2
    cat "$report" >&2
  done
  exit 1
fi
exit "$status"
