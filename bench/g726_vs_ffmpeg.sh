#!/usr/bin/env bash
# G.726 at 24 kbit/s, encoding speed: `pelprobe encode --mode 1` against ffmpeg's g726le
# encoder, both as whole processes on the same input of 10 million 16-bit samples, run in
# turns; the median of each one's runs. ffmpeg is a yardstick for speed only: its coder is not
# the standard's, so its output is never compared with ours.
#
#   bench/g726_vs_ffmpeg.sh [PELPROBE] [RUNS]
#
# Without PELPROBE an optimised pelprobe is built in build/g726-bench. RUNS defaults to 5.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
pelprobe=${1:-}
runs=${2:-5}
samples=10000000
goal=1.5

if [ -z "$pelprobe" ]; then
  build=$root/build/g726-bench
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DPEL_TESTS=OFF >/dev/null
  cmake --build "$build" -j2 --target pelprobe >/dev/null
  pelprobe=$build/tools/pelprobe
fi
command -v ffmpeg >/dev/null || { echo "ffmpeg is not installed (scripts/install-deps.sh)" >&2; exit 1; }
[ -x "$pelprobe" ] || { echo "no pelprobe at $pelprobe" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Two tones and some noise, 16-bit little-endian at 8000 samples a second.
seconds=$((samples / 8000))
ffmpeg -hide_banner -loglevel error -f lavfi \
  -i "aevalsrc=0.3*sin(2*PI*440*t)+0.1*sin(2*PI*1777*t)+0.05*(2*random(0)-1):s=8000:d=$seconds" \
  -ac 1 -f s16le -y "$work/in.raw"
[ "$(stat -c %s "$work/in.raw")" -eq $((samples * 2)) ] || { echo "input has the wrong size" >&2; exit 1; }

ours=("$pelprobe" encode --mode 1 "$work/in.raw" "$work/ours.g726")
theirs=(ffmpeg -hide_banner -loglevel error -f s16le -ar 8000 -ac 1 -i "$work/in.raw"
        -c:a g726le -b:a 24k -f g726le -y "$work/theirs.g726")

# One run: "wall cpu" in seconds.
timed() {
  /usr/bin/time -f "%e %U %S" -o "$work/time" "$@"
  awk '{ printf "%s %.2f\n", $1, $2 + $3 }' "$work/time"
}

: >"$work/ours.times"
: >"$work/theirs.times"
for ((i = 0; i < runs; i++)); do
  timed "${ours[@]}" >>"$work/ours.times"
  timed "${theirs[@]}" >>"$work/theirs.times"
done

# Both coded every sample: three bits each (ours in whole blocks of 8192 samples).
ours_bytes=$(stat -c %s "$work/ours.g726")
theirs_bytes=$(stat -c %s "$work/theirs.g726")
[ "$theirs_bytes" -eq $((samples * 3 / 8)) ] || { echo "ffmpeg wrote $theirs_bytes bytes" >&2; exit 1; }
[ "$ours_bytes" -eq $(((samples + 8191) / 8192 * 3072)) ] || { echo "pelprobe wrote $ours_bytes bytes" >&2; exit 1; }

median() {  # column of a times file
  sort -n -k"$2" "$1" | awk -v c="$2" '{ v[NR] = $c } END { print v[int((NR + 1) / 2)] }'
}

ours_wall=$(median "$work/ours.times" 1)
ours_cpu=$(median "$work/ours.times" 2)
theirs_wall=$(median "$work/theirs.times" 1)
theirs_cpu=$(median "$work/theirs.times" 2)

awk -v n="$samples" -v runs="$runs" -v goal="$goal" \
    -v ow="$ours_wall" -v oc="$ours_cpu" -v tw="$theirs_wall" -v tc="$theirs_cpu" 'BEGIN {
  printf "input: %d samples of 16-bit PCM, median of %d runs each\n", n, runs
  printf "pelprobe encode --mode 1  wall %6.2f s  cpu %6.2f s  %6.2f M samples/s (wall)  %6.2f (cpu)\n", ow, oc, n / ow / 1e6, n / oc / 1e6
  printf "ffmpeg g726le 24k         wall %6.2f s  cpu %6.2f s  %6.2f M samples/s (wall)  %6.2f (cpu)\n", tw, tc, n / tw / 1e6, n / tc / 1e6
  printf "ratio ffmpeg / pelprobe:  wall %.2f  cpu %.2f  (goal: at least %.1f) %s\n", tw / ow, tc / oc, goal, (tw / ow >= goal ? "met" : "MISSED")
}'
