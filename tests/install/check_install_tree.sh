#!/usr/bin/env bash
# check_install_tree.sh BUILD_DIR EXPECTED_FILES VERSION
set -euo pipefail
build="$1" expected="$2" version="$3"

prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

status=0
fail() { echo "FEHLER: $*" >&2; status=1; }

# Every file in place, and nothing else.
if ! diff -u "$expected" <(cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort); then
  fail "installierte Dateien weichen von $(basename "$expected") ab (- erwartet, + installiert)"
fi

# --version: "Signovat <project version>", then the Qt it runs on.
mapfile -t lines < <(QT_QPA_PLATFORM=offscreen "$prefix/bin/signovat" --version)
[ "${lines[0]:-}" = "Signovat $version" ] || fail "--version, Zeile 1: \"${lines[0]:-}\""
[[ "${lines[1]:-}" =~ ^Qt\ 6\.[0-9]+\.[0-9]+$ ]] || fail "--version, Zeile 2: \"${lines[1]:-}\""

desktop-file-validate "$prefix/share/applications/org.signovat.Signovat.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/org.signovat.Signovat.metainfo.xml" > /dev/null \
  || fail "appstreamcli validate"
# groff's warnings (--warnings) land on stderr; the page must render without any.
man_page="$prefix/share/man/man1/signovat.1"
man_warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$man_page" 2>&1 > /dev/null)"
[ -z "$man_warnings" ] || fail "man -l: $man_warnings"

# The man page names every command and every option that --help names.
man_text="$(LC_ALL=C.UTF-8 MANWIDTH=200 man -E UTF-8 -l "$man_page" 2> /dev/null)"
help_text="$(QT_QPA_PLATFORM=offscreen "$prefix/bin/signovat" --help)"
for word in $(grep -oE -- '--[a-z][a-z0-9-]*' <<< "$help_text" | sort -u) \
            $(sed -nE 's/^  signovat ([a-z][a-z-]*)( .*)?$/\1/p' <<< "$help_text" | sort -u); do
  grep -qF -- "$word" <<< "$man_text" || fail "die Handbuchseite nennt $word nicht"
done

exit $status
