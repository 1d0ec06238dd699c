#!/usr/bin/env bash
# Saves a screenshot of the extension's "Quillet" submenu, opened over a
# folder selection, as drawn by Wine.
#   menu_screenshot.sh <build>/bin/MenuShot.exe <out.png>
set -euo pipefail
exe=$(realpath "$1")
out=$2
root=$(cd "$(dirname "$0")/../.." && pwd)

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

export QL_BUILD_DIR=$(dirname "$(dirname "$exe")")
mkdir -p "$(dirname "$out")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }

"$root/scripts/wine-run" "$exe" "$(winpath "$work/ready")" "$(winpath "$work/done")" &
shot=$!
for _ in $(seq 1 120); do
  [ -f "$work/ready" ] && break
  sleep 0.25
done
[ -f "$work/ready" ] || { echo "the menu never opened" >&2; kill "$shot" 2>/dev/null; exit 1; }
xwd -root -silent | convert xwd:- -crop 360x440+0+0 +repage "$out"
touch "$work/done"
wait "$shot"
echo "saved $out"
