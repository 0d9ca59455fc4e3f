#!/usr/bin/env bash
# Times `velkor-tool pgn2game` and `pgn-extract -D -s` (Debian pgn-extract) on the same PGN
# collection, alternately, and prints each run's seconds, games per second and peak resident
# memory (from /usr/bin/time -v), then the medians.
#   pgn_bench.sh COLLECTION.pgn [RUNS] [VELKOR_TOOL]      (make one with make_collection.sh)
set -eu
here=$(dirname "$(readlink -f "$0")")
collection=$(readlink -f "$1")
runs=${2:-3}
tool=$(readlink -f "${3:-$here/../../build/velkor-tool}")
command -v pgn-extract >/dev/null || export PATH="$PATH:/usr/games"
for needed in pgn-extract /usr/bin/time; do
    command -v "$needed" >/dev/null || { echo "$needed is not installed"; exit 2; }
done
work=$(mktemp -d /tmp/velkor-pgnbench-XXXXXX)
trap 'rm -rf "$work"' EXIT
games=$(grep -c '^\[Result ' "$collection")

# One run: seconds and peak kilobytes of the command, as "SECONDS KB".
measure() {
    /usr/bin/time -v "$@" > /dev/null 2> "$work/time.txt" || { cat "$work/time.txt"; exit 1; }
    awk -F': ' '/Elapsed \(wall clock\)/{n=split($2,t,":"); s=0; for(i=1;i<=n;i++) s=s*60+t[i]}
                /Maximum resident set size/{kb=$2} END{printf "%.2f %d\n", s, kb}' "$work/time.txt"
}
median() { sort -n | awk '{v[NR]=$1} END{print v[int((NR+1)/2)]}'; }

: > "$work/velkor.txt"; : > "$work/extract.txt"
for run in $(seq "$runs"); do
    rm -f "$work/out.game"
    read -r vs vkb < <(cd "$work" && measure "$tool" pgn2game "$collection" "$work/out.game")
    stored=$(stat -c %s "$work/out.game")
    read -r es ekb < <(cd "$work" && measure pgn-extract -D -s -o "$work/out.pgn" "$collection")
    rm -f "$work/out.pgn"
    echo "$vs $vkb" >> "$work/velkor.txt"; echo "$es $ekb" >> "$work/extract.txt"
    printf 'run %d: velkor-tool %.2f s %.0f games/s %d KiB   pgn-extract -D -s %.2f s %.0f games/s %d KiB\n' \
        "$run" "$vs" "$(echo "$games / $vs" | bc -l)" "$vkb" "$es" "$(echo "$games / $es" | bc -l)" "$ekb"
done
vs=$(cut -d' ' -f1 "$work/velkor.txt" | median); vkb=$(cut -d' ' -f2 "$work/velkor.txt" | median)
es=$(cut -d' ' -f1 "$work/extract.txt" | median); ekb=$(cut -d' ' -f2 "$work/extract.txt" | median)
echo "$games games; game file $stored bytes"
printf 'median velkor-tool pgn2game: %.2f s, %.0f games/s, %d KiB peak\n' "$vs" "$(echo "$games / $vs" | bc -l)" "$vkb"
printf 'median pgn-extract -D -s:    %.2f s, %.0f games/s, %d KiB peak\n' "$es" "$(echo "$games / $es" | bc -l)" "$ekb"
printf 'pgn-extract time / velkor-tool time: %.2f\n' "$(echo "$es / $vs" | bc -l)"
