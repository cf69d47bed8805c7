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

ensure_tree() {
    if [ ! -f "$data/$1.stamp" ]; then
        "$build/make_bench_tree" "$1" "$data/$1"
        touch "$data/$1.stamp"
    fi
}

benches=${BENCH_TREES:-small large window}
for tree in $benches; do
    [ "$tree" = window ] && continue
    ensure_tree "$tree"
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

# The same Run in the real window, side by side with tovrik-cut on the small tree (under a virtual display
# when there is no display).
if echo " $benches " | grep -q ' window '; then
    ensure_tree small
    if [ -n "${DISPLAY:-}" ]; then where="on display $DISPLAY"; else where="under Xvfb"; fi
    in_display() { if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a -s "-screen 0 1024x768x24" "$@"; fi; }
    : > "$data/.window"; : > "$data/.cli"; : > "$data/.ratios"
    i=0
    while [ $i -lt "$rounds" ]; do
        rm -rf "$data/out-cut"; mkdir -p "$data/out-cut"
        sync
        w=$(in_display "$build/window_run" "$data/small/*.*" "$data/out-cut/")
        rm -rf "$data/out-cut"; mkdir -p "$data/out-cut"
        c=$(measure "$cut" --quiet "$data/small" "$data/out-cut")
        echo "$w" >> "$data/.window"; echo "${c% *}" >> "$data/.cli"
        awk "BEGIN { print $w / ${c% *} }" >> "$data/.ratios"
        [ -z "${BENCH_VERBOSE:-}" ] || echo "    round $((i + 1)): window ${w} s, tovrik-cut ${c% *} s"
        i=$((i + 1))
    done
    rm -rf "$data/out-cut"
    printf '  window on small: Run %.3f s, tovrik-cut %.3f s, median ratio %.3f (%s)\n' "$(median < "$data/.window")" \
        "$(median < "$data/.cli")" "$(median < "$data/.ratios")" "$where"
    rm -f "$data/.window" "$data/.cli" "$data/.ratios" "$data/.mem"
fi
