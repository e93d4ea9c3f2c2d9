#!/usr/bin/env bash
# Every text the sources mark for translation has a finished translation in each .ts file:
# lupdate reads the sources into a copy of the file (so texts added since its last update
# count too), and a text new to it or left unfinished fails the test with its source.
set -euo pipefail
lupdate=$1
source_dir=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for ts in "$@"; do
    copy="$work/$(basename "$ts")"
    cp "$ts" "$copy"
    "$lupdate" -silent -no-obsolete -locations none -extensions cpp,h "$source_dir/src" -ts "$copy"
    left=$(python3 - "$copy" <<'PY'
import re, sys
text = open(sys.argv[1], encoding="utf-8").read()
pattern = re.compile(r"<source>(.*?)</source>\s*(?:<comment>.*?</comment>\s*)?"
                     r"<translation([^>]*)>(.*?)</translation>", re.S)
for source, attributes, translation in pattern.findall(text):
    if "unfinished" in attributes or "vanished" in attributes or not translation.strip():
        print("  " + source.replace("\n", "\\n")[:160])
PY
)
    if [ -n "$left" ]; then
        echo "$(basename "$ts"): texts without a finished translation:"
        echo "$left"
        status=1
    fi
done
[ $status -eq 0 ] && echo "every text is translated"
exit $status
