#!/bin/sh
# Makes the fuzzer's seed inputs, one tiny file per input format and layout:
#   make_seeds.sh FOLDER
set -eu
out=$1
mkdir -p "$out"
cd "$out"
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }

sox -n -r 44100 -b 16 -c 2 s16.wav synth 0.02 sine 440
sox -n -r 8000 -b 8 -c 1 u8.wav synth 0.05 sine 440
sox -n -r 96000 -b 24 -c 3 s24.wav synth 0.01 sine 440
sox -n -r 48000 -e floating-point -b 32 -c 1 f32.wav synth 0.02 sine 440
sox -n -r 22050 -b 16 -c 6 six.wav synth 0.01 sine 440
sox -n -r 44100 -b 16 -c 2 s16.aiff synth 0.02 sine 440
sox -n -r 44100 -b 16 -c 1 -L s16.aifc synth 0.02 sine 440
sox -n -r 32000 -b 16 -c 2 s16.flac synth 0.05 sine 440
sox -n -r 44100 -b 16 -c 2 ref.wav synth 0.1 sine 440
ff -i ref.wav -c:a pcm_s16le -write_bext 1 -f wav bext.bwf
ff -i ref.wav -c:a libvorbis -q:a 0 v.ogg
ff -i s16.wav -ac 1 -c:a libvorbis -q:a 0 mono.ogg
cat v.ogg mono.ogg > chained.ogg && rm mono.ogg
ff -i ref.wav -c:a libmp3lame -b:a 32k m.mp3
ff -i ref.wav -c:a wmav2 -b:a 32k w.wma
ff -i ref.wav -c:a wmav1 -b:a 32k -f asf w.asf
ff -f lavfi -i testsrc=size=16x16:rate=5 -i ref.wav -map 0:v -map 1:a -shortest -c:v wmv1 -c:a wmav2 -b:a 32k v.wmv
rm ref.wav
