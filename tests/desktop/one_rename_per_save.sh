#!/usr/bin/env bash
# A save, the first-run write included, is one new file renamed over the old
# one: one rename and at most two flushes (the file, then its folder).
#   one_rename_per_save.sh SETTINGS_SAVER
set -uo pipefail
SAVER=$1
command -v strace >/dev/null || { echo "SKIP: strace not installed"; exit 77; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failed=0

count_of() {  # log, pattern
  grep -cE "$2" "$1"
}

save_and_count() {  # description
  strace -f -e trace=rename,renameat,renameat2,fsync,fdatasync -o "$WORK/log" \
    "$SAVER" "$WORK/cfg/settings.ini" 3 1 || { echo "FAIL: $1: the save failed"; failed=1; return; }
  local renames flushes
  renames=$(count_of "$WORK/log" '^[0-9]+ +rename(at2?)?\(')
  flushes=$(count_of "$WORK/log" '^[0-9]+ +f(data)?sync\(')
  if [ "$renames" -eq 1 ] && [ "$flushes" -le 2 ]; then
    echo "ok: $1: $renames rename, $flushes flushes"
  else
    echo "FAIL: $1: $renames renames, $flushes flushes"; cat "$WORK/log"; failed=1
  fi
}

save_and_count "first save creates the file"
printf '# mine\n[Quorvelian]\nFast=1\n[Other]\nx=2\n' >"$WORK/cfg/settings.ini"
save_and_count "a save over a hand-edited file"
grep -qx 'Clock=36' "$WORK/cfg/settings.ini" || { echo "FAIL: the values were not saved"; failed=1; }
grep -qx '# mine' "$WORK/cfg/settings.ini" || { echo "FAIL: the comment was lost"; failed=1; }
exit $failed
