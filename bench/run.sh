#!/bin/sh
# Benchmark (not a test): wall time and peak memory of orvo-convert, sox and
# ffmpeg side by side, on the same conversions to 44.1 kHz 16-bit WAV:
#   - a 10-minute 48 kHz 24-bit stereo WAV, the same as FLAC and as MP3;
#   - 200 one-second 44.1 kHz mono samples (one orvo-convert run for the
#     folder; one sox or ffmpeg process per file, as they would be used).
# Goals: on the 10-minute WAV, wall time at most ffmpeg's and peak memory at
# most the converted buffer (channels x frames x 4 bytes) + 64 MiB; the 200
# samples faster than one ffmpeg process per file.
#   ORVO_CONVERT   the binary (default: build/release/bin/orvo-convert, built if missing)
#   ORVO_BENCH_DIR scratch folder for inputs and outputs (default: a temporary one)
#   ORVO_BENCH_RUNS runs of each 10-minute conversion, the fastest counted (default 3)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
tool=${ORVO_CONVERT:-$root/build/release/bin/orvo-convert}

if [ ! -x "$tool" ]; then
    cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$root/build/release" -j"$(nproc)" --target orvo-convert >/dev/null
fi

work=${ORVO_BENCH_DIR:-$(mktemp -d)}
mkdir -p "$work/in" "$work/samples" "$work/out"
cd "$work"
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }

echo "Making the reference inputs in $work ..." >&2
[ -f in/long.wav ] || sox -n -r 48000 -b 24 -c 2 in/long.wav synth 600 sine 100-8000 sine 5000-300 gain -6
[ -f in/long.flac ] || sox in/long.wav in/long.flac
[ -f in/long.mp3 ] || ff -i in/long.wav -c:a libmp3lame -b:a 192k in/long.mp3
if [ "$(ls samples | wc -l)" -ne 200 ]; then
    i=0
    while [ $i -lt 200 ]; do
        sox -n -r 44100 -b 16 -c 1 "samples/s$i.wav" synth 1 sine $((200 + i * 10)) gain -6
        i=$((i + 1))
    done
fi

runs=${ORVO_BENCH_RUNS:-3}

# Runs a command under /usr/bin/time; prints "wall-seconds peak-KiB".
measure() {
    /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" >/dev/null 2>&1
    cat "$work/time.txt"
}

# The same, $runs times: the shortest wall time and the largest peak, so
# that other work on the machine weighs less.
measure_best() {
    i=0
    while [ $i -lt "$runs" ]; do
        measure "$@"
        i=$((i + 1))
    done | awk 'NR == 1 || $1 < w { w = $1 } $2 > m { m = $2 } END { print w, m }'
}

row() {  # case, tool, "wall peak"
    set -- "$1" "$2" $3
    awk -v c="$1" -v t="$2" -v w="$3" -v m="$4" 'BEGIN { printf "%-14s %-13s %8.2f s %9.1f MiB\n", c, t, w, m / 1024 }'
}

printf "%-14s %-13s %10s %13s\n" "input" "tool" "wall" "peak memory"

for input in long.wav long.flac long.mp3; do
    rm -f out/*
    orvo=$(measure_best "$tool" --overwrite -o out "in/$input")
    row "$input" orvo-convert "$orvo"
    row "$input" sox "$(measure_best sox "in/$input" -r 44100 -b 16 out/sox.wav)"
    ffres=$(measure_best ffmpeg -nostdin -y -i "in/$input" -ar 44100 -c:a pcm_s16le out/ffmpeg.wav)
    row "$input" ffmpeg "$ffres"

    if [ "$input" = long.wav ]; then
        wavOrvo=$orvo
        wavFfmpeg=$ffres
    fi
done

rm -f out/*
samplesOrvo=$(measure "$tool" --overwrite -o out samples)
row "200 samples" orvo-convert "$samplesOrvo"
row "200 samples" "sox x200" "$(measure sh -c 'for f in samples/*.wav; do sox "$f" -r 44100 -b 16 "out/sox-$(basename "$f")"; done')"
samplesFfmpeg=$(measure sh -c 'for f in samples/*.wav; do ffmpeg -nostdin -loglevel error -y -i "$f" -ar 44100 -c:a pcm_s16le "out/ff-$(basename "$f")"; done')
row "200 samples" "ffmpeg x200" "$samplesFfmpeg"

# The goals, as figures.
bufferMiB=$(awk 'BEGIN { printf "%.1f", 2 * 26460000 * 4 / 1048576 }')
set -- $wavOrvo $wavFfmpeg $samplesOrvo $samplesFfmpeg
awk -v ow="$1" -v om="$2" -v fw="$3" -v sw="$5" -v sf="$7" -v buf="$bufferMiB" 'BEGIN {
    printf "\n10-minute WAV: wall time ratio orvo-convert / ffmpeg = %.2f (goal <= 1.00)\n", ow / fw
    printf "10-minute WAV: peak memory %.1f MiB, limit buffer %.1f + 64 = %.1f MiB\n", om / 1024, buf, buf + 64
    printf "200 samples: orvo-convert %.2f s, ffmpeg per file %.2f s (goal: faster)\n", sw, sf
}'
