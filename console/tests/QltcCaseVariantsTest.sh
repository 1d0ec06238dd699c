#!/usr/bin/env bash
# QLTC.exe under Wine in a folder of the Linux file system, where names that
# differ only in letter case are different files: pairs and triples of such
# names must all be converted in place and keep their names, with and without
# -bo and -ka, and their backups must not collide.
#   QltcCaseVariantsTest.sh <QLTC.exe> <wine-run>
set -uo pipefail
qltc=$1
wine_run=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL ($options): $*"; failures=$((failures + 1)); }

for options in "" "-bo" "-ka" "-bo -ka"; do
  dir="$work/run${options// /}"
  mkdir -p "$dir"
  # Pairs, a triple, and an older backup that one of the names already has.
  declare -A content=(
    [X.h]=upper [x.h]=lower
    [xt_CONNMARK.h]=big [xt_connmark.h]=small
    [Read.Me]=one [read.me]=two [READ.ME]=three
  )
  for name in "${!content[@]}"; do printf '%s\r\nline\r\n' "${content[$name]}" >"$dir/$name"; done
  printf 'old backup\r\n' >"$dir/x.h.bak"
  # shellcheck disable=SC2086
  (cd "$dir" && "$wine_run" "$qltc" -format lf -filter "*.h;*.me" $options . >"$dir.out" 2>&1)
  status=$?
  [ "$status" -eq 0 ] || fail "exit status $status: $(tr -d '\r' <"$dir.out")"
  for name in "${!content[@]}"; do
    [ "$(cat "$dir/$name" 2>/dev/null)" = "$(printf '%s\nline\n' "${content[$name]}")" ] ||
      fail "$name is not converted in place"
  done
  leftovers=$(find "$dir" -name '*.tmp' | wc -l)
  [ "$leftovers" -eq 0 ] || fail "$leftovers temporary files left"
  [ "$(cat "$dir/x.h.bak")" = "$(printf 'old backup\r')" ] || fail "the older backup was overwritten"
  backups=$(find "$dir" -name '*.bak' | wc -l)
  if [[ $options == *-bo* ]]; then
    [ "$backups" -eq 8 ] || fail "$backups backups instead of 8"
    # Every original is in exactly one backup.
    for name in "${!content[@]}"; do
      matches=$(grep -l -x "${content[$name]}"$'\r' "$dir"/*.bak | wc -l)
      [ "$matches" -eq 1 ] || fail "the original of $name is in $matches backups"
    done
  else
    [ "$backups" -eq 1 ] || fail "backups made without -bo"
  fi
  unset content
done
[ "$failures" -eq 0 ] && echo "all case-variant runs passed"
exit $((failures > 0))
