#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for a bounded time.
# Fails (non-zero) on any crash, leak, timeout, memory blow-up or broken
# property; prints one line per harness and "N passed, M failed".
#
#   ZANTO_FUZZ_SECONDS    seconds per harness (default 20)
#   ZANTO_FUZZ_BUILD_DIR  build folder (default <repository>/build-fuzz)
#   ZANTO_FUZZ_ONLY       harness names to run, separated by spaces (default all)
#
# Inputs found are kept in <build>/fuzz-corpus/<harness>, so later runs go on
# from there; a failing input lands in <build>/fuzz-artifacts/<harness>/.
set -u -o pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=${ZANTO_FUZZ_BUILD_DIR:-$repo/build-fuzz}
seconds=${ZANTO_FUZZ_SECONDS:-20}
all=(batch_plan picture_content picture_dib picture_emf picture_wmf)
read -r -a harnesses <<< "${ZANTO_FUZZ_ONLY:-${all[*]}}"

sanitizers="-fsanitize=address,undefined -fsanitize=fuzzer-no-link -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
mkdir -p "$build"
cmake -S "$repo" -B "$build" -G Ninja \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
    -DCMAKE_CXX_FLAGS="$sanitizers" \
    -DZANTO_BUILD_FUZZ=ON -DZANTO_BUILD_TESTS=OFF -DZANTO_BUILD_BENCH=OFF > "$build/fuzz-configure.log" 2>&1 \
    || { cat "$build/fuzz-configure.log"; echo "fuzz: configure failed"; exit 2; }
targets=()
for name in "${harnesses[@]}"; do targets+=("fuzz_$name"); done
cmake --build "$build" -j2 --target "${targets[@]}" || { echo "fuzz: build failed"; exit 2; }

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen

passed=0
failed=0
summary=()
for name in "${harnesses[@]}"; do
    corpus=$build/fuzz-corpus/$name
    artifacts=$build/fuzz-artifacts/$name
    log=$build/fuzz-logs/$name.log
    mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
    seeds=()
    [ -d "$here/corpus/$name" ] && seeds=("$here/corpus/$name")
    "$build/tests/fuzz/fuzz_$name" "$corpus" "${seeds[@]}" \
        -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" > "$log" 2>&1
    status=$?

    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
    peak=$(sed -n 's/^stat::peak_rss_mb: *//p' "$log" | tail -n1)
    cov=$(grep -o 'cov: [0-9]* ft: [0-9]* corp: [0-9]*' "$log" | tail -n1)
    figures="${runs:-?} runs, ${cov:-no coverage line}, peak ${peak:-?} MB, ${seconds} s"
    if [ "$status" -eq 0 ]; then
        passed=$((passed + 1))
        line="PASS $name: $figures"
    else
        failed=$((failed + 1))
        reason=$(grep -m1 -o -E 'ERROR: libFuzzer: [a-z-]+|ERROR: (AddressSanitizer|LeakSanitizer|UndefinedBehaviorSanitizer)[^(]*|runtime error: .*|property broken: .*' "$log" || true)
        input=$(sed -n 's/.*Test unit written to //p' "$log" | tail -n1)
        line="FAIL $name: ${reason:-exit $status} (exit $status); input ${input:-none}; log $log"
        echo "---- $name: end of log ----"
        tail -n 60 "$log"
    fi
    echo "$line"
    summary+=("$line")
done

echo "---- fuzz summary ----"
printf '%s\n' "${summary[@]}"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
