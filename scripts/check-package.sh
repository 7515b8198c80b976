#!/usr/bin/env bash
# Builds the Debian package from a finished build tree and checks it the way
# a technician's machine meets it: its contents, "apt-get install ./….deb",
# the installed program, and "apt-get purge" leaving no file behind.
#
#   scripts/check-package.sh BUILD_DIR
#
# It installs into the running system, so it runs only as root (CI runs it
# on a throwaway machine); otherwise it says so and does nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:?Aufruf: scripts/check-package.sh BUILD_DIR}"

if [ "$(id -u)" -ne 0 ]; then
  echo "check-package: übersprungen – installiert das Paket ins System und läuft daher nur als root."
  exit 0
fi
if dpkg-query -W -f='${Status}' signovat 2>/dev/null | grep -q "ok installed"; then
  echo "check-package: ein Paket signovat ist schon installiert; die Prüfung würde es entfernen." >&2
  exit 1
fi

fail() { echo "check-package: FEHLER: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB > cpack.log 2>&1) || { cat "$build/cpack.log"; fail "cpack -G DEB"; }
deb="$(realpath "$build"/signovat_*_amd64.deb)"
echo "check-package: $(basename "$deb"), $(stat -c %s "$deb") Bytes"

# The package holds what the install rules put in place (the same list the
# install_tree test checks), below /usr.
expected="$(sed 's|^|usr/|' tests/install/expected-files.txt)"
listed="$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./||' | LC_ALL=C sort)"
diff -u <(echo "$expected") <(echo "$listed") || fail "Paketinhalt weicht von tests/install/expected-files.txt ab"

snapshot() { find /usr -xdev | LC_ALL=C sort; }
# The triggers rewrite the desktop, MIME and icon caches on install and purge;
# written once beforehand, a cache the fresh machine did not have yet does not
# count as left behind.
if command -v update-desktop-database > /dev/null; then update-desktop-database -q /usr/share/applications; fi
if command -v update-mime-database > /dev/null; then update-mime-database /usr/share/mime; fi
if command -v gtk-update-icon-cache > /dev/null; then gtk-update-icon-cache -q -t -f /usr/share/icons/hicolor; fi
snapshot > "$build/usr-before.txt"

installed_packages() { dpkg-query -W -f='${Package}\n' | LC_ALL=C sort; }
installed_packages > "$build/packages-before.txt"

export DEBIAN_FRONTEND=noninteractive
# Without the recommended desktop helpers: they would stay behind the purge.
apt-get install -y --no-install-recommends "$deb" | tee "$build/apt-install.log" | tail -n 4

dpkg -L signovat > "$build/dpkg-L.txt"
for f in /usr/bin/signovat /usr/share/applications/org.signovat.Signovat.desktop \
         /usr/share/mime/packages/org.signovat.Signovat.xml /usr/share/metainfo/org.signovat.Signovat.metainfo.xml; do
  grep -qx "$f" "$build/dpkg-L.txt" || fail "dpkg -L signovat nennt $f nicht"
done

# The triggers of the desktop and MIME databases took the new files in.
if command -v update-desktop-database > /dev/null; then
  grep -q '^application/x-signovat-run=.*org.signovat.Signovat.desktop' /usr/share/applications/mimeinfo.cache \
    || fail "die Desktop-Datenbank kennt org.signovat.Signovat.desktop nicht"
fi
if command -v update-mime-database > /dev/null; then
  grep -qx 'application/x-signovat-run' /usr/share/mime/types || fail "die MIME-Datenbank kennt application/x-signovat-run nicht"
fi

/usr/bin/signovat --version
/usr/bin/signovat info --data /usr/share/signovat/examples/Hauptstrasse-Schulweg > /dev/null \
  || fail "signovat info auf der installierten Beispielanlage"

# With the libraries the install pulled in, should it have needed any.
pulled_in="$(LC_ALL=C comm -13 "$build/packages-before.txt" <(installed_packages) | grep -vx signovat || true)"
# shellcheck disable=SC2086  # one package name a line
apt-get purge -y signovat $pulled_in > /dev/null
snapshot > "$build/usr-after.txt"
left="$(LC_ALL=C comm -13 "$build/usr-before.txt" "$build/usr-after.txt")"
[ -z "$left" ] || fail "nach apt-get purge neu unter /usr: $left"
while read -r f; do
  [ "$f" = "/." ] || [ -d "$f" ] || [ ! -e "$f" ] || fail "nach apt-get purge noch da: $f"
done < "$build/dpkg-L.txt"
echo "check-package: installiert, ausgeführt und restlos entfernt."
