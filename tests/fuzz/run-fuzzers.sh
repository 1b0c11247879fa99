#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every fuzzer for a bounded time: run-fuzzers.sh BUILD_DIR SECONDS.
# The committed seeds are only read; new inputs go to a temporary working
# corpus, crashes to BUILD_DIR/fuzz-artifacts/<target>/. Fails when any target
# finds a crash, a leak, a time-out or a broken invariant.
set -eu
build=$1
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
shm=/dev/shm
[ -d "$shm" ] && [ -w "$shm" ] || shm=${TMPDIR:-/tmp}
work=$(mktemp -d "${TMPDIR:-/tmp}/zq-fuzz.XXXXXX")
scratch=$(mktemp -d "$shm/zq-fuzz-scratch.XXXXXX")
trap 'rm -rf "$work" "$scratch"' EXIT INT TERM
export ZQ_FUZZ_SCRATCH="$scratch"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=""
summary=""
# target max_len: the game file runs past a full library, the placement is one line,
# a collection just past 1000 records.
for entry in library:4096 gamefile:2048 settings:4096 placement:256 collection:24100; do
    target=${entry%%:*}
    maxlen=${entry#*:}
    mkdir -p "$work/$target" "$build/fuzz-artifacts/$target"
    echo "== ${target}_fuzzer, ${seconds} s"
    log="$work/$target.log"
    if "$build/tests/fuzz/${target}_fuzzer" -max_total_time="$seconds" -max_len="$maxlen" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/fuzz-artifacts/$target/" \
        "$work/$target" "$here/corpus/$target" >"$log" 2>&1; then
        result=ok
    else
        result=FAILED
        failed="$failed $target"
        tail -n 60 "$log"
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    cover=$(grep -E '^#[0-9]+.*(DONE|pulse|NEW|REDUCE)' "$log" | tail -n 1 | sed -n 's/.*cov: \([0-9]*\).*/\1/p')
    units=$(ls "$work/$target" | wc -l)
    summary="$summary$(printf '%-10s %-7s %12s executions, coverage %s, %s new inputs' "$target" "$result" "${runs:-?}" "${cover:-?}" "$units")
"
done
printf '\n%s' "$summary"
if [ -n "$failed" ]; then
    echo "fuzzing found faults in:$failed (inputs in $build/fuzz-artifacts/)"
    exit 1
fi
