#!/usr/bin/env bash
# Compares the speed of two velkor-tool binaries: runs their bench and perft alternately a few
# times (it builds nothing) and prints the median times and the median ratio NEW / OLD.
#   compare.sh OLD_TOOL NEW_TOOL [RUNS] [BENCH_DEPTH] [PERFT_DEPTH]   (defaults 5, 10, 6)
#   compare.sh --stockfish NEW_TOOL [RUNS] [PERFT_DEPTH]   perft against Stockfish's "go perft"
#   compare.sh --threads N TOOL [RUNS] [BENCH_DEPTH]   the bench's time to depth and node rate with
#                                                     N search threads against one
# Both must report the same node counts, or the comparison is void. Run it on a quiet machine.
set -eu

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
now() { date +%s.%N; }

if [ "$1" = --stockfish ]; then
    tool=$(readlink -f "$2"); runs=${3:-5}; depth=${4:-6}
    stockfish=$(command -v stockfish || echo /usr/games/stockfish)
    : > /tmp/velkor-sf.ratio
    for ((i = 1; i <= runs; ++i)); do
        start=$(now); sfNodes=$(printf 'position startpos\ngo perft %s\nquit\n' "$depth" | "$stockfish" | awk '/Nodes searched/ { print $3 }'); sf=$(awk -v a="$(now)" -v b="$start" 'BEGIN { print a - b }')
        start=$(now); ourNodes=$("$tool" perft "$depth" | awk '$1 == "nodes" { print $2 }'); ours=$(awk -v a="$(now)" -v b="$start" 'BEGIN { print a - b }')
        [ "$sfNodes" = "$ourNodes" ] || { echo "node counts differ: stockfish $sfNodes, velkor $ourNodes"; exit 1; }
        echo "$sf $ours" >> /tmp/velkor-sf.ratio
    done
    printf 'perft %s (%s nodes), whole processes: stockfish %.3f s, velkor %.3f s, median ratio velkor/stockfish %.2f over %d alternating runs\n' \
        "$depth" "$ourNodes" "$(awk '{ print $1 }' /tmp/velkor-sf.ratio | median)" "$(awk '{ print $2 }' /tmp/velkor-sf.ratio | median)" \
        "$(awk '{ print $2 / $1 }' /tmp/velkor-sf.ratio | median)" "$runs"
    rm -f /tmp/velkor-sf.ratio
    exit 0
fi

if [ "$1" = --threads ]; then
    threads=$2; tool=$(readlink -f "$3"); runs=${4:-3}; depth=${5:-12}
    : > /tmp/velkor-threads.runs
    for ((i = 1; i <= runs; ++i)); do
        one=$("$tool" bench "$depth" 0 1 | awk '$1 == "seconds" { s = $2 } $1 == "allnps" { n = $2 } END { print s, n }')
        many=$("$tool" bench "$depth" 0 "$threads" | awk '$1 == "seconds" { s = $2 } $1 == "allnps" { n = $2 } END { print s, n }')
        echo "$one $many" >> /tmp/velkor-threads.runs
    done
    printf 'bench to depth %s: 1 thread %.2f s, %s threads %.2f s, median time ratio %.3f; nodes per second %.0f and %.0f (ratio %.2f), over %d alternating runs\n' \
        "$depth" "$(awk '{ print $1 }' /tmp/velkor-threads.runs | median)" "$threads" "$(awk '{ print $3 }' /tmp/velkor-threads.runs | median)" \
        "$(awk '{ print $3 / $1 }' /tmp/velkor-threads.runs | median)" "$(awk '{ print $2 }' /tmp/velkor-threads.runs | median)" \
        "$(awk '{ print $4 }' /tmp/velkor-threads.runs | median)" "$(awk '{ print $4 / $2 }' /tmp/velkor-threads.runs | median)" "$runs"
    rm -f /tmp/velkor-threads.runs
    exit 0
fi

old=$(readlink -f "$1")
new=$(readlink -f "$2")
runs=${3:-5}
benchDepth=${4:-10}
perftDepth=${5:-6}
work=$(mktemp -d /tmp/velkor-compare-XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"

# The value of a "name value" line of a run's output.
field() { awk -v name="$1" '$1 == name { print $2; exit }' "$2"; }

for what in bench perft; do
    : > "$what.old"; : > "$what.new"; : > "$what.ratio"
    for ((i = 1; i <= runs; ++i)); do
        for side in old new; do
            binary=$old; [ "$side" = new ] && binary=$new
            if [ "$what" = bench ]; then "$binary" bench "$benchDepth" > run.txt; else "$binary" perft "$perftDepth" > run.txt; fi
            echo "$(field seconds run.txt) $(field nodes run.txt)" >> "$what.$side"
        done
    done
    oldNodes=$(awk '{ print $2 }' "$what.old" | sort -u)
    newNodes=$(awk '{ print $2 }' "$what.new" | sort -u)
    if [ "$oldNodes" != "$newNodes" ]; then
        echo "$what: node counts differ (old $oldNodes, new $newNodes): no comparison"; exit 1
    fi
    paste "$what.old" "$what.new" | awk '{ print $3 / $1 }' > "$what.ratio"
    printf '%s (%s nodes): old %.3f s, new %.3f s, median ratio new/old %.3f over %d alternating runs\n' \
        "$what" "$oldNodes" "$(awk '{ print $1 }' "$what.old" | median)" "$(awk '{ print $1 }' "$what.new" | median)" \
        "$(median < "$what.ratio")" "$runs"
done
