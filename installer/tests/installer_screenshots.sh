#!/usr/bin/env bash
# Runs the setup program in a Wine virtual desktop (so the frame and caption
# are drawn) and saves its install-mode page, its finish page and the
# uninstaller's settings page:
#   installer_screenshots.sh <InstallerShot.exe> <setup.exe> <screenshot folder>
# -> <folder>/installer_mode.png, installer_finish.png, installer_uninstall.png
set -euo pipefail
shot_exe=$(realpath "$1")
setup=$(realpath "$2")
outdir=$3
root=$(cd "$(dirname "$0")/../.." && pwd)

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

export QL_BUILD_DIR=$(dirname "$(dirname "$shot_exe")")
mkdir -p "$outdir"
work=$(mktemp -d)
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }

"$root/scripts/wine-run" explorer /desktop=QuilletSetup,640x480 "$(winpath "$shot_exe")" \
  "$(winpath "$setup")" "$(winpath "$work/Quillet Shot")" "$(winpath "$work")" >/dev/null 2>&1 &
desktop=$!
finish() {
  kill "$desktop" 2>/dev/null || true
  wait "$desktop" 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT

# Waits for <name>.ready, saves the virtual desktop as <out>, answers with <name>.done.
capture() {
  local name=$1 out=$2 window
  for _ in $(seq 1 240); do
    [ -f "$work/$name.ready" ] && break
    sleep 0.25
  done
  [ -f "$work/$name.ready" ] || { echo "the $name page never appeared" >&2; return 1; }
  sleep 1 # let the page finish painting
  window=$(xwininfo -root -tree | awk '/QuilletSetup/ {print $1; exit}')
  if [ -n "$window" ]; then
    xwd -id "$window" -silent | convert xwd:- "$out"
  else
    xwd -root -silent | convert xwd:- -crop 640x480+0+0 +repage "$out"
  fi
  touch "$work/$name.done"
  local colours
  colours=$(convert "$out" -format %k info:)
  echo "saved $out ($colours colours)"
  [ "$colours" -gt 16 ]
}

capture mode "$outdir/installer_mode.png"
capture finish "$outdir/installer_finish.png"
capture uninstall "$outdir/installer_uninstall.png"
wait "$desktop" || true
