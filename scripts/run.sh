#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds ZANTO and starts it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/scripts/setup.sh"
cmake --preset release -S "$here"
cmake --build "$here/build-release" --target zanto
exec "$here/build-release/app/zanto" "$@"
