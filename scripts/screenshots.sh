#!/usr/bin/env bash
# Takes the README's pictures of the window: docs/window-100.png and docs/window-150.png, the
# window on the built-in definitions workbook after a search for "energy", under Xvfb with the
# openbox window manager, at 100% and at 150% scaling. Run after scripts/build.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${KESTRUNE_BUILD_DIR:-build}"
workbook="$PWD/$build_dir/data/Kestrune-objects.xlsx"
mkdir -p docs

shoot() { # scale, picture
  local home display_file
  home=$(mktemp -d)
  display_file="$home/display"
  mkdir -p "$home/Kestrune"
  printf '[FormMain]\r\nEDITObjDefFile=%s\r\n' "$workbook" >"$home/Kestrune/Kestrune.ini"
  Xvfb -displayfd 1 -screen 0 1400x900x24 -nolisten tcp >"$display_file" 2>/dev/null &
  local server_pid=$!
  until [ -s "$display_file" ]; do sleep 0.1; done
  export DISPLAY=":$(cat "$display_file")"
  openbox >/dev/null 2>&1 &
  local openbox_pid=$!
  until wmctrl -m >/dev/null 2>&1; do sleep 0.1; done
  XDG_CONFIG_HOME="$home" QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$1" "$build_dir/app/Kestrune" 2>/dev/null &
  local window_pid=$!
  local id=""
  until [ -n "$id" ]; do sleep 0.2; id=$(wmctrl -l | awk '/Kestrune 5.0$/ {print $1}'); done
  sleep 2
  wmctrl -i -r "$id" -e 0,0,0,-1,-1
  sleep 0.5
  # The text box is the seventh control of the Filter group.
  xdotool windowactivate --sync "$id" key --delay 50 Tab Tab Tab Tab Tab Tab
  xdotool type --delay 30 "energy"
  xdotool key Return
  sleep 2
  local area
  area=$(xwininfo -id "$id" -frame | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}')
  # shellcheck disable=SC2086 # the four numbers of the area
  xwd -root -silent | xwdtopnm 2>/dev/null | pnmcut $area | pnmtopng >"$2"
  wmctrl -i -c "$id"
  wait "$window_pid" || true
  kill "$openbox_pid" "$server_pid"
  wait "$openbox_pid" "$server_pid" 2>/dev/null || true
  rm -rf "$home"
}

shoot 1 docs/window-100.png
shoot 1.5 docs/window-150.png
echo "Pictures in docs/"
