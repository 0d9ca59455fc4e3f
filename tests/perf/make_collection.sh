#!/usr/bin/env bash
# Writes a large, reproducible PGN collection for measuring the game-file tools: every prefix of
# every game of the PGN test data (from the first move on), each with each of the three results.
# Prefixes shared by many games (the openings) come many times over, so the collection has
# duplicates as real dumps do: 845,829 games, of which 749,025 distinct.
#   make_collection.sh OUTPUT.pgn [VELKOR_TOOL]
set -eu
here=$(dirname "$(readlink -f "$0")")
output=$1
tool=$(readlink -f "${2:-$here/../../build/velkor-tool}")
work=$(mktemp -d /tmp/velkor-collection-XXXXXX)
trap 'rm -rf "$work"' EXIT
for pgn in carlsen-pgnmentor twic-sample-232games lichess-2012-32games immortal-games; do
    "$tool" pgn2game "$here/../data/pgn/$pgn.pgn" "$work/all.game" > /dev/null || true
done
"$tool" game2pgn "$work/all.game" "$work/all.pgn" > /dev/null
# Each game is a Result line and a line of numbered coordinate moves ending in its result.
awk '
    /^1\./ {
        moves = ""; plies = 0
        for (i = 1; i < NF; i++) {
            if ($i ~ /\.$/) { moves = moves " " $i; continue }
            moves = moves " " $i; plies++
            for (r = 1; r <= 3; r++) {
                result = r == 1 ? "1-0" : (r == 2 ? "0-1" : "1/2-1/2")
                printf "[Event \"prefix %d\"]\n[Result \"%s\"]\n\n%s %s\n\n", plies, result, substr(moves, 2), result
            }
        }
    }' "$work/all.pgn" > "$output"
echo "$(grep -c '^\[Result ' "$output") games in $output"
