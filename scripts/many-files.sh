# Sourced by the scripts that time the program on a big folder: makes
# "$work/photos" with "$count" empty .jpg files and settings that remember it
# in continuous mode, for XDG_CONFIG_HOME="$work/config".
folder="$work/photos"
mkdir -p "$folder" "$work/config/TOLVA" "$work/runtime"
chmod 700 "$work/runtime"
python3 - "$folder" "$count" <<'PY'
import os, sys
folder, count = sys.argv[1], int(sys.argv[2])
for i in range(count):
    open(os.path.join(folder, f"IMG_{i:06d}.jpg"), "wb").close()
PY
printf '[TOLVA_DATA]\nMODE=1\nVORIS=*.jpg\nKALDEN=%s\n' "$folder" >"$work/config/TOLVA/TOLVA.ini"
