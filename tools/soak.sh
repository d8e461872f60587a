#!/bin/sh
# Runs the soak: fifty AI clients through real dovrin-mcp processes near their rate limits while the user
# types into five open stickies, for the given number of seconds (default ten minutes), then prints the
# calls served, the latency, and the app's resident memory and threads over time. The test suite runs the
# same program for one minute.
#
#   tools/soak.sh [seconds] [build folder]
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
build=${2:-"$root/build"}

cmake --build "$build" --target e2e_SoakTest dovrin dovrin-mcp
# QtTest ends a test function after five minutes unless told otherwise.
DOVRIN_BUILD_DIR="$build" DOVRIN_SOAK_SECONDS="$seconds" QT_QPA_PLATFORM=offscreen \
    QTEST_FUNCTION_TIMEOUT=$(((seconds + 300) * 1000)) \
    "$build/tests/e2e/e2e_SoakTest" -maxwarnings 0 2>&1 |
    grep -E '^(PASS|FAIL|QINFO  : SoakTest::.*(AI clients|resident|threads)|Totals)' |
    sed 's/^QINFO  : SoakTest::[^ ]* //'
