#!/usr/bin/env bash
# Sets up, builds and starts Signovat on the bundled example installation:
# the main window where a display exists, a headless run otherwise.
set -euo pipefail
cd "$(dirname "$0")"

scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DSIGNOVAT_BUILD_TESTS=OFF > /dev/null
cmake --build build --target signovat

example="$(pwd)/examples/Hauptstrasse-Schulweg"
# A private settings file keeps this demonstration away from the user's own settings.
settings="$(pwd)/build/demo-settings.ini"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/src/app/signovat --settings "$settings" --data "$example"
fi

echo "Keine Anzeige gefunden: Signovat läuft ohne Fenster."
echo
build/src/app/signovat --settings "$settings" info --data "$example"
