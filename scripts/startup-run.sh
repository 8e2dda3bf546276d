#!/usr/bin/env bash
# Start-up with a remembered folder of many files, in a real X window (Xvfb +
# openbox), against a bare Qt window and the folder's bare reading: each
# program started in turn, several rounds, timed by scripts/startup-probe.py
# from its start until its window answers the desktop. A developer's
# measurement, not part of the test run.
#
#   scripts/startup-run.sh <zanto program> <bare_window program> [file count] [rounds]
set -euo pipefail

program=$(realpath "$1")
bare=$(realpath "$2")
count=${3:-100000}
rounds=${4:-7}
here=$(dirname "$(realpath "$0")")
export LC_ALL=C.UTF-8
for tool in Xvfb openbox xprop; do
  command -v "$tool" >/dev/null || { echo "startup run: $tool is missing"; exit 2; }
done

work=$(mktemp -d)
source "$here/many-files.sh"

source "$here/x-display.sh"
export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" XDG_RUNTIME_DIR="$work/runtime"

# The folder's bare reading, names only, as a process of its own costs nothing more.
read_ms() {
  python3 - "$folder" <<'PY'
import os, sys, time
start = time.monotonic()
names = os.listdir(sys.argv[1])
print(f"{(time.monotonic() - start) * 1000.0:.1f}")
PY
}

"$here/startup-probe.py" "$bare" >/dev/null # the libraries in the page cache
"$here/startup-probe.py" "$program" >/dev/null
printf '%-6s %10s %10s %10s %8s\n' round bare_ms read_ms zanto_ms ratio
for round in $(seq 1 "$rounds"); do
  b=$("$here/startup-probe.py" "$bare")
  r=$(read_ms)
  z=$("$here/startup-probe.py" "$program")
  printf '%-6s %10s %10s %10s %8s\n' "$round" "$b" "$r" "$z" "$(python3 -c "print(f'{$z / ($b + $r):.2f}')")"
done
