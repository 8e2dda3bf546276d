#!/usr/bin/env bash
# Proves that the suite has teeth: plants one fault at a time (a small text
# substitution in one source file) into a scratch copy of the tree, rebuilds
# incrementally, runs the whole suite and reports which tests fail. A fault
# that no test notices is a hole; the script then ends non-zero.
#
#   tests/planted-faults.sh [scratch folder]    (default: a new temporary folder)
#   tests/planted-faults.sh --check             (builds nothing: is each fault's text once in its file?)
#
# The faults are the lines of planted-faults.txt beside this script. Takes about
# thirteen minutes on two cores (3 to build, 8 for the faults), so it is not
# part of CI.
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)

# family|file|text|replacement a line; "\|" is a "|" inside a field and "\n" a
# line break; blank lines and lines starting with "#" are skipped.
faults=()
while IFS= read -r line; do
  [[ -z $line || $line == \#* ]] || faults+=("$line")
done <"$repo/tests/planted-faults.txt"
fields() {
  IFS=$'\x01' read -r family file text replacement <<<"$(sed 's/\\|/\x02/g; s/|/\x01/g; s/\x02/|/g' <<<"$1")"
}
# plant <file> <text> <replacement>: prints why when the text is not there once.
plant() {
  python3 - "$@" <<'EOF'
import sys
path, text, new = sys.argv[1], sys.argv[2].replace("\\n", "\n"), sys.argv[3].replace("\\n", "\n")
source = open(path, encoding="utf-8").read()
if source.count(text) == 1:
    open(path, "w", encoding="utf-8").write(source.replace(text, new))
else:
    print("NOT PLANTED: text not found once")
EOF
}

if [ "${1:-}" = "--check" ]; then
  copy=$(mktemp)
  trap 'rm -f "$copy"' EXIT
  missing=0
  for fault in "${faults[@]}"; do
    fields "$fault"
    cp "$repo/$file" "$copy" || { missing=$((missing + 1)); continue; }
    why=$(plant "$copy" "$text" "$replacement")
    [ -z "$why" ] || { missing=$((missing + 1)); printf '%s | %s | %s\n' "$family" "$file" "$why"; }
  done
  echo "${#faults[@]} faults, $missing not found once"
  [ "$missing" -eq 0 ]
  exit
fi

scratch=${1:-$(mktemp -d /tmp/zanto-planted-XXXXXX)}
src=$scratch/src
build=$scratch/build
mkdir -p "$src"
(cd "$repo" && git ls-files -co --exclude-standard -z | xargs -0 cp --parents -t "$src")
# A planted fault that makes a test hang is caught at a minute, not five.
cmake --preset debug -S "$src" -B "$build" -DZANTO_TEST_TIMEOUT=60 >/dev/null &&
  cmake --build "$build" -j2 >/dev/null || { echo "the unchanged tree does not build"; exit 2; }

holes=0
started=$(date +%s)
printf '| fault | file | failing tests |\n|---|---|---|\n'
for fault in "${faults[@]}"; do
  fields "$fault"
  cp "$src/$file" "$scratch/original"
  caught=$(plant "$src/$file" "$text" "$replacement")
  if [ -z "$caught" ] && ! cmake --build "$build" -j2 >"$scratch/build.log" 2>&1; then
    caught="BUILD FAILED"
  elif [ -z "$caught" ]; then
    caught=$(cd "$build" && ctest -j2 --timeout 60 2>&1 | sed -n '/The following tests FAILED/,$p' |
      sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (.*/\1/p' | paste -sd ',' | sed 's/,/, /g')
    [ -n "$caught" ] || caught="HOLE: no test failed"
  fi
  case $caught in "NOT PLANTED"* | "BUILD FAILED" | HOLE*) holes=$((holes + 1)) ;; esac
  printf '| %s | %s | %s |\n' "$family" "$file" "$caught"
  cp "$scratch/original" "$src/$file"
done
cmake --build "$build" -j2 >/dev/null 2>&1
echo
echo "${#faults[@]} faults, $holes not caught, $(( ($(date +%s) - started) / 60 )) min"
[ "$holes" -eq 0 ]
