#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for a bounded time;
# fails on any crash, leak, timeout, memory blow-up or broken property. A
# failing input lands in <build>/fuzz-artifacts/<harness>/.
#   ZANTO_FUZZ_SECONDS (default 20), ZANTO_FUZZ_BUILD_DIR (default <repository>/build-fuzz),
#   ZANTO_FUZZ_ONLY (harness names separated by spaces; default all)
set -u -o pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${ZANTO_FUZZ_BUILD_DIR:-$here/../../build-fuzz}
read -r -a harnesses <<< "${ZANTO_FUZZ_ONLY:-batch_plan capture_time picture_content picture_dib picture_emf picture_wmf picture_raw heif}"
# The compiler and flags are the fuzz preset's (CMakePresets.json).
cmake --preset fuzz -S "$here/../.." -B "$build" >/dev/null &&
    cmake --build "$build" -j2 --target "${harnesses[@]/#/fuzz_}" || { echo "fuzz: build failed"; exit 2; }
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0} UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/lsan.supp:print_suppressions=0} QT_QPA_PLATFORM=offscreen
# libheif and its decoders may claim gigabytes or seconds for a few hundred
# hostile bytes; the helper program that runs them has a memory limit and a
# deadline, which make that an invalid picture. So here, as there, running
# out of memory or time is no failure; a crash or a broken property is.
declare -A extra=([heif]="-fork=1 -ignore_ooms=1 -ignore_timeouts=1")
failed=0
for name in "${harnesses[@]}"; do
    log=$build/fuzz-logs/$name.log
    mkdir -p "$build/fuzz-corpus/$name" "$build/fuzz-artifacts/$name" "$build/fuzz-logs"
    "$build/tests/fuzz/fuzz_$name" "$build/fuzz-corpus/$name" "$here/corpus/$name" -max_total_time="${ZANTO_FUZZ_SECONDS:-20}" \
        -rss_limit_mb=2048 -timeout=10 ${extra[$name]:-} -artifact_prefix="$build/fuzz-artifacts/$name/" >"$log" 2>&1
    status=$?
    # In fork mode the status is that of the last job, which the end of the
    # run interrupts; a crash shows in the job counts and the inner log.
    if [ -n "${extra[$name]:-}" ] && ! grep -q "log from the inner process" "$log" &&
        grep -o 'oom/timeout/crash: [0-9]*/[0-9]*/[0-9]*' "$log" | tail -n1 | grep -q '/0$'; then
        status=0
    fi
    if [ "$status" -eq 0 ]; then
        echo "PASS $name: $(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n1)"
    else
        failed=$((failed + 1))
        tail -n 60 "$log"
        echo "FAIL $name; log $log"
    fi
done
echo "$failed failed"
[ "$failed" -eq 0 ]
