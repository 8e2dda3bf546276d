#!/usr/bin/env bash
# Takes the README's screenshots: drives the real program in a real X window
# (Xvfb + openbox) through a session, as a user would: the first-run settings
# dialog, a continuous-mode rename of a prepared folder, a switch to simple
# mode, one single rename, the about box, closing. What the program does is
# checked by the test suites; this only waits for each window.
#
#   scripts/screenshots.sh <zanto program> [screenshot folder]
set -euo pipefail

program=$(realpath "$1")
shots=$(realpath -m "${2:-$(mktemp -d)/shots}")
mkdir -p "$shots"
export LC_ALL=C.UTF-8
for tool in Xvfb openbox xdotool xclip xprop import convert; do
  command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing"; exit 2; }
done

work=$(mktemp -d)
folder="$work/photos"
mkdir -p "$folder" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
for i in 1 2 3 4 5 10 11 12; do
  convert -size 320x240 "plasma:fractal" -seed "$i" "$folder/IMG_$i.JPG" 2>/dev/null ||
    convert -size 320x240 "xc:rgb($((i * 20)),120,160)" "$folder/IMG_$i.JPG"
done

source "$(dirname "$(realpath "$0")")/x-display.sh"

fail() {
  echo "screenshots FAILED: $*" >&2
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
XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" XDG_RUNTIME_DIR="$work/runtime" "$program" >"$work/zanto.log" 2>&1 &
pid=$!

# 1. First run: the settings dialog comes first, preset with *.jpg.
dialog=$(window '^設定$')
shot settings
click "$dialog" 175 34       # 連続名前変換
click "$dialog" 144 237      # メインへ
gone '^設定$'
main=$(window 'ZANTO＿\[連続モード\]')
click "$main" 340 $((124 + menu + 8))   # preview the first file
shot continuous

# 2. Continuous mode: base name 旅行, 変換, confirm.
click "$main" 434 $((326 + menu + 11))  # txtRENAME
paste '旅行'
# The tip over the fifth entry: the name the batch will give it.
xdotool mousemove --window "$main" 340 $((124 + menu + 8 + 4 * 13))
sleep 0.2
xdotool mousemove --window "$main" 342 $((124 + menu + 9 + 4 * 13))
sleep 1.5
shot tooltip
xdotool key Return
confirm=$(window '^ファイル名変更$')
xdotool key Left Return
gone '^ファイル名変更$'
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

# 4. Simple mode: click the first file, type a new name, Enter.
click "$main" 340 $((124 + menu + 8))
paste '海'
xdotool key Return
sleep 0.5
shot simple

# 5. The about box.
xdotool key alt+c
sleep 0.3
xdotool key b
about=$(window 'ﾊﾞｰｼﾞｮﾝ情報')
shot about
xdotool key Return
gone 'ﾊﾞｰｼﾞｮﾝ情報'

# 6. Closing.
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool key alt+F4
for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the program did not end"
pid=""

# 7. The table of new names of a card of 20,000 photos, opened from the
# rename list's menu. An earlier 旅行00002.JPG stays in the folder, taken off
# the list with ×, and a sidecar is listed beside its picture.
big="$work/card"
mkdir -p "$big"
convert -size 320x240 "plasma:fractal" -seed 7 "$work/sample.jpg" 2>/dev/null ||
  convert -size 320x240 "xc:rgb(90,120,160)" "$work/sample.jpg"
/usr/bin/python3 - "$big" "$work/sample.jpg" <<'PY'
import os, sys
folder, sample = sys.argv[1], sys.argv[2]
for i in range(1, 20001):
    os.link(sample, os.path.join(folder, f"IMG_{i:05d}.JPG"))
os.link(sample, os.path.join(folder, "旅行00002.JPG"))
open(os.path.join(folder, "IMG_00003.xmp"), "w").write("<x:xmpmeta/>")
PY
mkdir -p "$work/config/TOLVA"
printf '[TOLVA_DATA]\nMODE=1\nVORIS=*.jpg;*.xmp\nKALDEN=%s\n' "$big" >"$work/config/TOLVA/TOLVA.ini"
XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" XDG_RUNTIME_DIR="$work/runtime" "$program" >"$work/zanto.log" 2>&1 &
pid=$!
main=$(window 'ZANTO＿\[連続モード\]')
sleep 1
click "$main" 340 $((124 + menu + 8))   # the first entry
xdotool key End
sleep 0.5
click "$main" 478 $((286 + menu))       # ×: the earlier 旅行00002.JPG leaves the list
click "$main" 434 $((326 + menu + 11))  # txtRENAME
paste '旅行'
click "$main" 340 $((124 + menu + 8)) 3 # the rename list's menu
xdotool key l
table=$(window '^新しい名前の一覧$')
shot newnames
xdotool key Escape
gone '^新しい名前の一覧$'
kill "$pid" 2>/dev/null || true
pid=""

# 8. カメラの時計: a trip of a camera 3 minutes fast, a phone that records its
# zone and the camera's videos, whose local time went in as UTC. The
# camera's clock is put right by typing its offset.
trip="$work/trip"
mkdir -p "$trip"
/usr/bin/python3 - "$trip" "$work/sample.jpg" <<'PY'
import struct, sys, datetime
folder, sample = sys.argv[1], sys.argv[2]
picture = open(sample, "rb").read()

def directory(tags, at):
    table, values = struct.pack("<H", len(tags)), b""
    data = at + 2 + 12 * len(tags) + 4
    for tag, kind, value in tags:
        count = len(value) // 4 if kind == 4 else len(value)
        if len(value) <= 4:
            table += struct.pack("<HHI", tag, kind, count) + value.ljust(4, b"\0")
        else:
            table += struct.pack("<HHII", tag, kind, count, data + len(values))
            values += value
    return table + b"\0\0\0\0" + values

def jpeg(make, model, clock, zone=None):
    ifd0 = [(0x010F, 2, make + b"\0"), (0x0110, 2, model + b"\0"), (0x8769, 4, b"\0\0\0\0")]
    first = directory(ifd0, 8)
    exif = [(0x9003, 2, clock + b"\0")] + ([(0x9011, 2, zone + b"\0")] if zone else [])
    pointer = 2 + 12 * 2 + 8
    first = first[:pointer] + struct.pack("<I", 8 + len(first)) + first[pointer + 4:]
    tiff = b"II*\0\x08\0\0\0" + first + directory(exif, 8 + len(first))
    app1 = b"Exif\0\0" + tiff
    return picture[:2] + b"\xff\xe1" + struct.pack(">H", len(app1) + 2) + app1 + picture[2:]

def box(kind, body):
    return struct.pack(">I", 8 + len(body)) + kind + body

def movie(utc):
    seconds = int((utc - datetime.datetime(1904, 1, 1)).total_seconds())
    mvhd = box(b"mvhd", b"\0" * 4 + struct.pack(">II", seconds, seconds) + b"\0" * 88)
    return box(b"ftyp", b"qt  \0\0\0\0qt  ") + box(b"moov", mvhd)

start = datetime.datetime(2024, 5, 1, 10, 0, 0)
for i in range(12):  # the camera, 3 minutes fast, no zone
    clock = start + datetime.timedelta(minutes=7 * i + 3)
    open(f"{folder}/IMG_{9994 + i if i < 6 else i - 5:04d}.JPG", "wb").write(
        jpeg(b"Canon", b"Canon EOS R6", clock.strftime("%Y:%m:%d %H:%M:%S").encode()))
for i in range(8):  # the phone, on time, in +09:00
    clock = start + datetime.timedelta(minutes=11 * i + 1)
    open(f"{folder}/PXL_{i + 1:04d}.JPG", "wb").write(
        jpeg(b"Google", b"Pixel 8", clock.strftime("%Y:%m:%d %H:%M:%S").encode(), b"+09:00"))
for i in range(2):  # the camera's videos, its local time written as UTC
    open(f"{folder}/MVI_{i + 20:04d}.MOV", "wb").write(movie(start + datetime.timedelta(minutes=30 * i + 20)))
PY
printf '[TOLVA_DATA]\nMODE=1\nVORIS=*.jpg;*.mov\nKALDEN=%s\n' "$trip" >"$work/config/TOLVA/TOLVA.ini"
XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state" XDG_RUNTIME_DIR="$work/runtime" "$program" >"$work/zanto.log" 2>&1 &
pid=$!
main=$(window 'ZANTO＿\[連続モード\]')
sleep 1
click "$main" 340 $((124 + menu + 8)) 3 # the rename list's menu
xdotool key k
clocks=$(window '^カメラの時計$')
xdotool key Down                        # the camera's row, below the phone's
xdotool key alt+o ctrl+a                # 補正(&O)
paste '-00:03:00'
xdotool key Return
sleep 0.5
xdotool windowmove "$clocks" 150 330    # beside the list it ordered
xdotool windowmove "$main" 0 0
sleep 0.5
shot clocks
# The tip of the camera's first photo: its time on the clock put right
# (tips show over the active window).
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool mousemove --window "$main" 340 $((124 + menu + 8))
sleep 0.2
xdotool mousemove --window "$main" 342 $((124 + menu + 9))
sleep 1.5
shot clocks-tip
xdotool windowactivate --sync "$clocks" 2>/dev/null || true
xdotool key Escape
gone '^カメラの時計$'
kill "$pid" 2>/dev/null || true
pid=""

echo "screenshots in $shots"
