#!/usr/bin/env bash
# Drives the real program in a real X window (Xvfb + openbox) through a whole
# session, as a user would: the first-run settings dialog, a continuous-mode
# rename of a prepared folder, a switch to simple mode, one single rename,
# one deletion, closing. Checks the folder and the stored settings after
# each step and saves screenshots.
#
#   tests/gui/real-window-run.sh <zanto program> [screenshot folder]
set -euo pipefail

program=$(realpath "$1")
shots=$(realpath -m "${2:-$(mktemp -d)/shots}")
mkdir -p "$shots"
export LC_ALL=C.UTF-8
for tool in Xvfb openbox xdotool xclip xprop import convert; do
  command -v "$tool" >/dev/null || { echo "real-window run: $tool is missing"; exit 2; }
done

work=$(mktemp -d)
folder="$work/photos"
mkdir -p "$folder" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
for i in 1 2 3 4 5 10 11 12; do
  convert -size 320x240 "plasma:fractal" -seed "$i" "$folder/IMG_$i.JPG" 2>/dev/null ||
    convert -size 320x240 "xc:rgb($((i * 20)),120,160)" "$folder/IMG_$i.JPG"
done
echo "not listed" >"$folder/keep.png"
keep_sum=$(md5sum <"$folder/keep.png")
before=$(cd "$folder" && cat IMG_{1,2,3,4,5,10,11,12}.JPG | md5sum)

# Xvfb chooses a free display itself and names it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "real-window run: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"
openbox >"$work/openbox.log" 2>&1 &
wm=$!
# The window manager is ready once it has announced itself on the root window.
for _ in $(seq 1 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  kill "$wm" "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "real-window run FAILED: $*" >&2
  import -window root "$shots/failure.png" 2>/dev/null || true
  sed 's/^/  zanto: /' "$work/zanto.log" >&2 || true
  exit 1
}

# The id of the program's first visible window whose title matches the
# pattern, waiting up to 30 s (a loaded machine starts the program slowly).
window() {
  for _ in $(seq 1 300); do
    for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
      name=$(xdotool getwindowname "$id" 2>/dev/null || true)
      if [[ "$name" =~ $1 ]]; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.1
  done
  fail "no window named '$1'"
}

gone() {
  for _ in $(seq 1 300); do
    local found=""
    for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
      [[ "$(xdotool getwindowname "$id" 2>/dev/null || true)" =~ $1 ]] && found=1
    done
    [ -z "$found" ] && return 0
    sleep 0.1
  done
  fail "window '$1' did not close"
}

click() { xdotool mousemove --window "$1" "$2" "$3" click "${4:-1}"; sleep 0.3; }
paste() { printf '%s' "$1" | xclip -selection clipboard; xdotool key ctrl+v; sleep 0.2; }
shot() { sleep 0.4; import -window root "$shots/$1.png"; }

# Positions inside the windows, in pixels of their client areas (the main
# window's controls lie below an 18 px menu bar).
menu=18

cd "$folder"
XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" "$program" >"$work/zanto.log" 2>&1 &
pid=$!

# 1. First run: the settings dialog comes first, preset with *.jpg.
dialog=$(window '^設定$')
shot settings
click "$dialog" 175 34       # 連続名前変換
click "$dialog" 144 237      # メインへ
gone '^設定$'
main=$(window 'ZANTO＿\[連続モード\]')
grep -q 'MODE=1' "$work/config/TOLVA/TOLVA.ini" || fail "MODE not stored"
grep -q 'VORIS=\*.jpg' "$work/config/TOLVA/TOLVA.ini" || fail "VORIS not stored"
click "$main" 340 $((124 + menu + 8))   # preview the first file
shot continuous

# 2. Continuous mode: base name 旅行, 変換, confirm.
click "$main" 434 $((326 + menu + 11))  # txtRENAME
paste '旅行'
xdotool key Return
confirm=$(window '^ファイル名変更$')
xdotool key Left Return
gone '^ファイル名変更$'
for i in 1 2 3 4 5 6 7 8; do
  [ -f "$folder/旅行$i.JPG" ] || fail "旅行$i.JPG missing: $(ls "$folder")"
done
[ "$(cat "$folder"/旅行{1,2,3,4,5,6,7,8}.JPG | md5sum)" = "$before" ] || fail "contents changed or reordered"
[ "$(md5sum <"$folder/keep.png")" = "$keep_sum" ] || fail "an unlisted file was touched"
window 'ZANTO_ \[連続モード\]' >/dev/null

# 3. Switch to simple mode through 設定(&E) → 変更(&K)...
xdotool key alt+e
sleep 0.3
xdotool key k
dialog=$(window '^設定$')
click "$dialog" 70 34        # 単純名前変換
click "$dialog" 144 237      # メインへ
gone '^設定$'
window 'ZANTO＿\[単純モード\]' >/dev/null
grep -q 'MODE=0' "$work/config/TOLVA/TOLVA.ini" || fail "MODE=0 not stored"

# 4. Simple mode: click the first file, type a new name, Enter.
first=$(cd "$folder" && content=$(md5sum <旅行1.JPG) && echo "$content")
click "$main" 340 $((124 + menu + 8))
paste '海'
xdotool key Return
sleep 0.5
[ -f "$folder/海.JPG" ] || fail "海.JPG missing: $(ls "$folder")"
[ "$(md5sum <"$folder/海.JPG")" = "$first" ] || fail "海.JPG is not the former 旅行1.JPG"
shot simple

# 5. Delete the selected file (the next one) through the list's pop-up menu.
selected_count=$(ls "$folder" | wc -l)
click "$main" 340 $((124 + menu + 8)) 3
xdotool key Down Return
ask=$(window '^削除してもいいですか？$')
shot delete-confirmation
xdotool key Left Return
gone '^削除してもいいですか？$'
[ "$(ls "$folder" | wc -l)" -eq $((selected_count - 1)) ] || fail "nothing deleted: $(ls "$folder")"

# 6. The about box.
xdotool key alt+c
sleep 0.3
xdotool key b
about=$(window 'ﾊﾞｰｼﾞｮﾝ情報')
shot about
xdotool key Return
gone 'ﾊﾞｰｼﾞｮﾝ情報'

# 7. Closing stores the folder.
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool key alt+F4
for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the program did not end"
pid=""
grep -q "KALDEN=$folder" "$work/config/TOLVA/TOLVA.ini" || fail "KALDEN not stored: $(cat "$work/config/TOLVA/TOLVA.ini")"

echo "real-window run: 1 passed, 0 failed (screenshots in $shots)"
