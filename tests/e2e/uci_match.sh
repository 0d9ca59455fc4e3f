#!/usr/bin/env bash
# A UCI match under fastchess, the strict tournament manager: Velkor against a UCI engine.
#   uci_match.sh VELKOR FASTCHESS GAMES TC PONDER OPPONENT [OPPONENT_ARGS]
# e.g. uci_match.sh build/velkor ../shared/tools/fastchess 50 10+0.1 false /usr/games/gnuchess --uci
# PONDER true lets both engines ponder; it needs a fastchess with the engine key ponder (the
# build in ../shared/tools has none, so soak.sh ponders under xboard through polyglot).
# Openings: tests/e2e/openings.epd, in random order, each played with both colours. Fails on any
# time loss, illegal move, stall, disconnect or warning about a pv or bestmove; prints the score
# and the PGN's endings. VELKOR_OPTIONS and OPPONENT_OPTIONS pass UCI options to either engine, e.g.
# VELKOR_OPTIONS="Threads=2" OPPONENT_OPTIONS="UCI_LimitStrength=true UCI_Elo=2000".
set -u
here=$(dirname "$(readlink -f "$0")")
velkor=$(readlink -f "$1") fastchess=$(readlink -f "$2") games=$3 tc=$4 ponder=$5 opponent=$6
shift 6
opponentArgs="$*"
work=$(mktemp -d /tmp/velkor-uci-match-XXXXXX)
mkdir -p "$work/play"
cp "$here/../../play/Velkor.book" "$work/play/"
velkorOptions=()
for option in ${VELKOR_OPTIONS:-}; do velkorOptions+=("option.$option"); done
ponderKey=()
[ "$ponder" = true ] && ponderKey=(ponder)
opponentEngine=(cmd="$opponent" name="$(basename "$opponent")")
[ -n "$opponentArgs" ] && opponentEngine+=(args="$opponentArgs")
for option in ${OPPONENT_OPTIONS:-}; do opponentEngine+=("option.$option"); done
( cd "$work" && "$fastchess" -engine cmd="$velkor" name=velkor dir="$work/play" "${velkorOptions[@]}" "${ponderKey[@]}" \
    -engine "${opponentEngine[@]}" "${ponderKey[@]}" \
    -each tc="$tc" -rounds $(( (games + 1) / 2 )) -repeat \
    -openings file="$here/openings.epd" format=epd order=random \
    -pgnout file="$work/match.pgn" -log file="$work/match.log" level=warn -recover > "$work/fastchess.out" 2>&1 )
status=$?
echo "uci match: $games games $tc ponder=$ponder against $(basename "$opponent"), work in $work"
grep -E "Score of|Results of|Elo:|Games:" "$work/fastchess.out" | tail -4
endings=$(grep -o '{[^}]*}' "$work/match.pgn" | grep -iE 'time|illegal|disconnect|stall|crash' | sort | uniq -c)
# Velkor's own warnings only: Stockfish's limited levels play moves their pv does not start with.
warnings=$(grep -iE 'warn.*(pv|bestmove)|illegal pv|not the first' "$work/match.log" 2>/dev/null | grep -ci 'from velkor' || true)
velkorFailures=$(echo "$endings" | grep -ciE 'velkor (loses on time|illegal|disconnects|stalls)|(illegal|time|disconnect|stall).*velkor' || true)
echo "endings to look at:"; echo "${endings:-  none}"
echo "pv or bestmove warnings: $warnings"
[ "$status" -eq 0 ] && [ "$velkorFailures" -eq 0 ] && [ "$warnings" -eq 0 ]
