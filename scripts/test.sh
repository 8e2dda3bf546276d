#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds ZANTO with its tests and runs them
# headless: the test suites, the same suites under AddressSanitizer and
# UndefinedBehaviorSanitizer, the parts without Qt built alone, the Debian
# package (built, unpacked, checked) and the fuzzers for a bounded time.
# ZANTO_QUICK=1 runs the test suites alone.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
quick=${ZANTO_QUICK:-}
extra=""
[ -n "$quick" ] || extra="clang libclang-rt-14-dev"
ZANTO_SETUP_EXTRA="$extra" bash "$here/scripts/setup.sh"
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
# The build folders and their flags are the presets of CMakePresets.json,
# which cmake --build and ctest look for in the current folder.
cd "$here"

stage() { printf '\n==== %s ====\n' "$*"; }

stage "build and test"
cmake --preset debug
cmake --build --preset debug -j "$jobs"
ctest --preset debug -j "$jobs"
[ -n "$quick" ] && exit 0

stage "the parts without Qt"
cmake --preset core
cmake --build --preset core -j "$jobs"
ctest --preset core -j "$jobs"

stage "tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"

stage "the Debian package"
cmake --preset release
cmake --build --preset release -j "$jobs"
rm -f "$here"/build-release/zanto_*.deb
(cd "$here/build-release" && cpack -G DEB)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$here"/build-release/zanto_*.deb "$root"
desktop-file-validate "$root/usr/share/applications/zanto.desktop"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
# The HEIF helper lies beside the program; libheif is loaded by the helper
# alone; the libraries and the Qt image plugins the previews need are Depends.
[ -x "$root/usr/lib/zanto/zanto-heif" ]
if ldd "$root/usr/lib/zanto/zanto" | grep libheif; then
  echo "zanto loads libheif"
  exit 1
fi
depends=$(dpkg-deb -f "$here"/build-release/zanto_*.deb Depends)
for package in libheif1 libraw20 qt6-image-formats-plugins; do
  [[ $depends == *"$package"* ]] || { echo "Depends lacks $package: $depends"; exit 1; }
done
version=$("$root/usr/bin/zanto" --version)
echo "$version"
[[ "$version" =~ ^ZANTO\ [0-9] ]]

if [ -x "$here/tests/fuzz/run.sh" ]; then
  stage "fuzzing"
  bash "$here/tests/fuzz/run.sh"
fi
