#!/usr/bin/env bash
# Shows Quillet's main dialog in a Wine virtual desktop (so the frame and the
# caption are drawn) and saves a screenshot of it.
#   main_dialog_screenshot.sh <build>/bin/Quillet.exe <out.png> [dpi]
# With a dpi, the prefix's "LogPixels" is set to it for this start only and
# put back afterwards.
# A renamed copy of the program is used and ended by force: the shot must not
# write settings into the registry that the other tests are checking.
set -euo pipefail
exe=$(realpath "$1")
out=$2
dpi=${3:-}
# Room for the window at a higher DPI too.
size=840x560
[ -z "$dpi" ] || size=1240x900
root=$(cd "$(dirname "$0")/../.." && pwd)

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

export QL_BUILD_DIR=$(dirname "$(dirname "$exe")")
export PATH="/usr/lib/wine:$PATH" WINEDEBUG=-all WINEPREFIX="$QL_BUILD_DIR/wineprefix"
mkdir -p "$(dirname "$out")"
work=$(mktemp -d)
cp "$exe" "$work/QuilletShot.exe"
winexe="Z:$(echo "$work/QuilletShot.exe" | tr / '\\')"

if [ -n "$dpi" ]; then
  "$root/scripts/wine-run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
fi

"$root/scripts/wine-run" explorer /desktop=QuilletShot,"${size}" "$winexe" >/dev/null 2>&1 &
desktop=$!
finish() {
  if [ -n "$dpi" ]; then
    "$root/scripts/wine-run" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
  fi
  wine64 taskkill /f /im QuilletShot.exe >/dev/null 2>&1 || true
  kill "$desktop" 2>/dev/null || true
  wait "$desktop" 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT

# Wait for the dialog to appear in the desktop, then give it time to paint.
for _ in $(seq 1 60); do
  if xwininfo -root -tree 2>/dev/null | grep -q 'QuilletShot'; then
    break
  fi
  sleep 0.5
done
sleep 4
window=$(xwininfo -root -tree | awk '/QuilletShot/ {print $1; exit}')
if [ -n "$window" ]; then
  xwd -id "$window" -silent | convert xwd:- "$out"
else
  xwd -root -silent | convert xwd:- "$out"
fi

# A blank shot means nothing was drawn.
colours=$(convert "$out" -format %k info:)
echo "saved $out ($colours colours)"
[ "$colours" -gt 16 ]
