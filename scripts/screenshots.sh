#!/usr/bin/env bash
# Regenerates the screenshots of the README (docs/*.png) and of the manual
# (docs/handbuch/bilder/*.png) from the example installation and runs, on a
# private Xvfb display. The build never runs this; it uses the committed PNGs.
#
#   scripts/screenshots.sh [DISPLAY]      (default :95)
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
display="${1:-:95}"

scripts/setup.sh
# Only this script needs a window manager, xwd and ImageMagick; twm quits at
# once without the X core fonts.
extras=(twm xfonts-base x11-apps imagemagick)
missing=()
for p in "${extras[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DSIGNOVAT_BUILD_TESTS=OFF > /dev/null
cmake --build build --target signovat signovat-emulator > /dev/null
signovat="$root/build/src/app/signovat"
emulator="$root/build/tools/emulator/signovat-emulator"
runs="$root/examples/transcripts"
bilder="$root/docs/handbuch/bilder"
example=/tmp/signovat-bilder/Anlagen/Hauptstrasse-Schulweg
mkdir -p "$bilder"

# A fixed, plain place: its paths show in the windows.
work=/tmp/signovat-bilder
rm -rf "$work"
mkdir -p "$work/Anlagen"
cp -r "$root/examples/Hauptstrasse-Schulweg" "$work/Anlagen/"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2> /dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp > /dev/null 2>&1 &
pids+=($!)
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo > /dev/null 2>&1 && break; sleep 0.1; done
# twm places new windows itself; left to its default it waits, holding the
# server, for a click that never comes.
printf 'RandomPlacement\nUsePPosition "on"\nNoTitle\n' > "$work/twmrc"
twm -f "$work/twmrc" > /dev/null 2>&1 &
pids+=($!)

# A pseudo-terminal pair stands in for the printer port COM 1, so no port
# message covers the windows.
socat pty,raw,echo=0,link="$work/printer-a" pty,raw,echo=0,link="$work/printer-b" &
pids+=($!)
for _ in $(seq 50); do [ -e "$work/printer-b" ] && break; sleep 0.1; done
cat > "$work/settings.ini" <<INI
[Ports]
COM1=$work/printer-b
INI

app_pid=""
start() {   # start ARGS...: a fresh signovat in its own start directory
  stop
  mkdir -p "$work/Service"
  (cd "$work/Service" && exec "$signovat" --settings "$work/settings.ini" "$@" > "$work/signovat.log" 2>&1) &
  app_pid=$!
}
stop() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2> /dev/null || true; wait "$app_pid" 2> /dev/null || true; fi
  app_pid=""
}
window() {  # window TITLE-REGEX: the id of the visible window, waiting for it
  local id=""
  for _ in $(seq 100); do
    id="$(xdotool search --onlyvisible --name "$1" 2> /dev/null | tail -n 1 || true)"
    [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || { echo "screenshots: kein Fenster \"$1\"" >&2; cat "$work/signovat.log" >&2; exit 1; }
  sleep 0.7   # let it paint
  echo "$id"
}
shoot() {   # shoot WINDOW-ID FILE.png
  xwd -silent -id "$1" | convert xwd:- "$2"
  echo "screenshots: ${2#"$root"/}"
}
keys() {    # keys WINDOW-ID KEY...
  local id="$1"; shift
  xdotool windowactivate --sync "$id" 2> /dev/null || xdotool windowfocus --sync "$id"
  xdotool key --clearmodifiers "$@"
  sleep 0.5
}

# The load report, then the main window with the example installation.
start --data "$example"
report="$(window '^Geladene Daten$')"
shoot "$report" "$bilder/ladebericht.png"
keys "$report" Return
main="$(window '^Signovat - Hauptstrasse-Schulweg$')"
shoot "$main" "$root/docs/screenshot.png"

# The folder picker of "Daten laden".
keys "$main" ctrl+o
picker="$(window '^Daten laden$')"
shoot "$picker" "$bilder/daten-laden.png"
keys "$picker" Escape

# The group names and the settings.
keys "$main" alt+d Return
names="$(window '^Gruppenbezeichnung$')"
shoot "$names" "$bilder/gruppenbezeichnung.png"
keys "$names" Escape
keys "$main" alt+e
settings="$(window '^Programmeinstellungen$')"
shoot "$settings" "$bilder/einstellungen.png"
# "Schnittstellen zuordnen ..." has no key; it stands at the right, below the port lists.
xdotool mousemove --window "$settings" 519 208 click 1
devices="$(window '^Schnittstellen zuordnen$')"
shoot "$devices" "$bilder/schnittstellen.png"
keys "$devices" Escape
keys "$settings" Escape

# The preview of program 1's target plan: the overview page, then the first chart page.
start --data "$example" --preview 1
keys "$(window '^Geladene Daten$')" Return
preview="$(window '^Drucker Vorschau Programm')"
shoot "$preview" "$bilder/vorschau-uebersicht.png"
keys "$preview" Next Right Right Right Right Right Right Right Right Right Right
shoot "$preview" "$root/docs/preview.png"
# The same preview over the whole screen: measuring point at 12 s, cursor at 37 s.
xdotool windowmove "$preview" 0 0 windowsize --sync "$preview" 1600 1000
keys "$preview" Right Right m $(printf 'Right %.0s' $(seq 25))
shoot "$preview" "$root/docs/preview-max.png"

# A run received live: "Drucken" / "Ist" / "KVX 40 / 10, 1200 Baud" on COM 1,
# the emulator printing the example printout on the other end of the pty pair.
start
main="$(window '^Signovat - Neu$')"
keys "$main" alt+r i 1
keys "$(window '^Bitte angeben$')" Return   # "Gruppenbezeichnungen löschen ?"
live="$(window '^Drucker Vorschau grafisch Ist')"
# It keeps the line open after the printout; five seconds play its 277 lines.
"$emulator" --printer-device "$work/printer-a" --start now --line-ms 15 \
  --transcript "$runs/kvx900-hauptstrasse-schulweg.txt" > /dev/null 2>&1 &
pids+=($!)
sleep 8
shoot "$live" "$root/docs/actualrun.png"
shoot "$(window '^Empfangene Druckerdaten$')" "$bilder/empfangene-daten.png"

# One in which group 3 skips its yellow, compared with the plan of the
# installation loaded before it.

start --data "$example" "$runs/Hauptstrasse-Schulweg-KVX900-Pfeil.DRI"
keys "$(window '^Geladene Daten$')" Return
run="$(window '^Drucker Vorschau Ist-Druck aus Datei')"
# "Soll/Ist" has no key; it stands below "Dr." in the window's first size.
xdotool mousemove --window "$run" 357 485 click 1
sleep 0.5
keys "$run" Next Next Right Right Right Right Right Right Right Right Right Right Right
shoot "$run" "$root/docs/sollist.png"

stop
echo "screenshots: fertig"
