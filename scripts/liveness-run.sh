#!/usr/bin/env bash
# Times the window's answers to liveness pings during a long batch, in a real
# X window (Xvfb + openbox): a folder of many empty .jpg files, continuous
# mode, base name "t", 変換, OK; scripts/ping-probe.py pings until the end
# caption shows; then the window's peak memory. A developer's measurement,
# not part of the test run.
#
#   scripts/liveness-run.sh <zanto program> [file count]
set -euo pipefail

program=$(realpath "$1")
count=${2:-100000}
here=$(dirname "$(realpath "$0")")
export LC_ALL=C.UTF-8
for tool in Xvfb openbox xdotool xprop; do
  command -v "$tool" >/dev/null || { echo "liveness run: $tool is missing"; exit 2; }
done

work=$(mktemp -d)
source "$here/many-files.sh"

source "$here/x-display.sh"

window() {
  for _ in $(seq 1 ${tries:-600}); do
    for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
      [[ "$(xdotool getwindowname "$id" 2>/dev/null || true)" =~ $1 ]] && { echo "$id"; return 0; }
    done
    sleep 0.1
  done
  echo "liveness run: no window named '$1'" >&2
  for id in $(xdotool search --pid "$pid" 2>/dev/null); do xdotool getwindowname "$id" >&2 || true; done
  cat "$work/zanto.log" >&2
  exit 1
}

XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" XDG_RUNTIME_DIR="$work/runtime" "$program" >"$work/zanto.log" 2>&1 &
pid=$!
main=$(window 'ZANTO＿\[連続モード\]')
sleep 1
awk '/^VmHWM/ { printf "peak memory with the folder listed %.0f MB\n", $2 / 1024 }' "/proc/$pid/status"
# txtRENAME, below the 18 px menu bar.
xdotool mousemove --window "$main" 434 $((326 + 18 + 11)) click 1
sleep 0.3
xdotool type t
xdotool key Return
window '^ファイル名変更$' >/dev/null
xdotool key Left Return
/usr/bin/python3 "$here/ping-probe.py" "$main" 600 --until-title '^ZANTO_ ' ${verbose:+--verbose}
# The window's peak memory over the whole run.
awk '/^VmHWM/ { printf "peak memory %.0f MB\n", $2 / 1024 }' "/proc/$pid/status"
