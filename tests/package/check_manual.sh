#!/usr/bin/env bash
# Checks the manual Tavimor.pdf against the program: every menu item's text
# and every tavimor-cli command appear in its text (pdftotext), it has a
# table of contents, and it holds at least one screenshot per dialog
# (pdfimages). Exit status 77 (skipped) without poppler-utils.
#   check_manual.sh Tavimor.pdf TAVIMOR_CLI
set -euo pipefail
pdf="$1"
cli="$2"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
for tool in pdftotext pdfimages; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$tool (poppler-utils) is not installed: skipped"; exit 77; }
done
text="$(pdftotext "$pdf" - | tr -s ' \n' ' ')"
missing=0
need() {
    if ! grep -qF -- "$1" <<<"$text"; then
        echo "not in the manual: $1"
        missing=$((missing + 1))
    fi
}

# Menu items and submenus: the labels of the menu templates ({"Label",
# cmd::... or {"Label", 0, items...), font sizes aside; the menu titles are
# among them.
while IFS= read -r label; do
    need "$label"
done < <(grep -o '{"[^"]*", \(cmd::k\|0, k\)' "$here/resources/menu_templates.cpp" |
         sed 's/^{"\([^"]*\)".*/\1/' | grep -v '^[0-9]*$' | sort -u)
# The dialogs' titles.
while IFS= read -r title; do
    need "$title"
done < <(grep -o '{"[A-Z]*DLG", "[^"]*"' "$here/resources/dialog_templates.cpp" |
         sed 's/.*, "\([^"]*\)"$/\1/' | sort -u)
# Every command of tavimor-cli, from its own list.
while IFS= read -r command; do
    need "tavimor-cli $command"
done < <("$cli" --help | sed -n 's/^  tavimor-cli \([a-z0-9]*\).*/\1/p')
need "Contents"

# One screenshot per dialog at least: the dialog templates, plus the main
# window, its menus, the views and overlays.
dialogs="$(grep -c '{"[A-Z]*DLG\|{"MSGDIALOG"' "$here/resources/dialog_templates.cpp")"
images="$(pdfimages -list "$pdf" | awk 'NR > 2 && $3 == "image"' | wc -l)"
echo "manual: $(pdfinfo "$pdf" 2>/dev/null | awk '/^Pages:/ {print $2}') pages, $images images, $dialogs dialogs"
if [ "$images" -lt "$dialogs" ]; then
    echo "the manual has $images images for $dialogs dialogs"
    missing=$((missing + 1))
fi
[ "$missing" -eq 0 ]
