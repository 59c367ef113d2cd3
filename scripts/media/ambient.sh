#!/usr/bin/env bash
# Makes the default ambient loop: soft rain (filtered noise) that loops without
# a seam, as an MP3. Same output on every run: sox's random generator is seeded
# (-R). Usage: ambient.sh OUT.mp3
set -euo pipefail
OUT=$1
LOOP=120   # seconds of the finished loop
XF=6       # seconds of crossfade at the loop point
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
SOX="sox -R -q"
LEN=$((LOOP + XF))

# Rain: pink noise without its rumble or its hiss, each channel on its own, the
# level drifting slowly; under it a little low brown noise, like distant water.
$SOX -n -r 44100 -c 2 -b 16 "$TMP/hiss.wav" synth $LEN pinknoise gain -12 \
  highpass 400 lowpass 5000 lowpass 7000 tremolo 0.07 25 gain -n -8
$SOX -n -r 44100 -c 2 -b 16 "$TMP/rumble.wav" synth $LEN brownnoise gain -12 \
  lowpass 350 highpass 40 gain -n -18
$SOX -m -v 1 "$TMP/hiss.wav" -v 1 "$TMP/rumble.wav" "$TMP/rain.wav" gain -n -3

# Seamless loop: the loop is rain[XF, LOOP+XF) with its last XF seconds faded
# over into rain[0, XF). It then ends on rain[XF] exactly where it starts again.
# Quarter-sine fades keep the level steady across the mix of unrelated noise.
$SOX "$TMP/rain.wav" "$TMP/body.wav" trim $XF $((LOOP - XF))
$SOX "$TMP/rain.wav" "$TMP/out.wav" trim $LOOP $XF fade q 0 $XF $XF
$SOX "$TMP/rain.wav" "$TMP/in.wav" trim 0 $XF fade q $XF
$SOX -m -v 1 "$TMP/out.wav" -v 1 "$TMP/in.wav" "$TMP/joint.wav"
$SOX "$TMP/body.wav" "$TMP/joint.wav" "$TMP/loop.wav"

# Constant bit rate keeps the size predictable (about 1.4 MB for two minutes).
lame --quiet --noreplaygain --resample 44.1 -b 96 -m j "$TMP/loop.wav" "$TMP/loop.mp3"
mv "$TMP/loop.mp3" "$OUT"
