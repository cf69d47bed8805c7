#!/bin/sh
# Times tovrik-cut against `cp -r` of the same trees, alternating, and prints the median ratio and the
# peak memory of each.   usage: run.sh BUILD_DIR [DATA_DIR]   (DATA_DIR defaults to BUILD_DIR/bench-data)
set -eu
build=$(cd "$1" && pwd)
data=${2:-$build/bench-data}
rounds=${BENCH_ROUNDS:-5}
cut="$build/tovrik-cut"
mkdir -p "$data"
data=$(cd "$data" && pwd)

echo "tovrik benchmarks: $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "  data folder: $data ($(df -T "$data" | awk 'NR==2 {print $2}'))"
echo "  machine: $(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GiB", $2/1048576}' /proc/meminfo), $(uname -sr)"
echo "  cp: $(cp --version | head -n 1); rounds: $rounds"

now() { date +%s.%N; }

# Runs a command under /usr/bin/time; prints "seconds peak-KiB".
measure() {
    sync
    start=$(now)
    /usr/bin/time -f '%M' -o "$data/.mem" "$@" >/dev/null
    end=$(now)
    echo "$(awk "BEGIN { print $end - $start }") $(cat "$data/.mem")"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

for tree in ${BENCH_TREES:-small large}; do
    if [ ! -f "$data/$tree.stamp" ]; then
        "$build/make_bench_tree" "$tree" "$data/$tree"
        touch "$data/$tree.stamp"
    fi
    : > "$data/.ratios"; : > "$data/.cp"; : > "$data/.cut"; : > "$data/.cpmem"; : > "$data/.cutmem"
    # One round of each first, not counted: it brings the trees and the memory the copies land in to the
    # same state for both.
    rm -rf "$data/out-cp" "$data/out-cut"; mkdir -p "$data/out-cut"
    measure cp -r "$data/$tree" "$data/out-cp" >/dev/null
    measure "$cut" --quiet "$data/$tree" "$data/out-cut" >/dev/null
    i=0
    while [ $i -lt "$rounds" ]; do
        rm -rf "$data/out-cp" "$data/out-cut"
        mkdir -p "$data/out-cut"
        if [ $((i % 2)) -eq 0 ]; then
            c=$(measure cp -r "$data/$tree" "$data/out-cp")
            rm -rf "$data/out-cp"
            t=$(measure "$cut" --quiet "$data/$tree" "$data/out-cut")
        else
            t=$(measure "$cut" --quiet "$data/$tree" "$data/out-cut")
            rm -rf "$data/out-cut"
            c=$(measure cp -r "$data/$tree" "$data/out-cp")
        fi
        echo "${c% *}" >> "$data/.cp"; echo "${c#* }" >> "$data/.cpmem"
        echo "${t% *}" >> "$data/.cut"; echo "${t#* }" >> "$data/.cutmem"
        awk "BEGIN { print ${t% *} / ${c% *} }" >> "$data/.ratios"
        [ -z "${BENCH_VERBOSE:-}" ] || echo "    round $((i + 1)): cp -r ${c% *} s, tovrik-cut ${t% *} s"
        i=$((i + 1))
    done
    rm -rf "$data/out-cp" "$data/out-cut"
    printf '  %-5s  cp -r %.3f s, %d KiB peak   tovrik-cut %.3f s, %d KiB peak   median ratio %.3f\n' "$tree" \
        "$(median < "$data/.cp")" "$(sort -n "$data/.cpmem" | tail -n 1)" \
        "$(median < "$data/.cut")" "$(sort -n "$data/.cutmem" | tail -n 1)" "$(median < "$data/.ratios")"
done
rm -f "$data/.ratios" "$data/.cp" "$data/.cut" "$data/.cpmem" "$data/.cutmem" "$data/.mem"
