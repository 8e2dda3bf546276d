#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds ZANTO with its tests and runs them
# headless: the test suites, the same suites under AddressSanitizer and
# UndefinedBehaviorSanitizer, the Debian package (built, unpacked, checked) and
# the fuzzers for a bounded time. ZANTO_QUICK=1 runs the test suites alone.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
quick=${ZANTO_QUICK:-}
extra=""
[ -n "$quick" ] || extra="clang libclang-rt-14-dev"
ZANTO_SETUP_EXTRA="$extra" bash "$here/scripts/setup.sh"
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

stage() { printf '\n==== %s ====\n' "$*"; }

stage "build and test"
cmake -S "$here" -B "$here/build-test" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZANTO_BUILD_TESTS=ON
cmake --build "$here/build-test" -j "$jobs"
(cd "$here/build-test" && ctest --output-on-failure -j "$jobs")
[ -n "$quick" ] && exit 0

stage "tests under AddressSanitizer and UndefinedBehaviorSanitizer"
sanitize="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
cmake -S "$here" -B "$here/build-sanitize" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZANTO_BUILD_TESTS=ON \
  -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
cmake --build "$here/build-sanitize" -j "$jobs"
(cd "$here/build-sanitize" &&
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS="suppressions=$here/tests/lsan.supp" ctest --output-on-failure -j "$jobs")

stage "the Debian package"
cmake -S "$here" -B "$here/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZANTO_BUILD_TESTS=OFF
cmake --build "$here/build-release" -j "$jobs"
rm -f "$here"/build-release/zanto_*.deb
(cd "$here/build-release" && cpack -G DEB)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$here"/build-release/zanto_*.deb "$root"
desktop-file-validate "$root/usr/share/applications/zanto.desktop"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
version=$("$root/usr/bin/zanto" --version)
echo "$version"
[[ "$version" =~ ^ZANTO\ [0-9] ]]

if [ -x "$here/tests/fuzz/run.sh" ]; then
  stage "fuzzing"
  bash "$here/tests/fuzz/run.sh"
fi
