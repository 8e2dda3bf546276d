#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for a bounded time;
# fails (non-zero) on any crash, leak, timeout, memory blow-up or broken
# property. A failing input lands in <build>/fuzz-artifacts/<harness>/.
#
#   ZANTO_FUZZ_SECONDS    seconds per harness (default 20)
#   ZANTO_FUZZ_BUILD_DIR  build folder (default <repository>/build-fuzz)
#   ZANTO_FUZZ_ONLY       harness names to run, separated by spaces (default all)
set -u -o pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=${ZANTO_FUZZ_BUILD_DIR:-$repo/build-fuzz}
seconds=${ZANTO_FUZZ_SECONDS:-20}
read -r -a harnesses <<< "${ZANTO_FUZZ_ONLY:-batch_plan picture_content picture_dib picture_emf picture_wmf}"

sanitizers="-fsanitize=address,undefined -fsanitize=fuzzer-no-link -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DCMAKE_CXX_FLAGS="$sanitizers" \
    -DZANTO_BUILD_FUZZ=ON -DZANTO_BUILD_TESTS=OFF -DZANTO_BUILD_BENCH=OFF >/dev/null || { echo "fuzz: configure failed"; exit 2; }
cmake --build "$build" -j2 --target "${harnesses[@]/#/fuzz_}" || { echo "fuzz: build failed"; exit 2; }

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen

failed=0
for name in "${harnesses[@]}"; do
    corpus=$build/fuzz-corpus/$name
    log=$build/fuzz-logs/$name.log
    mkdir -p "$corpus" "$build/fuzz-artifacts/$name" "$(dirname "$log")"
    if "$build/tests/fuzz/fuzz_$name" "$corpus" "$here/corpus/$name" -max_total_time="$seconds" -rss_limit_mb=2048 \
        -timeout=10 -artifact_prefix="$build/fuzz-artifacts/$name/" >"$log" 2>&1; then
        echo "PASS $name: $(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n1)"
    else
        failed=$((failed + 1))
        tail -n 60 "$log"
        echo "FAIL $name; log $log"
    fi
done
echo "$failed failed"
[ "$failed" -eq 0 ]
