#!/usr/bin/env bash
# Times opening a generated book as whole processes, the floor beside it, taking turns so that both see
# the same machine load: bench/time-open-process.sh BUILD_DIR [RUNS] [COUNTS...]
# Prints the median wall time and CPU time (user + system) of each, their ratio, and the time per question.
set -euo pipefail
build=${1:?build folder, e.g. build/release}
runs=${2:-11}
counts=("${@:3}")
[ ${#counts[@]} -gt 0 ] || counts=(1000 10000 100000)
exe="$build/bench/bench_open_once"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

printf '%8s %10s %10s %10s %10s %7s %7s %12s\n' questions floor_wall open_wall floor_cpu open_cpu wall_x cpu_x open_us/q
for count in "${counts[@]}"; do
    book="$scratch/book$count.lnf"
    "$exe" make "$count" "$book"
    "$exe" open "$book" > /dev/null # warm the file cache
    : > "$scratch/floor_wall"; : > "$scratch/open_wall"; : > "$scratch/floor_cpu"; : > "$scratch/open_cpu"
    for ((i = 0; i < runs; i++)); do
        for mode in floor open; do
            start=$(date +%s%N)
            /usr/bin/time -f '%U %S' -o "$scratch/t" "$exe" "$mode" "$book" > /dev/null
            end=$(date +%s%N)
            read -r user sys < "$scratch/t"
            echo "$(((end - start) / 1000))e-6" >> "$scratch/${mode}_wall"
            awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }' >> "$scratch/${mode}_cpu"
        done
    done
    fw=$(median < "$scratch/floor_wall"); ow=$(median < "$scratch/open_wall")
    fc=$(median < "$scratch/floor_cpu"); oc=$(median < "$scratch/open_cpu")
    awk -v n="$count" -v fw="$fw" -v ow="$ow" -v fc="$fc" -v oc="$oc" 'BEGIN {
        printf "%8d %10.3f %10.3f %10.3f %10.3f %7.2f %7.2f %12.1f\n", n, fw, ow, fc, oc, ow / fw, oc / fc, ow / n * 1e6 }'
    rm -f "$book"
done
