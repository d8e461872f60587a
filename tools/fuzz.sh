#!/usr/bin/env bash
# Runs every libFuzzer target in fuzz/ for the given seconds (default 600) on a copy of its seed corpus, in a
# clang build folder (default build-fuzz/) that it configures and builds when needed. Prints, per target, the
# executions, the coverage (cov/ft) and whether it found anything; what it found is kept under
# <build folder>/fuzz-findings/<target>/. Exits 1 when a target found something, 77 without clang or libFuzzer.
set -euo pipefail

seconds=${1:-600}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${2:-$root/build-fuzz}
targets=(fuzz_mcp_server fuzz_bridge_messages fuzz_tool_arguments fuzz_agent_ops fuzz_asset_path)

# Both must be there: clang++ and its libFuzzer runtime (libclang-rt-*-dev on Debian).
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
if ! command -v clang++ >/dev/null || ! command -v clang >/dev/null; then
    echo "fuzz: skipped: clang/clang++ not found (scripts/setup installs them)"
    exit 77
fi
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' >"$probe/probe.cpp"
if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" 2>"$probe/error"; then
    echo "fuzz: skipped: clang++ cannot link libFuzzer: $(head -n 1 "$probe/error")"
    exit 77
fi

if ! grep -qs '^DOVRIN_FUZZ:BOOL=ON' "$build/CMakeCache.txt"; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDOVRIN_FUZZ=ON \
        "-DDOVRIN_AREAS=core;bridge;mcp" >"$build.configure.log" 2>&1 ||
        { cat "$build.configure.log"; exit 1; }
fi
cmake --build "$build" --target dovrin_fuzz_targets

run_target() {
    local target=$1 work=$build/fuzz-runs/$1 findings=$build/fuzz-findings/$1
    rm -rf "$work"
    mkdir -p "$work/corpus" "$findings"
    cp "$root/fuzz/corpus/$target/"* "$work/corpus/"
    local dictionary=$root/fuzz/$target.dict
    [ -f "$dictionary" ] || dictionary=$root/fuzz/json.dict
    # A second per input is already far beyond any real message; longer is a hang worth reporting.
    local status=0
    (cd "$work" && TMPDIR=$work "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
        -max_len=65536 -print_final_stats=1 -dict="$dictionary" -artifact_prefix="$findings/" corpus \
        >"$work/log" 2>&1) || status=$?
    echo "$status" >"$work/status"
}

# One target per core at a time.
jobs=$(nproc)
for target in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
    run_target "$target" &
done
wait

failed=0
printf '%-22s %12s %8s %8s  %s\n' target executions cov ft found
for target in "${targets[@]}"; do
    work=$build/fuzz-runs/$target
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -n 1)
    coverage=$(grep -E "^#[0-9]+.*cov: " "$work/log" | tail -n 1 || true)
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$coverage")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$coverage")
    found=nothing
    if [ "$(cat "$work/status")" != 0 ] || [ -n "$(ls -A "$build/fuzz-findings/$target")" ]; then
        found="FOUND: $(ls "$build/fuzz-findings/$target" | tr '\n' ' ')(log: $work/log)"
        failed=1
    fi
    printf '%-22s %12s %8s %8s  %s\n' "$target" "${executions:-?}" "${cov:-?}" "${ft:-?}" "$found"
done
for target in "${targets[@]}"; do
    if [ "$(cat "$build/fuzz-runs/$target/status")" != 0 ]; then
        echo "--- $target"
        grep -E -A 30 '==ERROR|SUMMARY|deadly signal|Timeout' "$build/fuzz-runs/$target/log" | head -n 60 || true
    fi
done
exit "$failed"
