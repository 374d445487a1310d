#!/bin/sh
# Makes one short sample in every input format from one reference signal:
#   make_format_samples.sh FOLDER
# ref.wav is 1.5 s of 44.1 kHz 16-bit stereo, a different sweep per channel
# (never periodic, so that a shifted start shows); the others are made from it.
set -eu
out=$1
mkdir -p "$out"
cd "$out"
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }

sox -n -r 44100 -b 16 -c 2 ref.wav synth 1.5 sine 300-3000 sine 2500-400 gain -3
sox -n -r 48000 -b 24 -c 1 ref48k.wav synth 1.0 sine 200-4000 gain -6

sox ref.wav ref.aiff
sox ref.wav ref.flac
ff -i ref.wav -c:a libvorbis -q:a 5 ref.ogg
ff -i ref.wav -c:a pcm_s16le -write_bext 1 -metadata description=reference -f wav ref.bwf
ff -i ref.wav -c:a libmp3lame -b:a 192k ref.mp3
ff -i ref48k.wav -c:a libmp3lame -b:a 128k ref48k.mp3
ff -i ref.wav -c:a wmav2 -b:a 128k ref.wma
ff -i ref.wav -c:a wmav1 -b:a 128k -f asf ref.asf
cp ref.asf ref.wm
# A video container whose first stream is the picture, not the sound.
ff -f lavfi -i testsrc=size=64x48:rate=10 -i ref.wav -map 0:v -map 1:a -shortest \
   -c:v wmv2 -c:a wmav2 -b:a 128k ref.wmv
