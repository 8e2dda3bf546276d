#!/usr/bin/env bash
# Proves that the suite has teeth: plants one fault at a time (a small text
# substitution in one source file) into a scratch copy of the tree, rebuilds
# incrementally, runs the whole suite and reports which tests fail. A fault
# that no test notices is a hole; the script then ends non-zero.
#
#   tests/planted-faults.sh [scratch folder]    (default: a new temporary folder)
#
# Takes about thirteen minutes on two cores (3 to build, 8 for the faults), so it
# is not part of CI.
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
scratch=${1:-$(mktemp -d /tmp/zanto-planted-XXXXXX)}
src=$scratch/src
build=$scratch/build
mkdir -p "$src"
(cd "$repo" && git ls-files -co --exclude-standard -z | xargs -0 cp --parents -t "$src")
# A planted fault that makes a test hang is caught at a minute, not five.
cmake --preset debug -S "$src" -B "$build" -DZANTO_TEST_TIMEOUT=60 >/dev/null &&
  cmake --build "$build" -j2 >/dev/null || { echo "the unchanged tree does not build"; exit 2; }

# family|file|text|replacement; "\n" stands for a line break.
faults=(
  "no-replace flag|fs/NativeFileSystem.cpp|to.c_str(), RENAME_NOREPLACE) == 0|to.c_str(), 0) == 0"
  "fallbacks: no plain rename without hard links|fs/NativeFileSystem.cpp|    if (!source \|\| source->stableInode)|    if (true)"
  "journal: the check-then-rename fallback chosen by link()'s error, not the file system|fs/NativeFileSystem.cpp|    if (!source \|\| source->stableInode)|    if (!source \|\| linkError != EPERM)"
  "killed batch: rename by link, then unlink|fs/NativeFileSystem.cpp|    if (m_calls.renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)\n        return FsError::None;\n    const int error = errno;\n    if (error != EINVAL && error != ENOSYS)\n        return fsErrorFromErrno(error);|"
  "stop without rollback|rename/BatchRename.cpp|        report.stop(error, i);\n        rollBack(plan, fs, report, progress, log);|        report.stop(error, i);"
  "rollback skips the new names (swaps)|rename/BatchRename.cpp|        mover.run(MoveStep::BackToTemporary, true, goOn);|"
  "temporary names collide in another case|rename/BatchRename.cpp|&& equalIgnoringAsciiCase(name.substr(prefix.size() + m_width), m_extensions[position]);|&& name.substr(prefix.size() + m_width) == m_extensions[position];"
  "name length off by one|rename/BatchRename.cpp|if (name->size() > limit) {|if (name->size() > limit + 1) {"
  "numbers against the user's order|rename/BatchRename.cpp|base + zeroFilled(position + 1, digitCount(count))|base + zeroFilled(count - position, digitCount(count))"
  "zero fill one digit too wide|rename/BatchRename.cpp|digitCount(count)) + extensionOf(entry)|digitCount(count * 10)) + extensionOf(entry)"
  "single rename: refused access told as failure|rename/SingleRename.cpp|        return SingleOutcome::AccessRefused;|        return SingleOutcome::Other;"
  "case-only rename refused|rename/SingleRename.cpp|    if (fs.sameFile(joinPath(folder, oldName), joinPath(folder, newName)))\n        return true;|    return false;"
  "selection after the rename|rename/SingleRename.cpp|        return k;|        return k + 1;"
  "non-UTF-8 name typed back as UTF-8|app/SingleRenameCommand.cpp|        return oldBase;|        return nativeName(text);"
  "deletion reaches a look-alike|app/Tolva.cpp|const std::string path = joinPath(f.Dir->path(), name);|const std::string path = joinPath(f.Dir->path(), nativeName(displayName(name)));"
  "deletion: Enter answers OK|app/Messages.cpp|MsgDefault::Second, QStringLiteral(\"削除してもいいですか？\")|MsgDefault::First, QStringLiteral(\"削除してもいいですか？\")"
  "deletion follows the link|fs/NativeFileSystem.cpp|    if (::unlink(path.c_str()) != 0)|    char target[4096] = {};\n    if (::realpath(path.c_str(), target) == nullptr \|\| ::unlink(target) != 0)"
  "FIFO opened blocking|fs/NativeFileSystem.cpp|    if (::stat(path.c_str(), &info) != 0 \|\| !S_ISREG(info.st_mode))\n        return false;\n    const int fd = ::open(path.c_str(), O_RDONLY \| O_NONBLOCK \| O_NOCTTY \| O_CLOEXEC);|    const int fd = ::open(path.c_str(), O_RDONLY \| O_NOCTTY \| O_CLOEXEC);"
  "metafile conversion without its deadline|browse/MetafileDecoder.cpp|::poll(&ready, 1, static_cast<int>(left.count()))|::poll(&ready, 1, -1)"
  "second instance not refused|app/SingleInstance.cpp|        return true;\n    if (m_lock->error() == QLockFile::LockFailedError)\n        return false;\n    // The lock's folder|        return true;\n    // The lock's folder"
  "settings stored twice on a double unload|app/frmSETEI.cpp|    if (!m_unloaded) {|    if (true) {"
  "first run preset|app/frmSETEI.cpp|dialog.addPattern(settings::kFirstRunPattern);|dialog.addPattern(QStringLiteral(\"*.png\"));"
  "settings: \";\" starts a comment|ui/IniSettingsStore.cpp|return trimmed.mid(equals + 1).trimmed();|return trimmed.mid(equals + 1).section(u';', 0, 0).trimmed();"
  "tip: one number ahead of the batch|app/NewNameTip.cpp|static_cast<std::size_t>(row), count|static_cast<std::size_t>(row) + 1, count"
  "drag: the entry lands one place short|rename/RenameList.cpp|std::rotate(from, from + 1, to + 1);|std::rotate(from, from + 1, to);"
  "date order: sub-seconds read as a whole number|browse/DateOrder.cpp|    digits.resize(kDigitsOfSecond, '0');|    digits.insert(0, kDigitsOfSecond - std::min(digits.size(), kDigitsOfSecond), '0');"
  "long command lets timers run inside it|app/LongWork.cpp|\n                                    \| QEventLoop::X11ExcludeTimers);|);"
  "close request taken inside the batch|app/Tolva.cpp|        m_work.holdClose();\n        event->ignore();\n        return;|        m_work.holdClose();"
  "prefetch keeps the picture of a replaced file|browse/PicturePrefetch.cpp|if (now && unchanged(*now, m_stamp) && loaded.status|if (now && loaded.status"
  "message box: Escape answers OK|ui/QtMessenger.cpp|box.setEscapeButton(third ? third : (second ? second : first));|box.setEscapeButton(first);"
  "journal: recovery finds the run's files by name only|rename/Recovery.cpp|return found && found->sameFileAs(stamp);|return found.has_value();"
  "natural order: keys alike in their first 16 bytes left to the raw names|browse/NaturalSorter.cpp|    const int order = key(x.index).compare(key(y.index));|    const int order = 0;"
  "natural order: merged runs take the later entry first|browse/NaturalSorter.cpp|        *out++ = less(*later, *earlier) ? *later++ : *earlier++;|        *out++ = less(*earlier, *later) ? *later++ : *earlier++;"
  "listing: a folder whose reading failed is shown|browse/DirectoryListing.cpp|    if (error == FsError::None)\n        names = sorter.sorted();|    names = sorter.sorted();"
  "journal: the second pass begins unrecorded|rename/BatchRename.cpp|    if (log != nullptr && !log->beginStep(MoveStep::ToFinal, report.states())) {|    if (false) {"
  "journal: an entry of the last step placed by the other name|rename/Recovery.cpp|                where[i] = fs.exists(|                where[i] = !fs.exists("
  "journal: one file for every run|fs/StateFolder.cpp|    const std::string name = prefix + uniqueSuffix();|    const std::string name = prefix + \"run\";"
  "journal: a live copy's run offered for recovery|rename/BatchJournal.cpp|        if (opened.busy)\n            continue; // a running copy's run|"
  "journal: the state folder follows a link|fs/StateFolder.cpp|flags \| O_NOFOLLOW \| O_NONBLOCK|flags \| O_NONBLOCK"
  "journal: a name leading out of the folder accepted|rename/Journal.cpp|    return !name.empty() && name != \".\" && name != \"..\" && name.find('/') == std::string::npos;|    return !name.empty();"
  "undo: a file parked on its way into a taken name|rename/Recovery.cpp|            if (!free) {|            if (false) {"
  "undo: the record not brought up to date|rename/BatchJournal.cpp|    if (m_journal.kind == JournalKind::Undo && !m_owner.settleUndo(m_journal, states))|    if (false)"
  "a rename that takes its file along goes unnoticed|rename/BatchRename.cpp|if (error == FsError::None \|\| error == FsError::FileNotFound \|\| m_fs.exists(from))|if (true)"
)

holes=0
started=$(date +%s)
printf '| fault | file | failing tests |\n|---|---|---|\n'
for fault in "${faults[@]}"; do
  IFS=$'\x01' read -r family file text replacement <<<"$(sed 's/\\|/\x02/g; s/|/\x01/g; s/\x02/|/g' <<<"$fault")"
  cp "$src/$file" "$scratch/original"
  caught=$(python3 - "$src/$file" "$text" "$replacement" <<'EOF'
import sys
path, text, new = sys.argv[1], sys.argv[2].replace("\\n", "\n"), sys.argv[3].replace("\\n", "\n")
source = open(path, encoding="utf-8").read()
if source.count(text) == 1:
    open(path, "w", encoding="utf-8").write(source.replace(text, new))
else:
    print("NOT PLANTED: text not found once")
EOF
  )
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
