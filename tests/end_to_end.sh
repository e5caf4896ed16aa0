#!/usr/bin/env bash
# Both programs on one job: the engine runs the bundled example with few
# histories, then the viewer's picture is drawn from the file it wrote.
# Usage: end_to_end.sh <TSL2-calc> <Tessalin> <repository root>
set -euo pipefail
engine=$1 frontend=$2 root=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cp "$root"/data/ICRUSoft.dat "$root"/data/AirMUtr.dat "$root"/data/Mus.dat "$work"/
# Line 8 holds the number of histories.
sed '8s/.*/2.000E+05\r/' "$root"/example/joken.dat > "$work"/joken.dat
cd "$work"

printf '\n\n' | "$engine" > console.txt
tail -n 1 console.txt | grep -qx 'Stop - Program terminated.'
result=$(sed -n 2p joken.dat | tr -d '\r')
size=$(stat -c %s "$result")
[ "$size" -eq 14416077 ] || { echo "result file has $size bytes" >&2; exit 1; }

QT_QPA_PLATFORM=offscreen "$frontend" --render "$result" dose.png --plane 1
[ -s dose.png ] || { echo "no picture" >&2; exit 1; }
head -c 8 dose.png | od -An -tx1 | grep -q '89 50 4e 47' || { echo "not a PNG" >&2; exit 1; }

# A file cut short is refused with status 1 and a message.
head -c 1000000 "$result" > short.tsl2
if QT_QPA_PLATFORM=offscreen "$frontend" --render short.tsl2 short.png 2> err.txt; then
  echo "a truncated result was accepted" >&2; exit 1
fi
[ -s err.txt ]
echo "end to end: engine result and picture OK"
