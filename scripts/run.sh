#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds ZANTO and starts it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/setup.sh"
cmake -S "$here" -B "$here/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZANTO_BUILD_TESTS=OFF
cmake --build "$here/build-release" --target zanto
exec "$here/build-release/app/zanto" "$@"
