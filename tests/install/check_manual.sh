#!/usr/bin/env bash
# check_manual.sh MANUAL.pdf CHAPTER.md... — the PDF's text holds the title
# of every chapter, and the table of contents and page numbers are there.
set -euo pipefail
pdf="$1"; shift
text="$(pdftotext -layout "$pdf" - | tr -s ' ')"
status=0
for chapter in "$@"; do
  title="$(sed -n 's/^# //p' "$chapter" | head -n 1)"
  [ -n "$title" ] || { echo "FEHLER: $chapter hat keine Kapitelüberschrift" >&2; status=1; continue; }
  count="$(grep -cF -- "$title" <<< "$text" || true)"
  # Once in the contents, once as the heading.
  [ "$count" -ge 2 ] || { echo "FEHLER: \"$title\" steht ${count}-mal im Handbuch" >&2; status=1; }
done
grep -q '^Inhalt' <<< "$text" || { echo "FEHLER: kein Inhaltsverzeichnis" >&2; status=1; }
pages="$(pdfinfo "$pdf" | sed -n 's/^Pages: *//p')"
grep -qF "Seite $pages von $pages" <<< "$text" || { echo "FEHLER: keine Seitenzahl \"Seite $pages von $pages\"" >&2; status=1; }
exit $status
