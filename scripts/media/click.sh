#!/usr/bin/env bash
# Makes the default key click: a soft, short wooden tick (a damped tone with a
# breath of filtered noise), 16-bit PCM mono WAV. Seeded (-R): same output on
# every run. Usage: click.sh OUT.wav
set -euo pipefail
OUT=$1
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
SOX="sox -R -q"
$SOX -n -r 44100 -c 1 -b 16 "$TMP/tone.wav" synth 0.035 sine 1100 fade q 0.001 0.035 0.033
$SOX -n -r 44100 -c 1 -b 16 "$TMP/noise.wav" synth 0.035 pinknoise gain -12 \
  bandpass 2500 1.2q fade q 0.0005 0.035 0.03
$SOX -m -v 0.6 "$TMP/tone.wav" -v 0.5 "$TMP/noise.wav" "$TMP/mix.wav" gain -n -10
mv "$TMP/mix.wav" "$OUT"
